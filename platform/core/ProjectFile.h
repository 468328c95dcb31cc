#pragma once

#include <Result.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Files inside a project folder, read and written without trusting what lies there: a
// cloned repository may hold a FIFO, a device, a huge file or a link leading anywhere under
// the name the program expects, and another process may swap a folder for a link while we
// work. `root` is the project's folder: a path that resolves outside of it is neither read
// (where a root is given) nor written. With a root, a path is walked once from the opened
// project folder and every step is taken relative to what was checked.
namespace ProjectFile {

// Larger files count as unreadable: nothing the program reads from a project is that big.
inline constexpr qint64 maximumSize = 64 * 1024 * 1024;

// What a file was when last seen, to tell an outside change from the program's own write.
struct Stamp
{
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const Stamp &) const = default;
};

// The stamp of the file a path leads to (links followed); `exists` false when there is none.
Stamp stamp(const QString &path);

// The path with links resolved as far as it exists, the rest appended as it is written.
QString resolvedPath(const QString &path);
bool isInside(const QString &path, const QString &root);

// The bytes of a regular file of at most maximumSize bytes. A FIFO, socket, device or
// folder is refused without a blocking open; with a root, so is a path leading out of it.
Result<QByteArray> read(const QString &path, const QString &root = QString());

// Creates the folder and its parents, unless the part that exists leads out of root.
Status makeFolder(const QString &folder, const QString &root);

// Replaces the file atomically (a temporary file beside it, fdatasync, rename); on failure
// the old file is left as it was and the error is the system's description. A link is
// followed only when its target lies inside root; anything but a regular file is refused.
// `written`, when given, receives the stamp of the new file.
Status writeAtomically(const QString &path, QByteArrayView bytes, const QString &root, Stamp *written = nullptr);

// The version of a file its writer last loaded or wrote.
struct Version
{
    std::optional<Stamp> stamp;       // none: not known, so whatever is there is another version
    std::optional<QByteArray> bytes;  // its content (none: there was no file), to tell a touch from a change
    std::optional<Stamp> held;        // the version this writer last put under the hidden name, as it left it
};

struct Replaced
{
    Stamp written;                // the new file
    QStringList kept;             // the names the versions kept now have, in the order kept (none mostly)
    std::optional<Stamp> held;    // the version under the hidden name as this write left it, for the next
};

// writeAtomically for a file that others may write too: the new file is swapped in, and the
// file it replaced is removed only when it is the `known` version and no writer can still reach
// it. Any other version is kept under the first free keptName(<file name>, keptSuffix, n) beside
// it: the file itself, taken in the same step as the new file comes in, so nothing its writer
// still adds is lost. A version whose writers cannot be known (no lease on it) is held under the
// one hidden name ".<file name>.replaced" instead; the next write removes it there when it is
// unchanged since (`known.held`), and keeps it otherwise. Every file the write works on is locked
// while it does, so that no load of another process settles it (settleLeftovers).
Result<Replaced> replaceKeeping(const QString &path, QByteArrayView bytes, const QString &root,
                                const Version &known, const QString &keptSuffix);

// What becomes of a temporary file that a killed write left beside its file.
enum class LeftoverFate {
    Remove,  // nothing in it is lost
    Keep,    // moved to the next free kept name
    Restore, // becomes the file again (only while the file is missing; kept otherwise)
};
// Decides for the bytes of one leftover, given the file's current bytes (none: missing or
// unreadable).
using LeftoverJudge = std::function<LeftoverFate(const QByteArray &leftover, const std::optional<QByteArray> &current)>;

struct Settled
{
    QStringList kept;      // the names the kept leftovers now have, newest first
    bool restored = false; // one became the file again
};

// Settles the temporary files that writes of `path` killed midway left beside it
// ("<file name>.<hex>.tmp", regular files only; nothing else is looked at), newest first and
// at most 100 in one call. `current` is the file's content as the caller read it (none:
// missing or unreadable). A leftover that a write still at work holds is left alone; one that
// cannot be read is kept.
Result<Settled> settleLeftovers(const QString &path, const QString &root, const QString &keptSuffix,
                                const LeftoverJudge &judge, std::optional<QByteArray> current);

// The names a kept-aside copy of `path` may take, in order: "<path><suffix>", then
// "<path><suffix>.1", "<path><suffix>.2", …
QString keptName(const QString &path, const QString &suffix, int number);

// Tests run the order used where the file system cannot exchange two names (check, keep
// aside, then rename).
void setExchangeUsed(bool used);

// Tests refuse every lease, as a file system without leases or a file of another user does.
void setLeasesRefused(bool refused);

// The moments of replaceKeeping at which a test may stop the process, to see what a kill
// there leaves: the new version written under its temporary name; swapped in (the replaced
// file now under the temporary name); where names cannot be exchanged, the replaced file
// taken aside (kept, or under a temporary name of its own) and the new one not yet renamed in.
enum class SaveStep { Written, Exchanged, KeptAside };
using StepHook = void (*)(SaveStep);
void setStepHook(StepHook hook);

// Makes a write beyond the file-size limit fail with an error instead of ending the
// program (SIGXFSZ ignored). Called once at program start.
void ignoreFileSizeSignal();

} // namespace ProjectFile
