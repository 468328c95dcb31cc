#include "ProjectFile.h"

#include "SystemErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ProjectFile {
namespace {

// Every link hop the kernel would follow before giving up with ELOOP.
constexpr int maximumLinkHops = 40;
// Leftovers of killed writes looked at in one go, the newest; a hostile folder may hold any
// number, and the rest wait for the next look.
constexpr size_t maximumLeftovers = 100;
// Tries of a step that another process keeps undoing (a name swapped between two calls).
constexpr int maximumRetries = 100;

std::atomic<bool> exchangeUsed{true};
std::atomic<bool> leasesRefused{false};
std::atomic<StepHook> stepHook{nullptr};

void reached(SaveStep step)
{
    if (const StepHook hook = stepHook.load())
        hook(step);
}

QString systemError(int code)
{
    return SystemErrorText::of(code);
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

Stamp stampOf(const struct stat &status)
{
    Stamp result;
    result.exists = true;
    result.device = status.st_dev;
    result.inode = status.st_ino;
    result.size = status.st_size;
    result.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    result.changedNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    return result;
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

class Descriptor final
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now; the result is close()'s.
    int close() { return m_fd < 0 ? 0 : ::close(std::exchange(m_fd, -1)); }
    void reset()
    {
        if (m_fd >= 0)
            ::close(std::exchange(m_fd, -1));
    }

private:
    int m_fd = -1;
};

// Walks a path down from the opened project folder, one name at a time, and keeps every folder
// it passed open: what was checked is what the caller then uses, whatever another process
// swaps in meanwhile. A link is followed only when its target stays inside the project folder
// ("..", absolute targets and chains included); the walk never climbs above that folder.
class Walk final
{
public:
    // `path` is also the name used in messages.
    Walk(const QString &path, const QString &root) : m_path(path), m_root(root) {}

    // Opens the project folder (made first when `create` and missing) and queues the path's
    // names below it.
    Status begin(bool create = false)
    {
        const QByteArray root = QFile::encodeName(m_root);
        m_rootFd = Descriptor(::open(root.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!m_rootFd.isOpen() && errno == ENOENT && create && QDir().mkpath(m_root))
            m_rootFd = Descriptor(::open(root.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!m_rootFd.isOpen())
            return systemFailure(errno);
        const QString absolute = absoluteClean(m_path);
        std::optional<QStringList> names = namesBelowRoot(absolute);
        if (!names)
            names = namesBelowRoot(resolvedPath(absolute));
        if (!names)
            return outside();
        for (const QString &name : *names)
            m_pending.push_back(QFile::encodeName(name));
        return Status::success();
    }

    // Walks every queued name as a folder; `create` makes missing ones.
    Status intoFolders(bool create)
    {
        while (!m_pending.empty()) {
            const QByteArray name = takeNext();
            if (const Status status = enter(name, create); !status)
                return status;
        }
        return Status::success();
    }

    // Walks to the folder of the last name and leaves that name in last(). A link there is
    // followed (inside only) until the name is no link or does not exist.
    Status toLast()
    {
        for (;;) {
            while (m_pending.size() > 1) {
                const QByteArray name = takeNext();
                if (const Status status = enter(name, false); !status)
                    return status;
            }
            if (m_pending.empty() || m_pending.front() == "." || m_pending.front() == "..")
                return Status::failure(notRegularText(m_path)); // the path names a folder
            m_last = m_pending.front();
            struct stat status;
            if (::fstatat(folder(), m_last.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno == ENOENT)
                    return Status::success(); // a new name
                return systemFailure(errno);
            }
            if (!S_ISLNK(status.st_mode))
                return Status::success();
            m_pending.pop_front();
            if (const Status queued = queueLinkTarget(m_last); !queued)
                return queued;
        }
    }

    // begin() and toLast(): to the folder of the file the path names.
    Status toFile()
    {
        const Status begun = begin();
        return begun ? toLast() : begun;
    }

    int folder() const { return m_folders.empty() ? m_rootFd.get() : m_folders.back().get(); }
    const QByteArray &last() const { return m_last; }
    bool ledOutside() const { return m_ledOutside; }

private:
    QByteArray takeNext()
    {
        QByteArray name = m_pending.front();
        m_pending.pop_front();
        return name;
    }

    Status outside()
    {
        m_ledOutside = true;
        return Status::failure(outsideText(m_path));
    }

    std::optional<QStringList> namesBelow(const QString &absolute, const QString &root) const
    {
        if (absolute == root)
            return QStringList();
        const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
        if (!absolute.startsWith(prefix))
            return std::nullopt;
        return absolute.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    }

    // The names of an absolute path below the project folder, as written or with the
    // folder's own links resolved; nothing when it lies elsewhere.
    std::optional<QStringList> namesBelowRoot(const QString &absolute)
    {
        if (auto names = namesBelow(absolute, absoluteClean(m_root)))
            return names;
        if (m_resolvedRoot.isEmpty())
            m_resolvedRoot = resolvedPath(m_root);
        return namesBelow(absolute, m_resolvedRoot);
    }

    // Puts the target of the link `name` (in the current folder) in front of what is left.
    Status queueLinkTarget(const QByteArray &name)
    {
        if (++m_hops > maximumLinkHops)
            return systemFailure(ELOOP);
        char buffer[PATH_MAX];
        const ssize_t length = ::readlinkat(folder(), name.constData(), buffer, sizeof buffer);
        if (length < 0)
            return systemFailure(errno);
        if (size_t(length) >= sizeof buffer)
            return systemFailure(ENAMETOOLONG);
        const QByteArray target(buffer, length);
        QList<QByteArray> names;
        if (target.startsWith('/')) {
            // Not cleaned: ".." is walked like any name, from where the names before it lead.
            const std::optional<QStringList> below = namesBelowRoot(QFile::decodeName(target));
            if (!below)
                return outside();
            m_folders.clear(); // from the project folder on
            for (const QString &part : *below)
                names.append(QFile::encodeName(part));
        } else {
            names = target.split('/');
        }
        for (auto it = names.crbegin(); it != names.crend(); ++it) {
            if (!it->isEmpty())
                m_pending.push_front(*it);
        }
        return Status::success();
    }

    // One step down (or up, for ".." below the project folder) into a folder.
    Status enter(const QByteArray &name, bool create)
    {
        if (name.isEmpty() || name == ".")
            return Status::success();
        if (name == "..") {
            if (m_folders.empty())
                return outside();
            m_folders.pop_back();
            return Status::success();
        }
        for (int attempt = 0; attempt < maximumRetries; ++attempt) {
            struct stat status;
            if (::fstatat(folder(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno == ENOENT && create) {
                    if (::mkdirat(folder(), name.constData(), 0777) != 0 && errno != EEXIST)
                        return systemFailure(errno);
                    continue;
                }
                return systemFailure(errno);
            }
            if (S_ISLNK(status.st_mode))
                return queueLinkTarget(name);
            if (!S_ISDIR(status.st_mode))
                return systemFailure(ENOTDIR);
            // O_NOFOLLOW: a link swapped in since the look above is refused, and looked at again.
            Descriptor fd(::openat(folder(), name.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!fd.isOpen()) {
                if (errno == ENOTDIR || errno == ELOOP || errno == ENOENT)
                    continue;
                return systemFailure(errno);
            }
            m_folders.push_back(std::move(fd));
            return Status::success();
        }
        return systemFailure(EAGAIN);
    }

    QString m_path;
    QString m_root;
    QString m_resolvedRoot;
    Descriptor m_rootFd;
    std::vector<Descriptor> m_folders; // below the project folder, innermost last
    std::deque<QByteArray> m_pending;
    QByteArray m_last;
    int m_hops = 0;
    bool m_ledOutside = false;
};

QString tooLargeText(const QString &path)
{
    return QStringLiteral("„%1“ ist größer als %2 MiB.")
        .arg(QDir::toNativeSeparators(path))
        .arg(maximumSize / (1024 * 1024));
}

// Reads an open regular file of `size` bytes (as fstat saw it) from its start.
Result<QByteArray> readOpen(int fd, qint64 size, const QString &path)
{
    // One byte more than the size, so the end is seen in one read; a file that grows meanwhile
    // is read on up to the cap.
    QByteArray bytes(std::min<qint64>(size, maximumSize) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maximumSize)
                return Result<QByteArray>::failure(tooLargeText(path));
            bytes.resize(std::min<qint64>(2 * used, maximumSize + 1));
        }
        const ssize_t got = ::pread(fd, bytes.data() + used, static_cast<size_t>(bytes.size() - used), used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Result<QByteArray>::failure(systemError(errno));
        }
        if (got == 0)
            break;
        used += got;
    }
    bytes.truncate(used);
    return bytes;
}

// Reads the regular file `name` in `folder` (AT_FDCWD with a path: links followed).
Result<QByteArray> readAt(int folder, const QByteArray &name, bool followLinks, const QString &path)
{
    // Checked before opening: opening a device can have effects of its own.
    struct stat status;
    if (::fstatat(folder, name.constData(), &status, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return Result<QByteArray>::failure(systemError(errno));
    if (!S_ISREG(status.st_mode))
        return Result<QByteArray>::failure(notRegularText(path));
    if (status.st_size > maximumSize)
        return Result<QByteArray>::failure(tooLargeText(path));

    // Non-blocking, so a FIFO swapped in after the check cannot hang the open.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (followLinks ? 0 : O_NOFOLLOW);
    Descriptor fd(::openat(folder, name.constData(), flags));
    if (!fd.isOpen())
        return Result<QByteArray>::failure(systemError(errno));
    if (::fstat(fd.get(), &status) != 0)
        return Result<QByteArray>::failure(systemError(errno));
    if (!S_ISREG(status.st_mode))
        return Result<QByteArray>::failure(notRegularText(path));
    return readOpen(fd.get(), status.st_size, path);
}

// Without a root, a write stays in the file's own folder.
QString rootFor(const QString &path, const QString &root)
{
    return root.isEmpty() ? QFileInfo(absoluteClean(path)).path() : root;
}

// Renames `source` to `target` (both in `folder`) unless `target` exists; errno says why not.
bool moveWithoutReplacing(int folder, const QByteArray &source, const QByteArray &target)
{
    if (::renameat2(folder, source.constData(), folder, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without RENAME_NOREPLACE: a hard link refuses an existing name too.
    if (::linkat(folder, source.constData(), folder, target.constData(), 0) != 0)
        return false;
    ::unlinkat(folder, source.constData(), 0);
    return true;
}

// The number of a kept name of `base` ("<base><suffix>" is 0, "<base><suffix>.<n>" is n), or -1.
qint64 keptNumber(const QByteArray &candidate, const QByteArray &kept)
{
    if (candidate == kept)
        return 0;
    if (!candidate.startsWith(kept + '.'))
        return -1;
    const QByteArray digits = candidate.mid(kept.size() + 1);
    if (digits.isEmpty() || digits.size() > 9 || digits.startsWith('0')
        || !std::all_of(digits.cbegin(), digits.cend(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return digits.toLongLong();
}

// The kept names of one file already taken in its folder, from one listing; the free ones are
// handed out from the first on, as keptName counts them.
class KeptNames final
{
public:
    KeptNames(const QByteArray &base, const QString &suffix)
        : m_baseName(QFile::decodeName(base))
        , m_kept(QFile::encodeName(m_baseName + suffix))
        , m_suffix(suffix)
    {
    }

    // Notes one name of the folder's listing.
    void see(const QByteArray &candidate)
    {
        if (const qint64 number = keptNumber(candidate, m_kept); number >= 0)
            m_taken.insert(number);
        m_listed = true;
    }

    // Moves `source` to the first free kept name; never replaces a file.
    Result<QByteArray> keep(int folder, const QByteArray &source)
    {
        if (!m_listed)
            list(folder);
        for (int clash = 0; clash < maximumRetries; ++clash) {
            while (m_taken.contains(m_next))
                ++m_next;
            const QByteArray kept = QFile::encodeName(keptName(m_baseName, m_suffix, int(m_next)));
            m_taken.insert(m_next);
            if (moveWithoutReplacing(folder, source, kept))
                return kept;
            if (errno != EEXIST)
                return Result<QByteArray>::failure(systemError(errno));
            // Taken since the listing (another copy of the program): the next one.
        }
        return Result<QByteArray>::failure(systemError(EEXIST));
    }

private:
    void list(int folder)
    {
        m_listed = true;
        const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (listing < 0)
            return; // names are then tried from the first on
        const std::unique_ptr<DIR, int (*)(DIR *)> entries(::fdopendir(listing), ::closedir);
        if (!entries) {
            ::close(listing);
            return;
        }
        while (const struct dirent *entry = ::readdir(entries.get()))
            see(QByteArray(entry->d_name));
    }

    QString m_baseName;
    QByteArray m_kept;
    QString m_suffix;
    QSet<qint64> m_taken;
    qint64 m_next = 0;
    bool m_listed = false;
};

// The temporary a write of `name` goes through first: "<name>.<hex>.tmp".
QByteArray temporaryName(const QByteArray &name)
{
    return name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
}

bool isTemporaryName(const QByteArray &candidate, const QByteArray &name)
{
    static const QByteArray ending = ".tmp";
    if (!candidate.startsWith(name + '.') || !candidate.endsWith(ending))
        return false;
    const QByteArray random = candidate.mid(name.size() + 1, candidate.size() - name.size() - 1 - ending.size());
    return !random.isEmpty() && random.size() <= 8
        && std::all_of(random.cbegin(), random.cend(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Where a replaced version waits whose writers cannot be known: a dot name, so no load takes it
// for what a killed save left.
QByteArray heldName(const QByteArray &name)
{
    return '.' + name + ".replaced";
}

// A save holds a lock on every file it works on from the moment it has it until it is done,
// and another copy of the program settles only the leftovers it can lock: a killed process
// holds no lock any more. flock, so that a file opened for reading only can be locked too.
bool tryLock(int fd)
{
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

// The same, waiting a little for another save that is about to swap the same file.
bool lockSoon(int fd)
{
    for (int attempt = 0; attempt < maximumRetries; ++attempt) {
        if (tryLock(fd))
            return true;
        if (errno != EWOULDBLOCK)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
}

// Whether `name` in `folder` is still the open file.
bool isUnder(int fd, int folder, const QByteArray &name)
{
    struct stat open;
    struct stat named;
    return ::fstat(fd, &open) == 0 && open.st_nlink > 0
        && ::fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == open.st_dev
        && named.st_ino == open.st_ino;
}

// Whether anyone has a file open for writing, asked of the kernel through a read lease: it is
// granted only while nobody has, and while it is held, an open for writing waits for it and
// breaks it.
class ReadLease final
{
public:
    enum class State { Held, OpenForWriting, Unknown };

    explicit ReadLease(int fd) : m_fd(fd)
    {
        if (fd < 0 || leasesRefused.load())
            return;
        // Someone opening the file while the lease is held is told to us by a signal: SIGIO would
        // end the program, SIGURG is ignored. The break is asked for with F_GETLEASE.
        if (::fcntl(fd, F_SETSIG, SIGURG) != 0)
            return;
        if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0)
            m_state = State::Held;
        else if (errno == EAGAIN)
            m_state = State::OpenForWriting;
        // Otherwise not ours to lease, or not on this file system: unknown.
    }
    ~ReadLease()
    {
        if (m_state == State::Held)
            ::fcntl(m_fd, F_SETLEASE, F_UNLCK);
    }
    ReadLease(const ReadLease &) = delete;
    ReadLease &operator=(const ReadLease &) = delete;

    State state() const { return m_state; }
    // Someone began to open the file for writing since the lease was granted: the lease is
    // being broken (or was, when we kept it too long).
    bool broken() const { return m_state == State::Held && ::fcntl(m_fd, F_GETLEASE) != F_RDLCK; }

private:
    int m_fd;
    State m_state = State::Unknown;
};

// Whether the open file is the known version; `before` is how it looked before it was last
// renamed (renaming changes its ctime, nothing else).
bool isKnownVersion(int fd, const struct stat &before, const Version &known, const QString &path)
{
    if (!known.stamp)
        return false;
    struct stat now;
    if (::fstat(fd, &now) != 0 || !S_ISREG(now.st_mode))
        return false;
    if (stampOf(before) == *known.stamp && now.st_dev == before.st_dev && now.st_ino == before.st_ino
        && now.st_size == before.st_size && now.st_mtim.tv_sec == before.st_mtim.tv_sec
        && now.st_mtim.tv_nsec == before.st_mtim.tv_nsec)
        return true;
    // Another stamp can still hold the known content (touched, or written again unchanged).
    if (!known.bytes || now.st_size != known.bytes->size())
        return false;
    const Result<QByteArray> bytes = readOpen(fd, now.st_size, path);
    return bytes && bytes.value() == *known.bytes;
}

// The file a save replaces, opened while it is still the file, locked and held under a read
// lease until the save is done.
class ReplacedFile final
{
public:
    // What becomes of it once it is out of the way.
    enum class Fate {
        Remove, // the known version, and nobody can still write to it
        Hold,   // the known version, but whether anyone writes to it cannot be told
        Keep,   // another version, or one someone opened for writing
    };

    ReplacedFile(int folder, const QByteArray &name)
        : m_fd(open(folder, name))
        , m_error(m_fd.isOpen() ? 0 : errno)
        , m_looked(m_fd.isOpen() && ::fstat(m_fd.get(), &m_before) == 0)
        , m_locked(m_looked && lockSoon(m_fd.get()))
        , m_lease(m_looked ? m_fd.get() : -1)
    {
    }

    bool missing() const { return m_error == ENOENT; }
    // Why it could not be opened (0: it is open).
    int error() const { return m_error; }
    bool isUnder(int folder, const QByteArray &name) const { return m_looked && ProjectFile::isUnder(m_fd.get(), folder, name); }

    // Asked right before the file is removed: a writer's open that the lease held is seen.
    Fate fate(const Version &known, const QString &path) const
    {
        if (!m_looked || m_lease.state() == ReadLease::State::OpenForWriting
            || !isKnownVersion(m_fd.get(), m_before, known, path))
            return Fate::Keep;
        if (m_lease.state() == ReadLease::State::Unknown)
            return Fate::Hold;
        return m_lease.broken() ? Fate::Keep : Fate::Remove;
    }

private:
    static Descriptor open(int folder, const QByteArray &name)
    {
        Descriptor fd(::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
        // A file we may not read is still told by its stamp (no lease, no lock, no bytes).
        if (!fd.isOpen() && errno == EACCES)
            fd = Descriptor(::openat(folder, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        return fd;
    }

    Descriptor m_fd;
    int m_error;
    struct stat m_before = {};
    bool m_looked;
    bool m_locked;
    ReadLease m_lease; // given up before the lock and the descriptor
};

// One replace: the kept names handed out and what the caller gets to know.
class Swap final
{
public:
    Swap(int folder, const QByteArray &name, const Version &known, const QString &suffix, const QString &path,
         Replaced &result)
        : m_folder(folder), m_name(name), m_known(known), m_path(path), m_result(result), m_keptNames(name, suffix)
    {
        m_result.held = known.held;
    }

    // Puts the finished temporary file in place of the file. The file it replaces is removed
    // when it is the known version and nobody can still write to it, held under the hidden
    // name when the first cannot be told, and kept aside otherwise.
    Status in(const QByteArray &temporary, Descriptor &ours)
    {
        bool exchange = exchangeUsed.load();
        for (int attempt = 0; attempt < maximumRetries; ++attempt) {
            const ReplacedFile replaced(m_folder, m_name);
            if (replaced.missing()) {
                // No file: ours goes in only if none came meanwhile.
                if (moveWithoutReplacing(m_folder, temporary, m_name))
                    return Status::success();
                if (errno == EEXIST || errno == ENOENT)
                    continue;
                return systemFailure(errno);
            }
            if (replaced.error() != 0)
                return systemFailure(replaced.error());
            if (exchange) {
                // One step: ours comes in, the replaced file goes out under the temporary name,
                // so an outside write landing at any moment is either replaced here and looked
                // at below, or comes after ours.
                if (::renameat2(m_folder, temporary.constData(), m_folder, m_name.constData(), RENAME_EXCHANGE) != 0) {
                    if (errno == ENOENT)
                        continue; // removed meanwhile
                    if (errno != EINVAL && errno != ENOSYS)
                        return systemFailure(errno);
                    exchange = false;
                    continue;
                }
                ours.reset(); // the file now, no temporary any more
                reached(SaveStep::Exchanged);
                settle(replaced, temporary);
                return Status::success();
            }
            // Where names cannot be exchanged: the file is taken aside first, so nothing
            // renamed over it meanwhile is lost; whatever comes in before ours is looked at in
            // the next round. A kill from here on leaves both to the next load.
            const QByteArray aside = temporaryName(m_name);
            if (!moveWithoutReplacing(m_folder, m_name, aside)) {
                if (errno == ENOENT || errno == EEXIST)
                    continue;
                return systemFailure(errno);
            }
            const bool kept = replaced.isUnder(m_folder, aside) && replaced.fate(m_known, m_path) == ReplacedFile::Fate::Keep;
            if (kept)
                keep(aside);
            reached(SaveStep::KeptAside);
            if (!moveWithoutReplacing(m_folder, temporary, m_name)) {
                const int code = errno;
                if (code == EEXIST) {
                    // Another version came in meanwhile: this one is done with, that one is next.
                    if (!kept)
                        settle(replaced, aside);
                    continue;
                }
                if (!kept)
                    moveWithoutReplacing(m_folder, aside, m_name); // put back when ours cannot go in
                return systemFailure(code);
            }
            ours.reset();
            if (!kept)
                settle(replaced, aside);
            return Status::success();
        }
        return systemFailure(EAGAIN);
    }

private:
    // What became of the replaced file, now under `name` beside ours.
    void settle(const ReplacedFile &replaced, const QByteArray &name)
    {
        if (!replaced.isUnder(m_folder, name)) {
            // Another version came in between the look and the swap: kept, when no other
            // save or load holds it; otherwise it is theirs to settle.
            const Descriptor other(::openat(m_folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
            if (other.isOpen() && tryLock(other.get()) && isUnder(other.get(), m_folder, name))
                keep(name);
            return;
        }
        switch (replaced.fate(m_known, m_path)) {
        case ReplacedFile::Fate::Remove:
            if (::unlinkat(m_folder, name.constData(), 0) != 0)
                keep(name);
            return;
        case ReplacedFile::Fate::Hold:
            if (!hold(name))
                keep(name);
            return;
        case ReplacedFile::Fate::Keep:
            keep(name);
            return;
        }
    }

    // Kept under the next free kept name; failing that, it stays where it is: never removed.
    void keep(const QByteArray &name)
    {
        const Result<QByteArray> kept = m_keptNames.keep(m_folder, name);
        m_result.kept.append(QFile::decodeName(kept ? kept.value() : name));
    }

    // Puts the version under the one hidden name. The version held there before goes when it
    // is unchanged since this writer put it there; written to since, it is kept like any other.
    bool hold(const QByteArray &name)
    {
        const QByteArray held = heldName(m_name);
        for (int attempt = 0; attempt < maximumRetries; ++attempt) {
            struct stat status;
            if (::fstatat(m_folder, held.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
                if (S_ISREG(status.st_mode) && m_known.held && stampOf(status) == *m_known.held)
                    ::unlinkat(m_folder, held.constData(), 0);
                else
                    keep(held);
            } else if (errno != ENOENT) {
                return false;
            }
            if (moveWithoutReplacing(m_folder, name, held)) {
                // Stamped after the rename, which changes the ctime; a write since changes it again.
                if (::fstatat(m_folder, held.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0)
                    m_result.held = stampOf(status);
                else
                    m_result.held.reset();
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    int m_folder;
    QByteArray m_name;
    const Version &m_known;
    QString m_path;
    Replaced &m_result;
    KeptNames m_keptNames;
};

// Creates the temporary file of a write of `name`, locked. A load in another copy of the
// program may lock a new name before we do and settle it (it is empty then): another is taken.
Result<std::pair<QByteArray, Descriptor>> createTemporary(int folder, const QByteArray &name)
{
    for (int attempt = 0; attempt < maximumRetries; ++attempt) {
        const QByteArray temporary = temporaryName(name);
        // The name is new (O_EXCL never follows a link); the umask applies to a new file.
        Descriptor fd(::openat(folder, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (!fd.isOpen()) {
            if (errno == EEXIST)
                continue;
            return Result<std::pair<QByteArray, Descriptor>>::failure(systemError(errno));
        }
        if (tryLock(fd.get()) && isUnder(fd.get(), folder, temporary))
            return std::pair<QByteArray, Descriptor>(temporary, std::move(fd));
    }
    return Result<std::pair<QByteArray, Descriptor>>::failure(systemError(EEXIST));
}

// The write behind writeAtomically and replaceKeeping; without `known` the replaced file
// is simply replaced.
Result<Replaced> replace(const QString &path, QByteArrayView bytes, const QString &root, const Version *known,
                         const QString &suffix)
{
    Walk walk(path, rootFor(path, root));
    if (Status status = walk.toFile(); !status)
        return Result<Replaced>::failure(status.error());
    const int folder = walk.folder();
    const QByteArray name = walk.last();

    struct stat existing;
    const bool replacing = ::fstatat(folder, name.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (!replacing && errno != ENOENT)
        return Result<Replaced>::failure(systemError(errno));
    if (replacing && !S_ISREG(existing.st_mode))
        return Result<Replaced>::failure(notRegularText(path));

    Result<std::pair<QByteArray, Descriptor>> created = createTemporary(folder, name);
    if (!created)
        return Result<Replaced>::failure(created.error());
    const QByteArray temporary = created.value().first;
    // Open, and so locked, until the file is in place.
    Descriptor fd = std::move(created.value().second);
    const auto fail = [&](int code) {
        ::unlinkat(folder, temporary.constData(), 0);
        return Result<Replaced>::failure(systemError(code));
    };
    if (replacing && ::fchmod(fd.get(), existing.st_mode & 07777) != 0)
        return fail(errno);
    if (!writeAll(fd.get(), bytes))
        return fail(errno);
    if (::fdatasync(fd.get()) != 0)
        return fail(errno);
    struct stat ours;
    if (::fstat(fd.get(), &ours) != 0)
        return fail(errno);
    reached(SaveStep::Written);

    Replaced result;
    if (known) {
        if (const Status status = Swap(folder, name, *known, suffix, path, result).in(temporary, fd); !status) {
            if (fd.isOpen())
                ::unlinkat(folder, temporary.constData(), 0);
            return Result<Replaced>::failure(status.error());
        }
    } else if (::renameat(folder, temporary.constData(), folder, name.constData()) != 0) {
        return fail(errno);
    }
    fd.reset();
    // Stamped after the rename (it changes the ctime). The stamp counts as ours only while the
    // file is still exactly what we wrote: when another write already replaced it or wrote into
    // it, the stamp of our descriptor stays, so that write counts as a change.
    struct stat now;
    const bool stillOurs = ::fstatat(folder, name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0
        && now.st_dev == ours.st_dev && now.st_ino == ours.st_ino && now.st_size == ours.st_size
        && now.st_mtim.tv_sec == ours.st_mtim.tv_sec && now.st_mtim.tv_nsec == ours.st_mtim.tv_nsec;
    result.written = stampOf(stillOurs ? now : ours);
    return result;
}

} // namespace

Stamp stamp(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return stampOf(status);
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
    if (root.isEmpty())
        return readAt(AT_FDCWD, QFile::encodeName(path), true, path);
    Walk walk(path, root);
    if (Status status = walk.toFile(); !status)
        return Result<QByteArray>::failure(status.error());
    return readAt(walk.folder(), walk.last(), false, path);
}

Status makeFolder(const QString &folder, const QString &root)
{
    Walk walk(folder, rootFor(folder, root));
    Status status = walk.begin(true);
    if (status)
        status = walk.intoFolders(true);
    if (status || walk.ledOutside())
        return status;
    return Status::failure(QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden: %2")
                               .arg(QDir::toNativeSeparators(folder), status.error()));
}

Status writeAtomically(const QString &path, QByteArrayView bytes, const QString &root, Stamp *written)
{
    const Result<Replaced> replaced = replace(path, bytes, root, nullptr, QString());
    if (!replaced)
        return Status::failure(replaced.error());
    if (written)
        *written = replaced->written;
    return Status::success();
}

Result<Replaced> replaceKeeping(const QString &path, QByteArrayView bytes, const QString &root, const Version &known,
                                const QString &keptSuffix)
{
    return replace(path, bytes, root, &known, keptSuffix);
}

Result<Settled> settleLeftovers(const QString &path, const QString &root, const QString &keptSuffix,
                                const LeftoverJudge &judge, std::optional<QByteArray> current)
{
    Walk walk(path, rootFor(path, root));
    if (Status status = walk.toFile(); !status)
        return Result<Settled>::failure(status.error());
    const int folder = walk.folder();
    const QByteArray name = walk.last();

    struct Leftover
    {
        QByteArray name;
        qint64 modifiedNs;
    };
    std::vector<Leftover> leftovers;
    KeptNames keptNames(name, keptSuffix);
    {
        const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (listing < 0)
            return Result<Settled>::failure(systemError(errno));
        const std::unique_ptr<DIR, int (*)(DIR *)> entries(::fdopendir(listing), ::closedir);
        if (!entries) {
            ::close(listing);
            return Result<Settled>::failure(systemError(errno));
        }
        while (const struct dirent *entry = ::readdir(entries.get())) {
            const QByteArray candidate(entry->d_name);
            keptNames.see(candidate);
            struct stat status;
            // Only regular files: a link or anything else under such a name is not our making.
            if (isTemporaryName(candidate, name)
                && ::fstatat(folder, candidate.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
                leftovers.push_back({candidate, stampOf(status).modifiedNs});
        }
    }
    // The newest first: it is the one that comes back when the file itself is missing.
    std::sort(leftovers.begin(), leftovers.end(),
              [](const Leftover &a, const Leftover &b) { return a.modifiedNs > b.modifiedNs; });
    if (leftovers.size() > maximumLeftovers)
        leftovers.resize(maximumLeftovers);

    Settled settled;
    for (const Leftover &leftover : leftovers) {
        const Descriptor fd(::openat(folder, leftover.name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
        std::optional<Result<QByteArray>> bytes;
        if (fd.isOpen()) {
            // A save still at work holds its files locked: they are its own to finish. Locked,
            // the name must still lead to the file, or another load settled it meanwhile.
            if (!tryLock(fd.get()) || !isUnder(fd.get(), folder, leftover.name))
                continue;
            struct stat status;
            if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
                continue;
            bytes = readOpen(fd.get(), status.st_size, path);
        } else if (errno == ENOENT) {
            continue;
        }
        // One that cannot be read is not judged: it is kept.
        LeftoverFate fate = bytes && *bytes ? judge(bytes->value(), current) : LeftoverFate::Keep;
        if (fate == LeftoverFate::Restore) {
            if (moveWithoutReplacing(folder, leftover.name, name)) {
                current = bytes->value();
                settled.restored = true;
                continue;
            }
            fate = LeftoverFate::Keep; // the file is there after all
        }
        if (fate == LeftoverFate::Remove) {
            ::unlinkat(folder, leftover.name.constData(), 0);
            continue;
        }
        if (const Result<QByteArray> keptAs = keptNames.keep(folder, leftover.name))
            settled.kept.append(QFile::decodeName(keptAs.value()));
    }
    return settled;
}

QString keptName(const QString &path, const QString &suffix, int number)
{
    const QString base = path + suffix;
    return number == 0 ? base : base + QLatin1Char('.') + QString::number(number);
}

void setExchangeUsed(bool used)
{
    exchangeUsed.store(used);
}

void setLeasesRefused(bool refused)
{
    leasesRefused.store(refused);
}

void setStepHook(StepHook hook)
{
    stepHook.store(hook);
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
