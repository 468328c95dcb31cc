#pragma once

#include "SimPlatform.h"

#include <QString>
#include <QStringList>

#include <optional>

// Reads what the program needs from the text of a project.pbxproj. Pure functions.
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
    bool operator==(const LaunchTarget &) const = default;
};

// The application target's name and platform; nothing when there is no application target.
std::optional<LaunchTarget> launchTarget(const QString &pbxproj);

// The application target's PRODUCT_BUNDLE_IDENTIFIER (a build-setting reference such as
// "$(PRODUCT_NAME)" is returned as written, not resolved); nothing when absent.
std::optional<QString> applicationBundleIdentifier(const QString &pbxproj);

// The application target's MARKETING_VERSION; nothing when absent.
std::optional<QString> marketingVersion(const QString &pbxproj);

// Reads "<xcodeproj>/project.pbxproj" as UTF-8; empty text when it cannot be read or is
// no regular file of at most ProjectFile::maximumSize bytes.
QString readProjectFile(const QString &xcodeprojPath);

} // namespace XcodeProjectInspector
