#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Workspaces that build a project together with others (CocoaPods puts "<App>.xcworkspace"
// beside "<App>.xcodeproj"). Files are read through ProjectFile, inside the project's folder.
namespace XcodeWorkspace {

// More projects than a workspace holds; a hostile list ends here.
inline constexpr qsizetype maximumProjects = 1000;

// The ".xcodeproj" paths a contents.xcworkspacedata lists ("group:", "container:" and
// "absolute:" locations, groups nested), absolute and cleaned, in the file's order.
// `workspacePath` is the ".xcworkspace" folder. Empty for text that is no workspace.
QStringList projectPaths(const QByteArray &contents, const QString &workspacePath);

// The workspace in `projectFolder` itself (not the one inside the .xcodeproj) that lists
// `xcodeprojPath`: the one named like the project when several do, else the first by name.
// Nothing when none does.
std::optional<QString> find(const QString &projectFolder, const QString &xcodeprojPath);

} // namespace XcodeWorkspace
