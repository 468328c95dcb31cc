#pragma once

// What the benchmarks measure against: a raw atomic write of the same bytes (the floor that
// no save can beat), with the clock and median they report in.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <chrono>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace BenchTiming {

using Clock = std::chrono::steady_clock;

// Temporary file, fdatasync, rename: what an atomic save must do at the least.
inline bool rawAtomicWrite(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ok = ::fdatasync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ok && ::rename(temporary.constData(), target.constData()) == 0;
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace BenchTiming
