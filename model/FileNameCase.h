#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Names as the Mac's default file system finds them: it ignores case, and repositories made
// there rely on it ("Version.public.xcconfig" for "Version.Public.xcconfig").
namespace FileNameCase {

// More entries than a folder of a project holds; a larger folder is not searched.
inline constexpr int maximumEntries = 100000;

// Finds the files one reader is given, each folder listed at most once.
class Finder final
{
public:
    explicit Finder(const QString &root);

    // `path` with each part below the root that does not exist as written replaced by the one
    // entry of its folder whose name differs from it in case alone. Where no such entry
    // exists, or two or more do, `path` is returned as written. So is a path that does not lie
    // below the root as written, or any path for an empty root. Nothing is read but folder
    // listings; whether the path may be read is its reader's business.
    QString existing(const QString &path);

private:
    QString entryIgnoringCase(const QString &folder, const QString &name);

    QString m_root;
    QHash<QString, QHash<QString, QStringList>> m_listings; // folder → folded name → entries
};

// Finder::existing for one path.
QString existing(const QString &path, const QString &root);

} // namespace FileNameCase
