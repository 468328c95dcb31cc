#pragma once

#include <XcodeProject.h>

#include <QList>
#include <QString>

// Finds the Xcode projects under a folder. Pure functions over the file system: safe to
// call on a worker thread.
namespace ProjectScanner {

// How deep below the root a project folder may lie ("Repo/apps/ios" is three deep).
constexpr int maximumDepth = 4;

// "~" and "~/…" turned into the user's home folder; anything else unchanged.
QString expandTilde(const QString &path);

// True for folders the scan never enters: hidden ones (".build" among them) and those that
// hold dependencies or build output: "build", "DerivedData", "Pods", "node_modules",
// "Carthage", "SourcePackages", "vendor".
bool isSkippedFolder(const QString &name);

// Every folder one to maximumDepth levels below `root` that holds an ".xcodeproj", sorted by
// name; a project's own subfolders are not searched. Folders that cannot be read are skipped;
// a missing root gives an empty list. A link directly in `root` is followed wherever it leads;
// a link further down only to a place inside `root`, or inside the repository that a link in
// `root` leads to. A folder reached through links is looked at once: where it is reached
// without a link, else where it is reached first.
//
// A project's workspace is looked for in its folder, then in each folder above it up to its
// repository's top (the folder directly below `root`). A project without a fastlane folder of
// its own takes that of the nearest repository top above it (the folder directly below
// `root`, or one holding ".git") that has one, unless the folder is another project's, or
// other projects lie under it and the project is not the only one of them with an
// application target. Of several applications there, the fastlane folder goes to the one
// whose Release identifier the folder's Appfile names, else to the one named like a
// workspace at the top that lists it, else to none.
QList<XcodeProject> scan(const QString &root);

// The project of one folder, or nothing when it holds no ".xcodeproj". Its fastlane folder and
// workspace are only the folder's own.
std::optional<XcodeProject> inspectFolder(const QString &folder);

} // namespace ProjectScanner
