#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reads single values from an Info.plist in the XML property-list form. Larger or deeper
// files than any real Info.plist count as unreadable.
namespace InfoPlistReader {

inline constexpr qint64 maximumBytes = 1024 * 1024;
inline constexpr int maximumDepth = 64;
inline constexpr int maximumElements = 100000;

// The text of the string that `key` names in the root dictionary; nothing when it is absent,
// no string, or the text is no property list or passes a cap.
std::optional<QString> string(const QByteArray &xml, const QString &key);

// The same from the file at `path`, read only when it lies inside `root` (through ProjectFile);
// a file not there as named is found as the Mac finds it (FileNameCase).
std::optional<QString> readString(const QString &path, const QString &root, const QString &key);

} // namespace InfoPlistReader
