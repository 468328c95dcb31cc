#pragma once

#include <Result.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Files inside a project folder, read and written without trusting what lies there: a
// cloned repository may hold a FIFO, a device, a huge file or a link leading anywhere under
// the name the program expects. `root` is the project's folder: a path that resolves
// outside of it is neither read (where a root is given) nor written.
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

// The names a kept-aside copy of `path` may take, in order: "<path><suffix>", then
// "<path><suffix>.1", "<path><suffix>.2", …
QString keptName(const QString &path, const QString &suffix, int number);

// Writes the bytes under the first free kept name beside `path` (a folder inside root);
// never replaces an existing file. Returns the name used.
Result<QString> writeKept(const QString &path, const QString &suffix, QByteArrayView bytes, const QString &root);

// Moves the file to the first free kept name; never replaces an existing file.
Result<QString> moveToKept(const QString &path, const QString &suffix, const QString &root);

// Makes a write beyond the file-size limit fail with an error instead of ending the
// program (SIGXFSZ ignored). Called once at program start.
void ignoreFileSizeSignal();

} // namespace ProjectFile
