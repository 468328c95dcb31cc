#include "DriverSession.h"

#include "RunnerProject.h"

#include <AppPaths.h>
#include <ChildProcessRun.h>
#include <ShellQuote.h>

#include <QFile>
#include <QSaveFile>

namespace {
const QString searchPathPrefix = QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin:");

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
} // namespace

DriverSession::DriverSession(QObject *parent)
    : QObject(parent)
    , m_workFolder(AppPaths::workFolder(QStringLiteral("SimDriver")))
{
    m_poll.setInterval(200);
    connect(&m_poll, &QTimer::timeout, this, &DriverSession::poll);
}

DriverSession::~DriverSession()
{
    stop();
}

QString DriverSession::projectFolder() const
{
    return m_workFolder + QStringLiteral("/project");
}

QString DriverSession::derivedDataFolder() const
{
    return m_workFolder + QStringLiteral("/dd");
}

QString DriverSession::logPath() const
{
    return m_workFolder + QStringLiteral("/driver.log");
}

QString DriverSession::searchPath(const QString &inherited)
{
    return inherited.isEmpty() ? searchPathPrefix.chopped(1) : searchPathPrefix + inherited;
}

void DriverSession::start(const QString &deviceID, const QString &bundleID)
{
    if (m_stage != Stage::Idle)
        return;
    m_stage = Stage::Starting;
    m_clock.start();
    if (const ::Status written = RunnerProject::writeDriver(projectFolder()); !written) {
        QTimer::singleShot(0, this, &DriverSession::fail);
        return;
    }
    // A log of an earlier driver would name its Documents folder before this one starts.
    QFile::remove(logPath());

    const auto q = ShellQuote::quote;
    const QString project = RunnerProject::projectPath(projectFolder(), QString::fromUtf16(RunnerProject::driverProjectName));
    // The search path is set inside the script as well: a login shell's profile may reset it.
    const QString script = QStringLiteral("PATH=%1; export PATH\n"
                                          "exec xcodebuild test -project %2 -scheme %3 -destination %4 "
                                          "-derivedDataPath %5 > %6 2>&1\n")
                               .arg(q(searchPath(qEnvironmentVariable("PATH"))), q(project),
                                    q(QString::fromUtf16(RunnerProject::driverScheme)),
                                    q(QStringLiteral("platform=iOS Simulator,id=") + deviceID),
                                    q(derivedDataFolder()), q(logPath()));
    m_process = std::make_unique<ChildProcessRun>();
    m_process->setExtraEnvironment({{QStringLiteral("TEST_RUNNER_UIDUMP_BUNDLE_ID"), bundleID}});
    connect(m_process.get(), &ChildProcessRun::finished, this, [this](int) {
        if (m_stage == Stage::Ended)
            return;
        if (m_stage == Stage::Ready) {
            // The answer to the last command (STOP) may land just before the process ends.
            if (m_pending)
                pollState();
            if (!m_pending) {
                stop();
                return;
            }
        }
        fail();
    });
    m_process->start(script, m_workFolder);
    m_poll.start();
}

void DriverSession::send(const QString &verb, const QString &argument, StateHandler handler)
{
    if (m_stage != Stage::Ready || m_pending) {
        QTimer::singleShot(0, this, [handler = std::move(handler)] { handler(std::nullopt); });
        return;
    }
    ++m_sequence;
    // One command is one line: a line break inside the argument would split it.
    QString flat = argument;
    flat.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString line = QStringLiteral("%1|%2|%3\n").arg(m_sequence).arg(verb, flat);
    QSaveFile file(m_documentsPath + QStringLiteral("/cmd.txt"));
    if (!file.open(QIODevice::WriteOnly) || file.write(line.toUtf8()) < 0 || !file.commit()) {
        QTimer::singleShot(0, this, [handler = std::move(handler)] { handler(std::nullopt); });
        return;
    }
    m_pending = std::move(handler);
    m_clock.restart();
}

void DriverSession::stop()
{
    m_poll.stop();
    m_stage = Stage::Ended;
    if (m_process) {
        ChildProcessRun *process = m_process.release();
        process->disconnect(this);
        process->cancel();
        process->deleteLater();
    }
    m_pending = nullptr;
}

void DriverSession::fail()
{
    stop();
    Q_EMIT failed();
}

void DriverSession::poll()
{
    if (m_stage == Stage::Starting)
        pollReady();
    else if (m_stage == Stage::Ready && m_pending)
        pollState();
}

void DriverSession::pollReady()
{
    if (m_documentsPath.isEmpty()) {
        const QString log = readText(logPath());
        const qsizetype at = log.indexOf(QStringLiteral("VRS-DOCS "));
        const qsizetype end = at < 0 ? -1 : log.indexOf(u'\n', at);
        if (end > at)
            m_documentsPath = log.mid(at + 9, end - at - 9).trimmed();
    }
    if (!m_documentsPath.isEmpty() && QFile::exists(m_documentsPath + QStringLiteral("/ready.txt"))) {
        m_stage = Stage::Ready;
        Q_EMIT ready();
        return;
    }
    if (m_clock.elapsed() > m_readyTimeoutMs)
        fail();
}

void DriverSession::pollState()
{
    const QString state = readText(m_documentsPath + QStringLiteral("/state.txt"));
    const qsizetype lineEnd = state.indexOf(u'\n');
    const QStringView first = QStringView(state).first(lineEnd < 0 ? state.size() : lineEnd).trimmed();
    if (first == QStringLiteral("SEQ %1").arg(m_sequence)) {
        StateHandler handler = std::move(m_pending);
        m_pending = nullptr;
        handler(lineEnd < 0 ? QString() : state.mid(lineEnd + 1));
        return;
    }
    if (m_clock.elapsed() > m_commandTimeoutMs) {
        StateHandler handler = std::move(m_pending);
        m_pending = nullptr;
        handler(std::nullopt);
    }
}
