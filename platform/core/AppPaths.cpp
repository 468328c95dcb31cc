#include "AppPaths.h"

#include <QDir>
#include <QStandardPaths>

namespace AppPaths {
namespace {
QString &overridePath()
{
    static QString path;
    return path;
}
} // namespace

void overrideApplicationSupport(const QString &path)
{
    overridePath() = path;
}

QString applicationSupport()
{
    if (!overridePath().isEmpty())
        return overridePath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString workFolder(const QString &name)
{
    QString base = applicationSupport();
    if (base.isEmpty() || !QDir().mkpath(base))
        base = QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("VeloranceStudio/") + name);
}

} // namespace AppPaths
