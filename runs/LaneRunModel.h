#pragma once

#include "LaneRunProgress.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class ChildProcessRun;

// One observable child-process run: a fastlane lane or a shell command.
class LaneRunModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaneRunModel)

public:
    // A shell-command run ("/bin/sh -lc <command>") in the working directory.
    LaneRunModel(const QString &title, const QString &shellCommand, const QString &workingDirectory,
                 QObject *parent = nullptr);
    ~LaneRunModel() override;

    QUuid id() const { return m_id; }
    QString title() const { return m_title; }
    QString shellCommand() const { return m_shellCommand; }
    QString workingDirectory() const { return m_workingDirectory; }
    QMap<QString, QString> extraEnvironment() const { return m_extraEnvironment; }
    void setExtraEnvironment(const QMap<QString, QString> &environment) { m_extraEnvironment = environment; }

    bool isRunning() const { return m_isRunning; }
    bool hasTask() const;
    const LaneRunProgress &progress() const { return m_progress; }
    void setExpectedBuildSteps(std::optional<int> expected);

    // Called once with the exit code after the run ended (not after cancel).
    std::function<void(int)> onFinish;

    // Does nothing while running or when a task exists.
    void start();
    // Ends the child process and everything it started; progress stays as it is.
    void cancel();

Q_SIGNALS:
    void isRunningChanged(bool running);
    // The progress changed (lines, steps, exit code). Coalesced: at most once per event-loop pass and
    // about once per frame (16 ms) while lines pour in.
    void progressChanged();
    void finished(int exitCode);

private:
    void setRunning(bool running);
    void scheduleProgressChanged();

    QUuid m_id;
    QString m_title;
    QString m_shellCommand;
    QString m_workingDirectory;
    QMap<QString, QString> m_extraEnvironment;
    bool m_isRunning = false;
    bool m_progressChangePending = false;
    LaneRunProgress m_progress;
    std::unique_ptr<ChildProcessRun> m_task;
};

// The build-step memory under "buildSteps." + run title in the user defaults.
namespace BuildStepMemory {
QString key(const QString &runTitle);
// The stored count when it is at least 1.
std::optional<int> expected(const QString &runTitle);
// Stores the count after exit code 0 with at least one step; otherwise does nothing.
void remember(const QString &runTitle, int exitCode, int buildSteps);
}
