#pragma once

#include <Result.h>

#include <QString>

// The generated workspace of sample apps that demo mode scans instead of the projects
// folder: three apps with project files, fastlane folders, one launch-flag manifest and one
// screenshot plan.
namespace DemoWorkspace {

// "<application data>/VeloranceStudio/demo-workspace"
QString defaultFolder();
// The marker file whose presence says the workspace is complete and current.
QString markerName(); // ".demo-v2"

// Builds the workspace in `folder` unless its marker is there; a folder without the marker
// (half-written, or from an older version) is rebuilt from scratch. Returns the folder.
Result<QString> prepare(const QString &folder);

// The text of a project.pbxproj for the sample apps (exposed for the tests).
struct TargetSpec
{
    QString name;
    bool application = true;   // otherwise a framework
    QString sdk;               // "iphoneos", "appletvos"
    QString bundleIdentifier;
    QString marketingVersion;
    QString deviceFamily;      // "1,2" iPhone and iPad, "3" Apple TV
};
QString projectFile(const QString &projectName, const QStringList &knownRegions, const QList<TargetSpec> &targets);

} // namespace DemoWorkspace
