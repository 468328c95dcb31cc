#include "RecorderModel.h"

#include <AppPalette.h>
#include <LaneRunModel.h>
#include <RecorderListener.h>
#include <SimulatorLaunch.h>
#include <StepResolver.h>
#include <Uuid.h>

#include <QDir>
#include <QSet>

#include <algorithm>
#include <cmath>

RecorderModel::RecorderModel(const XcodeProject &project, BuildConfiguration configuration,
                             const QMap<QString, QString> &launchEnvironment, const QStringList &launchArguments,
                             std::optional<PlanLocation> initialLocation, std::function<void(const Shot &)> onSave,
                             QObject *parent)
    : QObject(parent)
    , m_project(project)
    , m_configuration(configuration)
    , m_launchEnvironment(launchEnvironment)
    , m_launchArguments(launchArguments)
    , m_initialLocation(initialLocation)
    , m_onSave(std::move(onSave))
    , m_listener(new RecorderListener(this))
    , m_resolver(new StepResolver(this))
{
    connect(m_listener, &RecorderListener::statusChanged, this, &RecorderModel::statusChanged);
    connect(m_listener, &RecorderListener::isConnectedChanged, this, &RecorderModel::onConnectionChanged);
    connect(m_listener, &RecorderListener::eventsChanged, this, &RecorderModel::scheduleConsume);
    connect(m_resolver, &StepResolver::statusChanged, this, &RecorderModel::resolverStatusChanged);
}

RecorderModel::~RecorderModel()
{
    // A launch still shown must not outlive the sheet; dropped ones end with their children.
    if (m_launchRun)
        m_launchRun->cancel();
}

// --- fields ------------------------------------------------------------------------------

void RecorderModel::setStep(const QUuid &itemID, const ShotStep &step)
{
    for (ShotStepItem &item : m_steps) {
        if (item.id == itemID) {
            if (item.step == step)
                return;
            item.step = step;
            Q_EMIT stepsChanged();
            return;
        }
    }
}

std::optional<ShotStep> RecorderModel::step(const QUuid &itemID) const
{
    for (const ShotStepItem &item : m_steps) {
        if (item.id == itemID)
            return item.step;
    }
    return std::nullopt;
}

void RecorderModel::setLocation(std::optional<PlanLocation> location)
{
    if (m_location == location)
        return;
    m_location = location;
    Q_EMIT locationChanged();
}

void RecorderModel::setShotName(const QString &name)
{
    if (m_shotName == name)
        return;
    m_shotName = name;
    Q_EMIT shotNameChanged();
}

void RecorderModel::setStabilize(bool stabilize)
{
    if (m_stabilize == stabilize)
        return;
    m_stabilize = stabilize;
    Q_EMIT stabilizeChanged();
}

void RecorderModel::setShowLaunchLog(bool show)
{
    if (m_showLaunchLog == show)
        return;
    m_showLaunchLog = show;
    Q_EMIT showLaunchLogChanged();
}

// --- lifecycle ---------------------------------------------------------------------------

void RecorderModel::startListening()
{
    m_dismissed = false;
    m_listener->start();
    if (!m_location)
        setLocation(m_initialLocation);
}

void RecorderModel::stopListening()
{
    // A save still waiting for the resolver is abandoned: the sheet closed without saving.
    m_dismissed = true;
    m_listener->stop();
    if (m_launchRun)
        m_launchRun->cancel();
}

void RecorderModel::onConnectionChanged(bool connected)
{
    if (connected) {
        // The app is up: the run has done its job and leaves the view, still running.
        dropLaunchRun(false);
        setShowLaunchLog(false);
    }
    Q_EMIT statusChanged();
}

// --- events into steps -------------------------------------------------------------------

void RecorderModel::scheduleConsume()
{
    // The listener reports each event of a packet on its own; one reaction takes them all.
    if (m_consumeScheduled)
        return;
    m_consumeScheduled = true;
    QMetaObject::invokeMethod(this, [this] {
        m_consumeScheduled = false;
        consumeEvents();
    }, Qt::QueuedConnection);
}

void RecorderModel::consumeEvents()
{
    const qsizetype count = m_listener->eventCount();
    if (m_consumed >= count)
        return;
    if (!m_isRecording) {
        skipPendingEvents();
        return;
    }
    bool changed = false;
    // The listener keeps only the events not yet consumed; the first of them has the number
    // consumedCount() among all events.
    const QList<RecorderTapEvent> &pending = m_listener->pendingEvents();
    const qsizetype first = m_listener->consumedCount();
    for (qsizetype index = std::max(m_consumed, first); index < count; ++index) {
        const RecorderTapEvent &event = pending.at(index - first);
        if (m_lastEventAt) {
            const double gap = double(m_lastEventAt->msecsTo(event.receivedAt)) / 1000.0;
            if (gap > waitThreshold)
                m_steps.append(ShotStepItem::make(ShotStep::wait(std::round(gap * 10.0) / 10.0)));
        }
        m_steps.append(ShotStepItem::make(ShotStep::tap(event.identifier, event.label, NormPoint{event.nx, event.ny})));
        m_lastEventAt = event.receivedAt;
        changed = true;
    }
    skipPendingEvents();
    if (changed)
        Q_EMIT stepsChanged();
}

void RecorderModel::skipPendingEvents()
{
    m_consumed = m_listener->eventCount();
    m_listener->releaseEventsBefore(m_consumed);
}

void RecorderModel::togglePause()
{
    m_isRecording = !m_isRecording;
    if (m_isRecording) {
        skipPendingEvents();
        m_lastEventAt.reset();
    }
    Q_EMIT statusChanged();
}

void RecorderModel::clearSteps()
{
    skipPendingEvents();
    m_lastEventAt.reset();
    if (m_steps.isEmpty())
        return;
    m_steps.clear();
    Q_EMIT stepsChanged();
}

void RecorderModel::appendItem(const ShotStep &step)
{
    StepListEditing::append(m_steps, step);
    Q_EMIT stepsChanged();
}

void RecorderModel::addStep(ShotStep::Kind kind)
{
    appendItem(StepListEditing::newStep(kind));
}

void RecorderModel::insertWait(const QUuid &itemID, StepListEditing::WaitPlacement placement)
{
    if (const auto id = StepListEditing::insertWait(m_steps, itemID, placement)) {
        Q_EMIT stepsChanged();
        Q_EMIT stepInserted(*id);
    }
}

void RecorderModel::moveSteps(const QList<int> &sourceRows, int destinationRow)
{
    QList<int> rows;
    for (int row : sourceRows) {
        if (row >= 0 && row < m_steps.size() && !rows.contains(row))
            rows.append(row);
    }
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    destinationRow = std::clamp(destinationRow, 0, int(m_steps.size()));

    QList<ShotStepItem> moved;
    int before = 0;
    for (int row : rows) {
        moved.append(m_steps.at(row));
        if (row < destinationRow)
            ++before;
    }
    QList<ShotStepItem> rest;
    for (int row = 0; row < m_steps.size(); ++row) {
        if (!rows.contains(row))
            rest.append(m_steps.at(row));
    }
    const int insertAt = destinationRow - before;
    for (int i = 0; i < moved.size(); ++i)
        rest.insert(insertAt + i, moved.at(i));
    if (rest == m_steps)
        return;
    m_steps = rest;
    Q_EMIT stepsChanged();
}

void RecorderModel::deleteSteps(const QList<int> &rows)
{
    QList<int> sorted;
    for (int row : rows) {
        if (row >= 0 && row < m_steps.size() && !sorted.contains(row))
            sorted.append(row);
    }
    if (sorted.isEmpty())
        return;
    std::sort(sorted.begin(), sorted.end(), std::greater<int>());
    for (int row : sorted)
        m_steps.removeAt(row);
    Q_EMIT stepsChanged();
}

// --- status ------------------------------------------------------------------------------

QString RecorderModel::statusText() const
{
    const RecorderListener::Status status = m_listener->status();
    switch (status.kind) {
    case RecorderListener::Status::Kind::Idle:
        return QStringLiteral("Listener startet…");
    case RecorderListener::Status::Kind::Failed:
        return QStringLiteral("Listener-Fehler: ") + status.message;
    case RecorderListener::Status::Kind::Listening:
        break;
    }
    if (!m_listener->isConnected())
        return QStringLiteral("Warte auf die App — klick oben auf App mit Recorder starten");
    return m_isRecording ? QStringLiteral("Nimmt auf — jeder Tap im Simulator wird als Schritt gespeichert")
                         : QStringLiteral("Angehalten — Taps im Simulator werden ignoriert");
}

RecorderModel::StatusIcon RecorderModel::statusIcon() const
{
    if (m_listener->isConnected()) {
        if (m_isRecording)
            return {QStringLiteral("record.circle.fill"), AppPalette::destructive(), true};
        return {QStringLiteral("pause.circle.fill"), AppPalette::warning(), false};
    }
    switch (m_listener->status().kind) {
    case RecorderListener::Status::Kind::Listening:
        return {QStringLiteral("dot.radiowaves.left.and.right"), AppPalette::secondaryText(), false};
    case RecorderListener::Status::Kind::Idle:
        return {QStringLiteral("circle.dashed"), AppPalette::secondaryText(), false};
    case RecorderListener::Status::Kind::Failed:
        break;
    }
    return {QStringLiteral("exclamationmark.triangle.fill"), AppPalette::destructive(), false};
}

QString RecorderModel::launchTitle() const
{
    return m_launchRun ? launchTitle(*m_launchRun) : QString();
}

QString RecorderModel::launchTitle(const LaneRunModel &run)
{
    if (run.isRunning())
        return QStringLiteral("App wird gebaut und im Simulator gestartet…");
    const std::optional<int> code = run.progress().exitCode;
    if (code && *code == 0)
        return QStringLiteral("App gestartet — warte auf Verbindung…");
    if (code)
        return QStringLiteral("Start fehlgeschlagen (Code %1)").arg(*code);
    return QStringLiteral("Start fehlgeschlagen");
}

// --- launching ---------------------------------------------------------------------------

QString RecorderModel::launchRunTitle() const
{
    return QStringLiteral("Recorder: ") + m_project.name;
}

QString RecorderModel::launchedBundleIdentifier() const
{
    return SimulatorLaunch::appToLaunch(m_project, m_configuration).bundleIdentifier;
}

bool RecorderModel::canStartApp() const
{
    return m_project.xcodeprojPath.has_value() && m_project.bundleIdentifier.has_value();
}

void RecorderModel::startAppWithRecorder()
{
    if (!canStartApp())
        return;

    // Taps from before this launch never become steps; the first new one gets no wait.
    const bool wasRecording = m_isRecording;
    m_isRecording = true;
    m_lastEventAt.reset();
    skipPendingEvents();
    if (!wasRecording)
        Q_EMIT statusChanged();

    if (m_launchRun)
        m_launchRun->cancel();

    const SimulatorLaunch::AppToLaunch app = SimulatorLaunch::appToLaunch(m_project, m_configuration);
    const SimPlatform platform = app.target ? app.target->platform : SimPlatform::iOS;

    // Without fresh sources the script builds from whatever lies there, or fails visibly.
    (void)SimulatorLaunch::installRecorderTemplate();

    SimulatorLaunch::RecorderSettings recorder;
    recorder.sourcesDirectory = SimulatorLaunch::recorderDirectory();
    recorder.libraryPath = QDir(recorder.sourcesDirectory).filePath(QStringLiteral("libVeloranceRecorder.dylib"));
    recorder.port = m_listener->boundPort().value_or(defaultPort);
    recorder.targetTriple = QStringLiteral("arm64-apple-ios15.0-simulator");

    std::optional<SimulatorLaunch::Location> location;
    if (m_location)
        location = SimulatorLaunch::Location{m_location->latitude, m_location->longitude};

    const QString script = SimulatorLaunch::makeScript(*m_project.xcodeprojPath, app.scheme, app.bundleIdentifier, platform,
                                                       m_configuration, m_launchEnvironment, m_launchArguments, location,
                                                       recorder, m_project.workspacePath, app.configuration);

    const QString title = launchRunTitle();
    auto *run = new LaneRunModel(title, script, m_project.url, this);
    run->setExpectedBuildSteps(BuildStepMemory::expected(title));
    const QPointer<LaneRunModel> weakRun(run);
    run->onFinish = [weakRun, title](int exitCode) {
        if (!weakRun)
            return;
        BuildStepMemory::remember(title, exitCode, weakRun->progress().buildSteps);
    };

    // The previous run (already cancelled) leaves the view.
    dropLaunchRun(false);

    connect(run, &LaneRunModel::isRunningChanged, this, [this, run] {
        if (run == m_launchRun)
            Q_EMIT launchProgressChanged();
    });
    connect(run, &LaneRunModel::progressChanged, this, [this, run] {
        if (run == m_launchRun)
            Q_EMIT launchProgressChanged();
    });
    connect(run, &LaneRunModel::finished, this, [this, run] {
        if (run == m_launchRun)
            Q_EMIT launchProgressChanged();
        else
            run->deleteLater();
    });

    run->start();
    m_launchRun = run;
    setShowLaunchLog(false);
    Q_EMIT launchRunChanged();
}

void RecorderModel::dropLaunchRun(bool cancel)
{
    LaneRunModel *run = m_launchRun;
    if (!run)
        return;
    m_launchRun = nullptr;
    if (cancel)
        run->cancel();
    // A run that still works (the app is launching) ends on its own and is deleted then.
    if (!run->isRunning())
        run->deleteLater();
    Q_EMIT launchRunChanged();
}

void RecorderModel::cancelLaunch()
{
    dropLaunchRun(true);
}

void RecorderModel::hideLaunch()
{
    dropLaunchRun(false);
}

// --- saving ------------------------------------------------------------------------------

QString RecorderModel::effectiveShotName(const QString &field)
{
    return field.isEmpty() ? QStringLiteral("shot") : field;
}

bool RecorderModel::canSave() const
{
    return !m_steps.isEmpty() && !m_resolver->isRunning() && !m_saved;
}

void RecorderModel::save()
{
    if (!canSave())
        return;
    if (m_isRecording) {
        m_isRecording = false;
        Q_EMIT statusChanged();
    }
    if (m_stabilize && m_project.bundleIdentifier) {
        const QPointer<RecorderModel> self(this);
        m_resolver->resolve(m_steps, launchedBundleIdentifier(),
                            [self](std::optional<QList<ShotStepItem>> resolved) {
                                if (!self)
                                    return;
                                self->finishSave(resolved.value_or(self->m_steps));
                            });
        return;
    }
    finishSave(m_steps);
}

void RecorderModel::finishSave(const QList<ShotStepItem> &steps)
{
    if (m_saved || m_dismissed)
        return;
    m_saved = true;
    Shot shot;
    shot.id = Uuid::make();
    shot.name = effectiveShotName(m_shotName);
    shot.steps = steps;
    shot.location = m_location;
    if (m_onSave)
        m_onSave(shot);
    Q_EMIT finished();
}
