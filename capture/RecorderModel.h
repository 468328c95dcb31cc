#pragma once

#include <BuildConfiguration.h>
#include <LaneRunModel.h>
#include <ScreenshotPlan.h>
#include <ShotStep.h>
#include <StepListEditing.h>
#include <XcodeProject.h>

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class RecorderListener;
class StepResolver;

// The live recorder's state and actions, without widgets: it listens for the recorder
// library's taps, turns them into steps (with waits for long pauses), launches the app with
// the library injected, and hands the finished shot to its owner.
class RecorderModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecorderModel)

public:
    // A pause between two taps longer than this becomes a wait step.
    static constexpr double waitThreshold = 5.0;
    // Used when the listener has no bound port yet.
    static constexpr quint16 defaultPort = 52673;

    struct StatusIcon
    {
        QString symbol;
        QColor color;
        bool pulsing = false;
        bool operator==(const StatusIcon &) const = default;
    };

    RecorderModel(const XcodeProject &project, BuildConfiguration configuration,
                  const QMap<QString, QString> &launchEnvironment, const QStringList &launchArguments,
                  std::optional<PlanLocation> initialLocation, std::function<void(const Shot &)> onSave,
                  QObject *parent = nullptr);
    ~RecorderModel() override;

    const XcodeProject &project() const { return m_project; }
    BuildConfiguration configuration() const { return m_configuration; }
    const QMap<QString, QString> &launchEnvironment() const { return m_launchEnvironment; }
    const QStringList &launchArguments() const { return m_launchArguments; }
    std::optional<PlanLocation> initialLocation() const { return m_initialLocation; }
    // The identifier of the app the launch starts: the one of the configuration built, which
    // may differ from the project's own (the Release one).
    QString launchedBundleIdentifier() const;

    RecorderListener *listener() const { return m_listener; }
    StepResolver *resolver() const { return m_resolver; }

    const QList<ShotStepItem> &steps() const { return m_steps; }
    // Replaces the step of the item with the identifier (the rows' binding writes here).
    void setStep(const QUuid &itemID, const ShotStep &step);
    std::optional<ShotStep> step(const QUuid &itemID) const;

    std::optional<PlanLocation> location() const { return m_location; }
    void setLocation(std::optional<PlanLocation> location);
    QString shotName() const { return m_shotName; }
    void setShotName(const QString &name);
    bool stabilize() const { return m_stabilize; }
    void setStabilize(bool stabilize);
    bool isRecording() const { return m_isRecording; }
    qsizetype consumed() const { return m_consumed; }
    std::optional<QDateTime> lastEventAt() const { return m_lastEventAt; }

    LaneRunModel *launchRun() const { return m_launchRun; }
    bool showLaunchLog() const { return m_showLaunchLog; }
    void setShowLaunchLog(bool show);

    // Appearing and disappearing of the sheet.
    void startListening();
    void stopListening();

    // Turns the listener's new events into steps (see the wait rule on waitThreshold).
    void consumeEvents();
    void togglePause();
    void clearSteps();
    void addStep(ShotStep::Kind kind);
    void insertWait(const QUuid &itemID, StepListEditing::WaitPlacement placement);
    // Moves the rows at the source offsets so they stand before the row at `destinationRow`
    // of the list as it was (the list's size moves them to the end).
    void moveSteps(const QList<int> &sourceRows, int destinationRow);
    void deleteSteps(const QList<int> &rows);

    QString statusText() const;
    StatusIcon statusIcon() const;
    // Empty while there is no launch run.
    QString launchTitle() const;
    static QString launchTitle(const LaneRunModel &run);

    bool canStartApp() const;
    void startAppWithRecorder();
    // "Abbrechen": cancels the run and drops it from view.
    void cancelLaunch();
    // "Ausblenden": drops the finished run from view.
    void hideLaunch();

    bool canSave() const;
    void save();
    // The shot name rule: the field as typed when not empty, else "shot".
    static QString effectiveShotName(const QString &field);

    // The key under which the launch's build-step count is remembered.
    QString launchRunTitle() const;

Q_SIGNALS:
    void stepsChanged();
    // A wait was inserted between rows (the list animates its appearance).
    void stepInserted(const QUuid &itemID);
    // Listener status, connection or recording state changed: status text and icon.
    void statusChanged();
    void locationChanged();
    void shotNameChanged();
    void stabilizeChanged();
    void launchRunChanged();
    // The shown run's running state or progress changed.
    void launchProgressChanged();
    void showLaunchLogChanged();
    void resolverStatusChanged();
    // The shot was handed over; the sheet should close.
    void finished();

private:
    void scheduleConsume();
    // Marks every event received so far as consumed.
    void skipPendingEvents();
    void onConnectionChanged(bool connected);
    // Drops the shown run from view; cancels it first when asked.
    void dropLaunchRun(bool cancel);
    void finishSave(const QList<ShotStepItem> &steps);
    void appendItem(const ShotStep &step);

    XcodeProject m_project;
    BuildConfiguration m_configuration;
    QMap<QString, QString> m_launchEnvironment;
    QStringList m_launchArguments;
    std::optional<PlanLocation> m_initialLocation;
    std::function<void(const Shot &)> m_onSave;

    RecorderListener *m_listener = nullptr;
    QList<ShotStepItem> m_steps;
    std::optional<PlanLocation> m_location;
    QString m_shotName = QStringLiteral("home");
    qsizetype m_consumed = 0;
    std::optional<QDateTime> m_lastEventAt;
    StepResolver *m_resolver = nullptr;
    bool m_stabilize = false;
    QPointer<LaneRunModel> m_launchRun;
    bool m_showLaunchLog = false;
    bool m_isRecording = true;

    bool m_consumeScheduled = false;
    bool m_saved = false;
    bool m_dismissed = false;
};
