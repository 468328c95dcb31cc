#include "ChildProcessRun.h"

#include "ProcessGroupReaper.h"

#include <ShellQuote.h>
#include <SystemErrorText.h>

#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <signal.h>
#include <unistd.h>

namespace {
const QString searchPathPrefix = QStringLiteral("/opt/homebrew/bin:/usr/local/bin:/usr/bin:/bin:");

void signalGroup(qint64 group, int signal)
{
    if (group > 0)
        ::kill(-static_cast<pid_t>(group), signal);
}
} // namespace

ChildProcessRun::ChildProcessRun(QObject *parent)
    : QObject(parent)
{
}

ChildProcessRun::~ChildProcessRun()
{
    // A run is tracked only while it holds a process; ending the group untracks it.
    endProcessGroup();
}

QString ChildProcessRun::searchPath(const QString &inherited)
{
    if (inherited.isEmpty())
        return searchPathPrefix.chopped(1);
    return searchPathPrefix + inherited;
}

QProcessEnvironment ChildProcessRun::environment(const QMap<QString, QString> &extra)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), searchPath(environment.value(QStringLiteral("PATH"))));
    environment.insert(QStringLiteral("FASTLANE_SKIP_UPDATE_CHECK"), QStringLiteral("1"));
    environment.insert(QStringLiteral("FASTLANE_DISABLE_COLORS"), QStringLiteral("1"));
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        environment.insert(it.key(), it.value());
    return environment;
}

QString ChildProcessRun::shellScript(const QString &command, const QString &searchPath)
{
    return QStringLiteral("PATH=") + ShellQuote::quote(searchPath) + QStringLiteral("; export PATH\n") + command;
}

void ChildProcessRun::start(const QString &shellCommand, const QString &workingDirectory)
{
    if (m_process || m_done)
        return;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setWorkingDirectory(workingDirectory);
    const QProcessEnvironment environment = ChildProcessRun::environment(m_extraEnvironment);
    m_process->setProcessEnvironment(environment);
    // Its own session and process group: cancel can then reach every descendant at once.
    m_process->setChildProcessModifier([] { ::setsid(); });
    // Whatever still runs when the program quits is ended then.
    if (ProcessGroupReaper *reaper = ProcessGroupReaper::instance())
        reaper->track(this);

    connect(m_process, &QProcess::started, this, [this] { m_group = m_process->processId(); });
    connect(m_process, &QProcess::readyReadStandardOutput, this, &ChildProcessRun::readOutput);
    connect(m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus) {
        // The process object goes first: a listener may delete this run from any signal below.
        QProcess *process = m_process;
        m_process = nullptr;
        m_done = true;
        process->deleteLater();
        if (ProcessGroupReaper *reaper = ProcessGroupReaper::instance())
            reaper->untrack(this);
        const QPointer<ChildProcessRun> self(this);
        QStringList lines = m_splitter.feed(process->readAllStandardOutput());
        if (auto rest = m_splitter.flush())
            lines.append(*rest);
        if (!lines.isEmpty())
            Q_EMIT linesReady(lines);
        if (self)
            Q_EMIT finished(exitCode);
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || m_done)
            return;
        m_done = true;
        const QString reason = SystemErrorText::localized(m_process->errorString());
        m_process->deleteLater();
        m_process = nullptr;
        if (ProcessGroupReaper *reaper = ProcessGroupReaper::instance())
            reaper->untrack(this);
        // Reported from the event loop, like every other result of the run.
        QTimer::singleShot(0, this, [this, reason] {
            Q_EMIT linesReady({QStringLiteral("Konnte den Befehl nicht starten: ") + reason});
            Q_EMIT finished(failedToStartExitCode);
        });
    });

    const QString script = shellScript(shellCommand, environment.value(QStringLiteral("PATH")));
    m_process->start(m_shellPath, {QStringLiteral("-lc"), script});
}

void ChildProcessRun::readOutput()
{
    if (!m_process)
        return;
    const QByteArray chunk = m_process->readAllStandardOutput();
    if (chunk.isEmpty())
        return;
    const QStringList lines = m_splitter.feed(chunk);
    if (!lines.isEmpty())
        Q_EMIT linesReady(lines);
}

void ChildProcessRun::cancel()
{
    m_done = true;
    endProcessGroup();
}

void ChildProcessRun::endProcessGroup()
{
    if (!m_process)
        return;
    QProcess *process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    const qint64 group = m_group > 0 ? m_group : process->processId();
    signalGroup(group, SIGTERM);
    if (group <= 0)
        process->kill();
    ProcessGroupReaper *reaper = ProcessGroupReaper::instance();
    if (!reaper) {
        // Past the quit routine: nothing waits any more.
        signalGroup(group, SIGKILL);
        delete process;
        return;
    }
    reaper->untrack(this);
    // The reaper sends SIGKILL after the grace time, also when the program quits first, and
    // frees the process object once the shell is gone.
    reaper->adopt(process, group, m_cancelGraceMs);
}

bool ChildProcessRun::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

qint64 ChildProcessRun::processId() const
{
    return m_process ? m_process->processId() : 0;
}
