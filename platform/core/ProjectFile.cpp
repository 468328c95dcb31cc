#include "ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ProjectFile {
namespace {

// Every link hop the kernel would follow before giving up with ELOOP.
constexpr int maximumLinkHops = 40;
// Enough numbered kept copies for any real history, and a bound for a hostile folder.
constexpr int maximumKeptNumber = 10000;

QString systemError(int code)
{
    char buffer[256];
    return QString::fromLocal8Bit(strerror_r(code, buffer, sizeof buffer));
}

Status systemFailure(int code)
{
    return Status::failure(systemError(code));
}

QString notRegularText(const QString &path)
{
    return QStringLiteral("„%1“ ist keine gewöhnliche Datei.").arg(QDir::toNativeSeparators(path));
}

QString outsideText(const QString &path)
{
    return QStringLiteral("„%1“ führt aus dem Projektordner hinaus.").arg(QDir::toNativeSeparators(path));
}

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

std::optional<QString> realPath(const QString &path)
{
    char buffer[PATH_MAX];
    if (!::realpath(QFile::encodeName(path).constData(), buffer))
        return std::nullopt;
    return QFile::decodeName(buffer);
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(std::min<qsizetype>(left, 1 << 30)));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// The file a write to `path` lands in: the path itself, or the end of its chain of links.
// Refuses what is not (or does not lead to) a regular file or a new name inside root.
Result<QString> writeTarget(const QString &path, const QString &root)
{
    QString current = absoluteClean(path);
    for (int hops = 0;; ++hops) {
        struct stat status;
        if (::lstat(QFile::encodeName(current).constData(), &status) != 0) {
            if (errno == ENOENT)
                break; // a new file
            return Result<QString>::failure(systemError(errno));
        }
        if (S_ISLNK(status.st_mode)) {
            if (hops >= maximumLinkHops)
                return Result<QString>::failure(systemError(ELOOP));
            const QString target = QFile::symLinkTarget(current);
            if (target.isEmpty())
                return Result<QString>::failure(systemError(EINVAL));
            current = QDir::cleanPath(target);
            continue;
        }
        if (!S_ISREG(status.st_mode))
            return Result<QString>::failure(notRegularText(path));
        break;
    }
    if (!isInside(current, root))
        return Result<QString>::failure(outsideText(path));
    return current;
}

Status checkKeptFolder(const QString &path, const QString &root)
{
    if (!isInside(QFileInfo(path).absolutePath(), root))
        return Status::failure(outsideText(path));
    return Status::success();
}

} // namespace

Stamp stamp(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    Stamp result;
    result.exists = true;
    result.device = status.st_dev;
    result.inode = status.st_ino;
    result.size = status.st_size;
    result.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    result.changedNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    return result;
}

QString resolvedPath(const QString &path)
{
    QString existing = absoluteClean(path);
    QStringList rest;
    for (;;) {
        if (const auto real = realPath(existing)) {
            QString result = *real;
            for (auto it = rest.crbegin(); it != rest.crend(); ++it)
                result += QLatin1Char('/') + *it;
            return QDir::cleanPath(result);
        }
        const QFileInfo info(existing);
        const QString parent = info.path();
        if (parent == existing)
            return absoluteClean(path);
        rest.append(info.fileName());
        existing = parent;
    }
}

bool isInside(const QString &path, const QString &root)
{
    const QString resolvedRoot = resolvedPath(root);
    const QString resolved = resolvedPath(path);
    if (resolved == resolvedRoot)
        return true;
    const QString prefix = resolvedRoot.endsWith(QLatin1Char('/')) ? resolvedRoot : resolvedRoot + QLatin1Char('/');
    return resolved.startsWith(prefix);
}

Result<QByteArray> read(const QString &path, const QString &root)
{
    const QByteArray native = QFile::encodeName(path);
    if (!root.isEmpty()) {
        const auto real = realPath(path);
        if (!real)
            return Result<QByteArray>::failure(systemError(errno));
        if (!isInside(*real, root))
            return Result<QByteArray>::failure(outsideText(path));
    }
    const QString tooLarge = QStringLiteral("„%1“ ist größer als %2 MiB.")
                                 .arg(QDir::toNativeSeparators(path))
                                 .arg(maximumSize / (1024 * 1024));
    // Checked before opening: opening a device can have effects of its own.
    struct stat status;
    if (::stat(native.constData(), &status) != 0)
        return Result<QByteArray>::failure(systemError(errno));
    if (!S_ISREG(status.st_mode))
        return Result<QByteArray>::failure(notRegularText(path));
    if (status.st_size > maximumSize)
        return Result<QByteArray>::failure(tooLarge);

    // Non-blocking, so a FIFO swapped in after the check cannot hang the open.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Result<QByteArray>::failure(systemError(errno));
    const auto fail = [fd](const QString &text) {
        ::close(fd);
        return Result<QByteArray>::failure(text);
    };
    if (::fstat(fd, &status) != 0)
        return fail(systemError(errno));
    if (!S_ISREG(status.st_mode))
        return fail(notRegularText(path));

    // One byte more than the size, so the end is seen in one read; a file that grows meanwhile
    // is read on up to the cap.
    QByteArray bytes(std::min<qint64>(status.st_size, maximumSize) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maximumSize)
                return fail(tooLarge);
            bytes.resize(std::min<qint64>(2 * used, maximumSize + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + used, static_cast<size_t>(bytes.size() - used));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return fail(systemError(errno));
        }
        if (got == 0)
            break;
        used += got;
    }
    ::close(fd);
    bytes.truncate(used);
    return bytes;
}

Status makeFolder(const QString &folder, const QString &root)
{
    const QString cannotMake =
        QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden.").arg(QDir::toNativeSeparators(folder));
    // Checked before anything is made: a link in the existing part could lead anywhere.
    if (!isInside(folder, root))
        return Status::failure(outsideText(folder));
    if (!QDir().mkpath(folder))
        return Status::failure(cannotMake);
    if (!isInside(folder, root))
        return Status::failure(outsideText(folder));
    return Status::success();
}

Status writeAtomically(const QString &path, QByteArrayView bytes, const QString &root, Stamp *written)
{
    const Result<QString> target = writeTarget(path, root);
    if (!target)
        return Status::failure(target.error());
    const QByteArray finalName = QFile::encodeName(target.value());

    struct stat existing;
    const bool replacing = ::stat(finalName.constData(), &existing) == 0;

    // The temporary name is new (O_EXCL never follows a link); the umask applies to a new file.
    QByteArray temporaryName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporaryName = finalName + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        fd = ::open(temporaryName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST)
            return systemFailure(errno);
    }
    if (fd < 0)
        return systemFailure(EEXIST);
    const auto fail = [&](int code) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporaryName.constData());
        return systemFailure(code);
    };
    if (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0)
        return fail(errno);
    if (!writeAll(fd, bytes))
        return fail(errno);
    if (::fdatasync(fd) != 0)
        return fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR)
        return fail(errno);
    if (::rename(temporaryName.constData(), finalName.constData()) != 0)
        return fail(errno);
    if (written)
        *written = stamp(target.value());
    return Status::success();
}

QString keptName(const QString &path, const QString &suffix, int number)
{
    const QString base = path + suffix;
    return number == 0 ? base : base + QLatin1Char('.') + QString::number(number);
}

Result<QString> writeKept(const QString &path, const QString &suffix, QByteArrayView bytes, const QString &root)
{
    if (const Status inside = checkKeptFolder(path, root); !inside)
        return Result<QString>::failure(inside.error());
    for (int number = 0; number < maximumKeptNumber; ++number) {
        const QString name = keptName(path, suffix, number);
        const QByteArray native = QFile::encodeName(name);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Result<QString>::failure(systemError(errno));
        }
        const bool ok = writeAll(fd, bytes) && ::fdatasync(fd) == 0;
        const int code = errno;
        ::close(fd);
        if (!ok) {
            ::unlink(native.constData());
            return Result<QString>::failure(systemError(code));
        }
        return name;
    }
    return Result<QString>::failure(systemError(EEXIST));
}

Result<QString> moveToKept(const QString &path, const QString &suffix, const QString &root)
{
    if (const Status inside = checkKeptFolder(path, root); !inside)
        return Result<QString>::failure(inside.error());
    const QByteArray source = QFile::encodeName(path);
    for (int number = 0; number < maximumKeptNumber; ++number) {
        const QString name = keptName(path, suffix, number);
        const QByteArray native = QFile::encodeName(name);
        if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, native.constData(), RENAME_NOREPLACE) == 0)
            return name;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return Result<QString>::failure(systemError(errno));
        // A file system without RENAME_NOREPLACE: a hard link refuses an existing name too.
        if (::link(source.constData(), native.constData()) != 0) {
            if (errno == EEXIST)
                continue;
            return Result<QString>::failure(systemError(errno));
        }
        ::unlink(source.constData());
        return name;
    }
    return Result<QString>::failure(systemError(EEXIST));
}

void ignoreFileSizeSignal()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGXFSZ, &action, nullptr);
}

} // namespace ProjectFile
