#pragma once

#include "SimPlatform.h"

#include <QString>
#include <QStringList>

#include <optional>

// Reads what the program needs from the text of a project.pbxproj. Pure functions, except
// those given a project folder and readProjectFile, which read files.
namespace XcodeProjectInspector {

// More regions than any app localises into; a hostile list ends here.
inline constexpr qsizetype maxKnownRegions = 1000;
// More values (strings, lists, dictionaries) than the project file of any real app holds,
// several times over; a project file with more counts as unreadable.
inline constexpr qsizetype maximumValues = 300000;

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
// platform, else the first built for macOS alone. Its name and platform in the Release
// configuration, from the project file alone; nothing when there is no application target.
std::optional<LaunchTarget> launchTarget(const QString &pbxproj);

// What a build of one configuration gives the application target, with its settings stacked
// as the build stacks them: the project's .xcconfig, the project's settings, the target's
// .xcconfig, the target's settings, references substituted.
struct ApplicationBuild
{
    LaunchTarget target;                      // chosen and its platform read in that configuration
    QString configuration;                    // the one built: the one asked for, else the project's default
    std::optional<QString> bundleIdentifier;  // nothing when absent, unresolved or no valid identifier
    std::optional<QString> marketingVersion;  // else the Info.plist's CFBundleShortVersionString
    bool operator==(const ApplicationBuild &) const = default;
};

// The application target of the project file built in `configuration`. The identifier and
// the version come from that configuration; another one is asked only when that one does not
// define them at all. The .xcconfig files and the Info.plist are read, each at most once,
// from anywhere inside the project's repository: `repositoryTop` when it encloses
// `projectFolder`, else as RepositoryTop::of finds it (the project's folder when no top is
// known); none when `projectFolder` is empty. Nothing when the project file names no
// application target.
std::optional<ApplicationBuild> applicationBuild(const QString &pbxproj, const QString &projectFolder,
                                                 const QString &configuration = QStringLiteral("Release"),
                                                 const QString &repositoryTop = QString());

// True for text a bundle identifier may be: letters and digits (ASCII), "-" and ".", not
// empty, no "." at either end and no "..".
bool isBundleIdentifier(const QString &text);

// The file name of the application target's product ("Lumen.app"); nothing when unknown.
std::optional<QString> applicationProductFile(const QString &pbxproj);

// The application target's PRODUCT_BUNDLE_IDENTIFIER as written in the project file (a
// build-setting reference such as "$(PRODUCT_NAME)" is not resolved); nothing when absent.
std::optional<QString> applicationBundleIdentifier(const QString &pbxproj);

// applicationBuild's identifier and version for the Release configuration.
std::optional<QString> resolvedBundleIdentifier(const QString &pbxproj, const QString &projectFolder);
std::optional<QString> marketingVersion(const QString &pbxproj);

// Reads "<xcodeproj>/project.pbxproj" as UTF-8; empty text when it cannot be read, is no
// regular file of at most ProjectFile::maximumSize bytes or leads out of the folder that
// holds the .xcodeproj.
QString readProjectFile(const QString &xcodeprojPath);

} // namespace XcodeProjectInspector
