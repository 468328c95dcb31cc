#pragma once

#include <XcodeProject.h>

#include <QList>
#include <QString>

// Finds the Xcode projects under a folder. Pure functions over the file system: safe to
// call on a worker thread.
namespace ProjectScanner {

// How deep below the root a project folder may lie.
constexpr int maximumDepth = 2;

// "~" and "~/…" turned into the user's home folder; anything else unchanged.
QString expandTilde(const QString &path);

// True for folders the scan never enters: hidden ones, "build", "DerivedData", "Pods",
// "node_modules".
bool isSkippedFolder(const QString &name);

// Every folder one or two levels below `root` that holds an ".xcodeproj", sorted by name.
// Folders that cannot be read are skipped; a missing root gives an empty list. A project
// without a fastlane folder of its own takes that of the nearest folder above it and below
// `root` that has one, unless another project lies under that folder too.
QList<XcodeProject> scan(const QString &root);

// The project of one folder, or nothing when it holds no ".xcodeproj". Its fastlane folder is
// only the folder's own.
std::optional<XcodeProject> inspectFolder(const QString &folder);

} // namespace ProjectScanner
