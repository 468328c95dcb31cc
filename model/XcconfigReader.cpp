#include "XcconfigReader.h"

#include <ProjectFile.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace XcconfigReader {
namespace {

using Definitions = QList<BuildSettingsResolver::Definition>;

// An unconditional assignment's key; "KEY[sdk=…]" holds for some builds only and is left out.
bool isSettingName(QStringView key)
{
    if (key.isEmpty() || key.front().isDigit())
        return false;
    return std::all_of(key.begin(), key.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
    });
}

QString settingValue(QStringView text)
{
    QStringView value = text.trimmed();
    if (value.endsWith(QLatin1Char(';')))
        value = value.chopped(1).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.sliced(1, value.size() - 2);
    return value.toString();
}

// The path of an include line ("#include "a.xcconfig"" or "#include? "a.xcconfig""); nothing
// for other lines and for the "<DEVELOPER_DIR>/…" form, which names files outside the project.
std::optional<QString> includedPath(QStringView line)
{
    const QLatin1String directive("#include");
    if (!line.startsWith(directive))
        return std::nullopt;
    QStringView rest = line.sliced(directive.size());
    if (rest.startsWith(QLatin1Char('?')))
        rest = rest.sliced(1);
    rest = rest.trimmed();
    if (rest.size() < 2 || !rest.startsWith(QLatin1Char('"')))
        return std::nullopt;
    const qsizetype close = rest.indexOf(QLatin1Char('"'), 1);
    if (close <= 1)
        return std::nullopt;
    return rest.sliced(1, close - 1).toString();
}

struct Reading
{
    QString projectFolder;
    QStringList chain; // the files being read, outermost first
    int files = 0;

    Definitions read(const QString &path)
    {
        const QString resolved = ProjectFile::resolvedPath(path);
        if (chain.contains(resolved) || chain.size() >= maximumIncludeDepth || files >= maximumFiles)
            return {};
        ++files;
        const Result<QByteArray> bytes = ProjectFile::read(path, projectFolder);
        if (!bytes)
            return {};
        chain.append(resolved);
        const QDir folder = QFileInfo(path).absoluteDir();
        Definitions definitions = parse(QString::fromUtf8(bytes.value()), [&](const QString &included) {
            return read(QDir::cleanPath(folder.absoluteFilePath(included)));
        });
        chain.removeLast();
        return definitions;
    }
};

} // namespace

Definitions parse(const QString &text, const std::function<Definitions(const QString &path)> &include)
{
    Definitions definitions;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        // "//" opens a comment anywhere on the line; values that need two slashes write "/$()/".
        if (const qsizetype comment = line.indexOf(QLatin1String("//")); comment >= 0)
            line = line.first(comment);
        line = line.trimmed();
        if (line.startsWith(QChar::ByteOrderMark))
            line = line.sliced(1).trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('#'))) {
            if (const auto path = includedPath(line))
                definitions += include(*path);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QStringView key = line.first(equals).trimmed();
        if (isSettingName(key))
            definitions.append({key.toString(), settingValue(line.sliced(equals + 1))});
    }
    return definitions;
}

Definitions read(const QString &path, const QString &projectFolder)
{
    Reading reading{projectFolder, {}, 0};
    return reading.read(QDir::cleanPath(path));
}

} // namespace XcconfigReader
