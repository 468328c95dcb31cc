#include "LaneRunModel.h"

#include "ChildProcessRun.h"

#include <UserDefaults.h>

#include <QTimer>

#include <limits>

namespace {
constexpr int progressInterval = 16; // ms, one frame
}

LaneRunModel::LaneRunModel(const QString &title, const QString &shellCommand, const QString &workingDirectory,
                           QObject *parent)
    : QObject(parent)
    , m_id(QUuid::createUuid())
    , m_title(title)
    , m_shellCommand(shellCommand)
    , m_workingDirectory(workingDirectory)
{
}

LaneRunModel::~LaneRunModel() = default;

bool LaneRunModel::hasTask() const
{
    return m_task != nullptr;
}

void LaneRunModel::setExpectedBuildSteps(std::optional<int> expected)
{
    if (m_progress.expectedBuildSteps == expected)
        return;
    m_progress.expectedBuildSteps = expected;
    Q_EMIT progressChanged();
}

void LaneRunModel::start()
{
    if (m_isRunning || m_task)
        return;
    m_task = std::make_unique<ChildProcessRun>();
    m_task->setExtraEnvironment(m_extraEnvironment);
    ChildProcessRun *task = m_task.get();

    connect(task, &ChildProcessRun::linesReady, this, [this](const QStringList &lines) {
        for (const QString &line : lines)
            m_progress.ingest(line);
        scheduleProgressChanged();
    });
    connect(task, &ChildProcessRun::finished, this, [this](int exitCode) {
        // Observers may drop the run from any of these notifications.
        const QPointer<LaneRunModel> self(this);
        m_progress.finish(exitCode);
        m_progressChangePending = false;
        Q_EMIT progressChanged();
        if (self)
            setRunning(false);
        if (self)
            Q_EMIT finished(exitCode);
        if (self && onFinish) {
            const auto callback = onFinish;
            callback(exitCode);
        }
    });

    setRunning(true);
    task->start(m_shellCommand, m_workingDirectory);
}

void LaneRunModel::cancel()
{
    if (m_task) {
        m_task->disconnect(this);
        m_task->cancel();
        m_task.reset();
    }
    setRunning(false);
}

void LaneRunModel::scheduleProgressChanged()
{
    // A flood of output lines becomes at most one notification per frame, so observers
    // repaint at screen rate rather than per line.
    if (m_progressChangePending)
        return;
    m_progressChangePending = true;
    QTimer::singleShot(progressInterval, Qt::PreciseTimer, this, [this] {
        if (!m_progressChangePending)
            return;
        m_progressChangePending = false;
        Q_EMIT progressChanged();
    });
}

void LaneRunModel::setRunning(bool running)
{
    if (m_isRunning == running)
        return;
    m_isRunning = running;
    Q_EMIT isRunningChanged(running);
}

namespace BuildStepMemory {

QString key(const QString &runTitle)
{
    return QStringLiteral("buildSteps.") + runTitle;
}

std::optional<int> expected(const QString &runTitle)
{
    const std::optional<qint64> stored = UserDefaults::standard().integer(key(runTitle));
    if (!stored || *stored < 1 || *stored > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*stored);
}

void remember(const QString &runTitle, int exitCode, int buildSteps)
{
    if (exitCode != 0 || buildSteps < 1)
        return;
    UserDefaults::standard().setValue(key(runTitle), buildSteps);
}

} // namespace BuildStepMemory
