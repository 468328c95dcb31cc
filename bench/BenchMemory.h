#pragma once

// The process's peak resident memory, for benchmarks that run one case per process.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace BenchMemory {

// Peak resident memory of the process since the last resetPeak(), in MB.
inline double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Starts the peak afresh, so that a fixture's own bytes, freed by then, do not count.
inline void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace BenchMemory
