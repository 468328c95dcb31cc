#pragma once

#include "LineSplitter.h"

#include <QMap>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QProcess;

// Runs one shell command as a child process: output and error merged and split into lines,
// the exit code at the end. The child gets a process group of its own, so cancelling ends
// everything it started.
class ChildProcessRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChildProcessRun)

public:
    static constexpr int failedToStartExitCode = 127;

    explicit ChildProcessRun(QObject *parent = nullptr);
    // Ends a child that still runs (and everything it started) as cancel() does; nothing is
    // reported.
    ~ChildProcessRun() override;

    // Default "/bin/sh"; tests point it at a shell that does not exist.
    void setShellPath(const QString &path) { m_shellPath = path; }
    void setExtraEnvironment(const QMap<QString, QString> &environment) { m_extraEnvironment = environment; }
    // How long the process group gets between SIGTERM and SIGKILL.
    void setCancelGraceMs(int ms) { m_cancelGraceMs = ms; }

    // Runs "<shell> -lc <command>" in the working directory. Call once.
    void start(const QString &shellCommand, const QString &workingDirectory);
    // Ends the child's process group (SIGTERM, then SIGKILL after the grace time, also when
    // the program quits before it is over); no further lines and no finish are reported.
    void cancel();
    bool isRunning() const;
    // The child's process id, which is also its process group id; 0 when not running.
    qint64 processId() const;

    // "/opt/homebrew/bin:/usr/local/bin:/usr/bin:/bin:" followed by the inherited search
    // path; without an inherited one the prefix ends without a colon (an empty entry would
    // search the working directory).
    static QString searchPath(const QString &inherited);
    // The inherited environment with the search path, the fastlane switches and `extra`.
    static QProcessEnvironment environment(const QMap<QString, QString> &extra);
    // The script handed to the shell: the search path set again (a login shell's profile may
    // overwrite it), then the command.
    static QString shellScript(const QString &command, const QString &searchPath);

Q_SIGNALS:
    // Complete output lines, in order, a batch per read.
    void linesReady(const QStringList &lines);
    void finished(int exitCode);

private:
    void readOutput();
    void endProcessGroup();

    QString m_shellPath = QStringLiteral("/bin/sh");
    QMap<QString, QString> m_extraEnvironment;
    int m_cancelGraceMs = 1500;
    QProcess *m_process = nullptr;
    qint64 m_group = 0;
    LineSplitter m_splitter;
    bool m_done = false;
};
