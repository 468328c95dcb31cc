#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>

class ChildProcessRun;
class QProcess;

// Ends what ended runs leave behind. A cancelled run's process group gets SIGKILL once its
// grace time is over, and its process object is freed once the shell is gone. When the
// program quits, runs still going are ended as if cancelled, the grace times are waited out
// (no longer than a group lives) and the groups still alive are killed, so no child outlives
// the program and no process object is left behind. Used on the main thread only.
class ProcessGroupReaper final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProcessGroupReaper)

public:
    // The one reaper; null once the program's quit routine has run.
    static ProcessGroupReaper *instance();

    // Takes over a process whose group has just been sent SIGTERM (group 0: the process was
    // never started or its id is unknown; it has been killed directly).
    void adopt(QProcess *process, qint64 group, int graceMs);
    // Runs that may still hold a process; the quit routine ends them.
    void track(ChildProcessRun *run);
    void untrack(ChildProcessRun *run);

    // The quit routine's work, also for tests: ends the tracked runs, waits until each group
    // is gone or its grace time over, kills the rest and frees every process object.
    void finishAll();

    // Adopted processes or groups not yet done with.
    qsizetype pendingCount();

private:
    struct Entry
    {
        quint64 id = 0;
        QPointer<QProcess> process;
        qint64 group = 0;
        QDeadlineTimer deadline;
        bool groupDone = false;   // killed, or found gone
    };

    ProcessGroupReaper() = default;
    void killGroup(quint64 id);
    void prune();

    QList<Entry> m_entries;
    QSet<ChildProcessRun *> m_runs;
    quint64 m_nextID = 1;
};
