#include "RepositoryTop.h"

#include <QDir>
#include <QFileInfo>

namespace RepositoryTop {

QString of(const QString &projectFolder, const QString &top)
{
    const QString folder = QDir::cleanPath(QFileInfo(projectFolder).absoluteFilePath());
    if (!top.isEmpty()) {
        const QString given = QDir::cleanPath(QFileInfo(top).absoluteFilePath());
        const QString prefix = given.endsWith(QLatin1Char('/')) ? given : given + QLatin1Char('/');
        return given == folder || folder.startsWith(prefix) ? given : folder;
    }
    QString candidate = folder;
    for (int level = 0; level <= maximumLevelsAbove; ++level) {
        // A clone holds a ".git" folder, a worktree or submodule a ".git" file.
        if (QFileInfo::exists(candidate + QStringLiteral("/.git")))
            return candidate;
        const QString parent = QFileInfo(candidate).path();
        if (parent == candidate)
            break;
        candidate = parent;
    }
    return folder;
}

} // namespace RepositoryTop
