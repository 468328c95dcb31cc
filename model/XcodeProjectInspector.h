#pragma once

#include "SimPlatform.h"

#include <QString>
#include <QStringList>

#include <optional>

// Reads what the program needs from the text of a project.pbxproj. Pure functions, except
// resolvedBundleIdentifier with a project folder and readProjectFile, which read files.
namespace XcodeProjectInspector {

// More regions than any app localises into; a hostile list ends here.
inline constexpr qsizetype maxKnownRegions = 1000;

// The languages of "knownRegions = ( … )", without "Base" and repeats, in order; at most
// maxKnownRegions of them (the first ones).
QStringList knownRegions(const QString &pbxproj);

struct LaunchTarget
{
    QString name;
    SimPlatform platform = SimPlatform::iOS;
    bool macOSOnly = false; // built for macOS alone: no simulator runs it (platform says nothing then)
    bool operator==(const LaunchTarget &) const = default;
};

// The application target: of the native targets whose product is an application, in the
// project's target order, the first built for iOS, else the first built for another simulator
// platform, else the first built for macOS alone. Its name and platform; nothing when there
// is no application target.
std::optional<LaunchTarget> launchTarget(const QString &pbxproj);

// The file name of the application target's product ("Lumen.app"); nothing when unknown.
std::optional<QString> applicationProductFile(const QString &pbxproj);

// The application target's PRODUCT_BUNDLE_IDENTIFIER as written in the project file (a
// build-setting reference such as "$(PRODUCT_NAME)" is not resolved); nothing when absent.
std::optional<QString> applicationBundleIdentifier(const QString &pbxproj);

// The application target's PRODUCT_BUNDLE_IDENTIFIER as a build of the Release configuration
// (else the first) gives it: the target's settings over the .xcconfig its configuration is
// based on, over the project's settings and their .xcconfig, references substituted. Another
// configuration is asked only when that one defines no identifier at all. The .xcconfig files
// are read from inside `projectFolder` only (none when it is empty). Nothing when absent or
// when a reference is left that cannot be resolved.
std::optional<QString> resolvedBundleIdentifier(const QString &pbxproj, const QString &projectFolder);

// The application target's MARKETING_VERSION; nothing when absent.
std::optional<QString> marketingVersion(const QString &pbxproj);

// Reads "<xcodeproj>/project.pbxproj" as UTF-8; empty text when it cannot be read, is no
// regular file of at most ProjectFile::maximumSize bytes or leads out of the folder that
// holds the .xcodeproj.
QString readProjectFile(const QString &xcodeprojPath);

} // namespace XcodeProjectInspector
