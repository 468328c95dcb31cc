#include "FastlaneAppfile.h"

#include <ProjectFile.h>

#include <QRegularExpression>

namespace FastlaneAppfile {

std::optional<QString> appIdentifier(QByteArrayView text)
{
    if (text.size() > maximumBytes)
        return std::nullopt;
    // No quote, backslash or "#" inside: an escape or "#{…}" would need Ruby to read it.
    static const QRegularExpression call(QStringLiteral(R"(^\s*app_identifier(?:\s+(["'])([^"'\\#]+)\1|\s*\(\s*(["'])([^"'\\#]+)\3\s*\))\s*(?:#.*)?$)"));
    const QString decoded = QString::fromUtf8(text);
    for (const QStringView line : QStringView(decoded).split(QLatin1Char('\n'))) {
        if (!line.trimmed().startsWith(QLatin1String("app_identifier")))
            continue;
        const QRegularExpressionMatch match = call.match(line);
        if (match.hasMatch())
            return match.hasCaptured(2) ? match.captured(2) : match.captured(4);
    }
    return std::nullopt;
}

std::optional<QString> readAppIdentifier(const QString &fastlaneFolder, const QString &root)
{
    const QString path = fastlaneFolder + QStringLiteral("/Appfile");
    // The size is looked at first, so a large file is never read.
    if (ProjectFile::stamp(path).size > maximumBytes)
        return std::nullopt;
    const Result<QByteArray> bytes = ProjectFile::read(path, root);
    if (!bytes)
        return std::nullopt;
    return appIdentifier(bytes.value());
}

} // namespace FastlaneAppfile
