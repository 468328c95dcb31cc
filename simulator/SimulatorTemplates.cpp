#include "SimulatorTemplates.h"

#include <QFile>

namespace SimulatorTemplates {

QString resourcePath(const QString &relativePath)
{
    return QStringLiteral(":/templates/") + relativePath;
}

QByteArray bytes(const QString &relativePath)
{
    QFile file(resourcePath(relativePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace SimulatorTemplates
