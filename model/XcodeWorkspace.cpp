#include "XcodeWorkspace.h"

#include <ProjectFile.h>

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace XcodeWorkspace {
namespace {

constexpr auto workspaceSuffix = ".xcworkspace";

// The folder or file a location names; `group` is the folder of the enclosing group,
// `container` the folder that holds the workspace. Nothing for kinds outside the project
// ("developer:", "self:" and unknown ones).
std::optional<QString> locate(const QString &location, const QString &group, const QString &container)
{
    const qsizetype colon = location.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QStringView kind = QStringView(location).first(colon);
    const QString path = location.mid(colon + 1);
    if (kind == QLatin1String("group"))
        return QDir::cleanPath(QDir(group).filePath(path));
    if (kind == QLatin1String("container"))
        return QDir::cleanPath(QDir(container).filePath(path));
    if (kind == QLatin1String("absolute"))
        return QDir::cleanPath(path);
    return std::nullopt;
}

} // namespace

QStringList projectPaths(const QByteArray &contents, const QString &workspacePath)
{
    const QString container = QFileInfo(QDir::cleanPath(workspacePath)).absolutePath();
    QStringList groups{container}; // folders of the open groups, innermost last
    QStringList projects;
    QXmlStreamReader xml(contents);
    while (!xml.atEnd() && projects.size() < maximumProjects) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QString location = xml.attributes().value(QLatin1String("location")).toString();
            const auto path = locate(location, groups.last(), container);
            if (xml.name() == QLatin1String("Group")) {
                // A group without a location of its own keeps its parent's folder.
                groups.append(path.value_or(groups.last()));
            } else if (xml.name() == QLatin1String("FileRef") && path
                       && path->endsWith(QLatin1String(".xcodeproj"))) {
                projects.append(*path);
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("Group") && groups.size() > 1) {
            groups.removeLast();
        }
    }
    return projects;
}

std::optional<QString> find(const QString &projectFolder, const QString &xcodeprojPath)
{
    const QDir folder(projectFolder);
    const QString project = QDir::cleanPath(QFileInfo(xcodeprojPath).absoluteFilePath());
    QStringList names = folder.entryList({QStringLiteral("*") + QLatin1String(workspaceSuffix)},
                                         QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const QString preferred = QFileInfo(project).completeBaseName() + QLatin1String(workspaceSuffix);
    if (names.removeOne(preferred))
        names.prepend(preferred);
    for (const QString &name : names) {
        const QString workspace = QDir::cleanPath(folder.absoluteFilePath(name));
        const Result<QByteArray> contents =
            ProjectFile::read(workspace + QStringLiteral("/contents.xcworkspacedata"), projectFolder);
        if (contents && projectPaths(contents.value(), workspace).contains(project))
            return workspace;
    }
    return std::nullopt;
}

} // namespace XcodeWorkspace
