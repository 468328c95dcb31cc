#include "FileNameCase.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace FileNameCase {
namespace {

bool exists(const QString &path)
{
    // A link counts as there even when it leads nowhere: its name is written as it is.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

Finder::Finder(const QString &root) : m_root(root.isEmpty() ? QString() : absoluteClean(root)) {}

QString Finder::existing(const QString &path)
{
    if (m_root.isEmpty() || path.isEmpty())
        return path;
    const QString clean = absoluteClean(path);
    const QString prefix = m_root.endsWith(QLatin1Char('/')) ? m_root : m_root + QLatin1Char('/');
    if (!clean.startsWith(prefix) || exists(clean))
        return path;
    QString result = m_root;
    for (const QString &part : clean.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QString next = result + QLatin1Char('/') + part;
        if (!exists(next)) {
            const QString entry = entryIgnoringCase(result, part);
            if (entry.isEmpty())
                return path;
            next = result + QLatin1Char('/') + entry;
        }
        result = next;
    }
    return result;
}

// The one entry of `folder` named `name` but for case; empty when there is none or more.
QString Finder::entryIgnoringCase(const QString &folder, const QString &name)
{
    auto listing = m_listings.find(folder);
    if (listing == m_listings.end()) {
        QHash<QString, QStringList> entries;
        int seen = 0;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext() && ++seen <= maximumEntries) {
            const QString entry = it.nextFileInfo().fileName();
            entries[entry.toCaseFolded()].append(entry);
        }
        if (seen > maximumEntries)
            entries.clear();
        listing = m_listings.insert(folder, entries);
    }
    const QStringList matches = listing->value(name.toCaseFolded());
    return matches.size() == 1 ? matches.first() : QString();
}

QString existing(const QString &path, const QString &root)
{
    return Finder(root).existing(path);
}

} // namespace FileNameCase
