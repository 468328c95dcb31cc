#pragma once

#include <BuildConfiguration.h>
#include <LaneRunProgress.h>
#include <SimulatorLaunch.h>
#include <ScreenshotPlan.h>
#include <XcodeProject.h>

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class ChildProcessRun;

// The state of one language × shot of a screenshot run; cases in this order.
enum class RunNodeState { Pending, Running, Done, Failed };

struct ShotNode
{
    QString language;
    QString shot;       // the shot's name
    RunNodeState state = RunNodeState::Pending;
    bool operator==(const ShotNode &) const = default;
};

// One screenshot run of a project: writes the generated runner project, builds and launches
// the app and the runner in the simulator, follows the runner's console markers per language
// and shot, and imports the screenshots into the project's fastlane folder.
class ScreenshotRunSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScreenshotRunSession)

public:
    struct Phase
    {
        enum class Kind { Idle, Running, Done, Failed };
        Kind kind = Kind::Idle;
        QString message;    // only for Failed
        bool operator==(const Phase &) const = default;

        static Phase idle() { return {}; }
        static Phase running() { return {Kind::Running, {}}; }
        static Phase done() { return {Kind::Done, {}}; }
        static Phase failed(const QString &message) { return {Kind::Failed, message}; }
    };

    static constexpr char16_t updatedNotification[] = u"veloranceScreenshotsUpdated";

    ScreenshotRunSession(const XcodeProject &project, const ScreenshotPlan &plan,
                         BuildConfiguration configuration, QObject *parent = nullptr);
    ~ScreenshotRunSession() override;

    const Phase &phase() const { return m_phase; }
    const QList<ShotNode> &nodes() const { return m_nodes; }
    // The run's trimmed console lines, at most the last 400.
    const QStringList &recentLines() const { return m_progress.recentLines; }
    int importedCount() const { return m_importedCount; }
    int doneCount() const;
    double progress() const;
    const XcodeProject &project() const { return m_project; }
    const ScreenshotPlan &plan() const { return m_plan; }
    BuildConfiguration configuration() const { return m_configuration; }

    // "<work>/ScreenshotRun", with the runner project in "project" and derived data in "dd".
    QString workFolder() const { return m_workFolder; }
    QString projectFolder() const;
    QString derivedDataFolder() const;
    // "Screenshots: " + project name, the key of the build-step memory.
    QString runTitle() const;

    // Does nothing while running. Node states and lines of an earlier attempt stay.
    void start();
    // Ends the run; while running, running nodes fail and the phase fails with "Abgebrochen.".
    void cancel();

Q_SIGNALS:
    void phaseChanged();
    void nodesChanged();
    // Coalesced: at most once per event-loop pass.
    void recentLinesChanged();
    void importedCountChanged();

private:
    // The launch script with the runner's `xcodebuild test` appended.
    QString script(const SimulatorLaunch::AppToLaunch &app) const;
    void dropRun();
    void setPhase(const Phase &phase);
    void setNodeState(int languageIndex, int shotIndex, RunNodeState state);
    void takeLines(const QStringList &lines);
    void followMarker(const QString &line);
    void finish(int exitCode);
    int importScreenshots();
    int languageIndexAtStart(QStringView text, qsizetype *length) const;
    void scheduleLinesSignal();

    XcodeProject m_project;
    ScreenshotPlan m_plan;
    BuildConfiguration m_configuration;
    QString m_workFolder;
    Phase m_phase;
    QList<ShotNode> m_nodes;
    LaneRunProgress m_progress;
    int m_importedCount = 0;
    QString m_documentsPath;
    QSet<int> m_captured;       // node indices captured in this attempt
    std::unique_ptr<ChildProcessRun> m_run;
    bool m_linesSignalPending = false;
};
