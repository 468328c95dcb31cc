#include "XcodeWorkspace.h"

#include "FileNameCase.h"

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
    if (contents.size() > maximumBytes)
        return {};
    const QString container = QFileInfo(QDir::cleanPath(workspacePath)).absolutePath();
    QStringList groups{container}; // folders of the open groups, innermost last
    QStringList projects;
    int elements = 0;
    QXmlStreamReader xml(contents);
    while (!xml.atEnd() && projects.size() < maximumProjects) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (++elements > maximumElements)
                return {};
            const QString location = xml.attributes().value(QLatin1String("location")).toString();
            const auto path = locate(location, groups.last(), container);
            if (path && path->size() > maximumPathLength)
                return {};
            if (xml.name() == QLatin1String("Group")) {
                if (groups.size() > maximumNesting)
                    return {};
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

std::optional<QString> Finder::find(const QString &projectFolder, const QString &xcodeprojPath, const QString &repositoryTop)
{
    const QString project = QDir::cleanPath(QFileInfo(xcodeprojPath).absoluteFilePath());
    const QString preferred = QFileInfo(project).completeBaseName() + QLatin1String(workspaceSuffix);
    QString folder = QDir::cleanPath(QFileInfo(projectFolder).absoluteFilePath());
    const QString top = repositoryTop.isEmpty() ? folder : QDir::cleanPath(QFileInfo(repositoryTop).absoluteFilePath());
    const bool climbs = folder.startsWith(top + QLatin1Char('/'));
    while (true) {
        QStringList names = workspacesIn(folder);
        if (names.removeOne(preferred))
            names.prepend(preferred);
        for (const QString &name : std::as_const(names)) {
            const QString workspace = folder + QLatin1Char('/') + name;
            if (projectsOf(workspace, folder).contains(project))
                return workspace;
        }
        if (!climbs || folder == top)
            return std::nullopt;
        folder = QFileInfo(folder).path();
    }
}

QStringList Finder::workspacesIn(const QString &folder)
{
    auto it = m_workspaces.find(folder);
    if (it == m_workspaces.end()) {
        it = m_workspaces.insert(folder, QDir(folder).entryList({QStringLiteral("*") + QLatin1String(workspaceSuffix)},
                                                                QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
    }
    return *it;
}

QStringList Finder::projectsOf(const QString &workspace, const QString &folder)
{
    auto it = m_projects.find(workspace);
    if (it != m_projects.end())
        return *it;
    const QString path = workspace + QStringLiteral("/contents.xcworkspacedata");
    QStringList projects;
    // The size is looked at first, so a huge file is never read.
    if (ProjectFile::stamp(path).size <= maximumBytes) {
        if (const Result<QByteArray> contents = ProjectFile::read(path, folder))
            projects = projectPaths(contents.value(), workspace);
    }
    // A project listed in other case than its folder's name is the one the Mac opens.
    auto names = m_names.find(folder);
    if (names == m_names.end())
        names = m_names.insert(folder, FileNameCase::Finder(folder));
    for (QString &project : projects)
        project = names->existing(project);
    m_projects.insert(workspace, projects);
    return projects;
}

std::optional<QString> find(const QString &projectFolder, const QString &xcodeprojPath, const QString &repositoryTop)
{
    return Finder().find(projectFolder, xcodeprojPath, repositoryTop);
}

} // namespace XcodeWorkspace
