#pragma once

#include "FileNameCase.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// Workspaces that build a project together with others (CocoaPods puts "<App>.xcworkspace"
// beside "<App>.xcodeproj"; a repository may keep one at its top for projects in subfolders).
// Files are read through ProjectFile, inside the folder that holds the workspace.
namespace XcodeWorkspace {

// More projects than a workspace holds; a hostile list ends here.
inline constexpr qsizetype maximumProjects = 1000;
// Limits on one contents.xcworkspacedata. Real ones are a few kilobytes and nest groups a few
// deep; past a limit the workspace lists nothing.
inline constexpr qsizetype maximumBytes = 1024 * 1024;
inline constexpr int maximumElements = 20000;
inline constexpr int maximumNesting = 64;
inline constexpr qsizetype maximumPathLength = 4096;

// The ".xcodeproj" paths a contents.xcworkspacedata lists ("group:", "container:" and
// "absolute:" locations, groups nested), absolute and cleaned, in the file's order.
// `workspacePath` is the ".xcworkspace" folder. Empty for text that is no workspace.
QStringList projectPaths(const QByteArray &contents, const QString &workspacePath);

// Looks for the workspaces of many projects, as a scan does: each folder is listed and each
// workspace read at most once.
class Finder final
{
public:
    // The workspace that lists `xcodeprojPath`, looked for in `projectFolder` itself (not the
    // one inside the .xcodeproj), then in each enclosing folder up to `repositoryTop`, nearest
    // first. Within a folder the one named like the project comes first, then the others by
    // name. An empty `repositoryTop`, or one that does not enclose the project's folder, means
    // the project's folder alone. A project listed in other case than it is named on disk is
    // found as the Mac finds it (FileNameCase). Nothing when none lists the project.
    std::optional<QString> find(const QString &projectFolder, const QString &xcodeprojPath,
                                const QString &repositoryTop = QString());

private:
    QStringList workspacesIn(const QString &folder);
    QStringList projectsOf(const QString &workspace, const QString &folder);

    QHash<QString, QStringList> m_workspaces; // folder → the workspaces in it, by name
    QHash<QString, QStringList> m_projects;   // workspace → the projects it lists
    QHash<QString, FileNameCase::Finder> m_names; // folder → its files' names
};

// Finder::find for one project.
std::optional<QString> find(const QString &projectFolder, const QString &xcodeprojPath,
                            const QString &repositoryTop = QString());

} // namespace XcodeWorkspace
