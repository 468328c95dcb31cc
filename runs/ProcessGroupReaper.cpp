#include "ProcessGroupReaper.h"

#include "ChildProcessRun.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <algorithm>

#include <signal.h>

namespace {
ProcessGroupReaper *reaper = nullptr;
bool quitRoutineDone = false;

bool groupAlive(qint64 group)
{
    return group > 0 && ::kill(-static_cast<pid_t>(group), 0) == 0;
}

void quitRoutine()
{
    if (!reaper)
        return;
    reaper->finishAll();
    delete reaper;
    reaper = nullptr;
    quitRoutineDone = true;
}
} // namespace

ProcessGroupReaper *ProcessGroupReaper::instance()
{
    if (!reaper && !quitRoutineDone) {
        reaper = new ProcessGroupReaper;
        // Runs from the application object's destructor, after the event loop has ended.
        qAddPostRoutine(quitRoutine);
    }
    return reaper;
}

void ProcessGroupReaper::adopt(QProcess *process, qint64 group, int graceMs)
{
    prune();
    Entry entry;
    entry.id = m_nextID++;
    entry.process = process;
    entry.group = group;
    entry.deadline = QDeadlineTimer(std::max(graceMs, 0));
    entry.groupDone = group <= 0;
    m_entries.append(entry);

    process->setParent(this);
    // The shell is reaped and its object freed as soon as it has ended.
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    if (process->state() == QProcess::NotRunning)
        process->deleteLater();
    if (!entry.groupDone) {
        // Whatever ignores SIGTERM gets SIGKILL after the grace time.
        const quint64 id = entry.id;
        QTimer::singleShot(std::max(graceMs, 0), this, [this, id] { killGroup(id); });
    }
}

void ProcessGroupReaper::killGroup(quint64 id)
{
    for (Entry &entry : m_entries) {
        if (entry.id == id && !entry.groupDone) {
            ::kill(-static_cast<pid_t>(entry.group), SIGKILL);
            entry.groupDone = true;
        }
    }
    prune();
}

void ProcessGroupReaper::prune()
{
    m_entries.removeIf([](const Entry &entry) { return entry.groupDone && !entry.process; });
}

qsizetype ProcessGroupReaper::pendingCount()
{
    prune();
    return m_entries.size();
}

void ProcessGroupReaper::track(ChildProcessRun *run)
{
    m_runs.insert(run);
}

void ProcessGroupReaper::untrack(ChildProcessRun *run)
{
    m_runs.remove(run);
}

void ProcessGroupReaper::finishAll()
{
    // Runs still going end as if cancelled (each untracks itself).
    const QSet<ChildProcessRun *> runs = m_runs;
    for (ChildProcessRun *run : runs)
        run->cancel();
    m_runs.clear();

    // No event loop runs any more: wait here, no longer than a group lives.
    for (bool waiting = true; waiting;) {
        waiting = false;
        for (Entry &entry : m_entries) {
            if (entry.groupDone)
                continue;
            // Reaps a shell that has ended, so that it no longer counts as a group member.
            if (entry.process && entry.process->state() != QProcess::NotRunning)
                entry.process->waitForFinished(0);
            if (!groupAlive(entry.group)) {
                entry.groupDone = true;
            } else if (entry.deadline.hasExpired()) {
                ::kill(-static_cast<pid_t>(entry.group), SIGKILL);
                entry.groupDone = true;
            } else {
                waiting = true;
            }
        }
        if (waiting)
            QThread::msleep(10);
    }
    // Freed here rather than later: no event loop will run their deferred deletion.
    for (Entry &entry : m_entries)
        delete entry.process.data();
    m_entries.clear();
}
