#pragma once

#include <BuildConfiguration.h>
#include <SimPlatform.h>
#include <XcodeProject.h>
#include <XcodeProjectInspector.h>

#include <Result.h>

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Builds the shell script that builds the user's app and launches it in the newest
// suitable simulator, optionally with the recorder library injected.
namespace SimulatorLaunch {

struct Location
{
    double latitude = 0;
    double longitude = 0;
};

struct RecorderSettings
{
    QString sourcesDirectory;   // where recorder.swift and ctor.c lie
    QString libraryPath;        // the library to build and inject
    quint16 port = 52673;
    QString targetTriple = QStringLiteral("arm64-apple-ios15.0-simulator");
};

// What a launch of a project builds and starts in a configuration.
struct AppToLaunch
{
    std::optional<XcodeProjectInspector::LaunchTarget> target; // none: the project file names no application target
    QString scheme;             // the scheme that builds it; the project's name without a target
    QString configuration;      // the configuration built: the one asked for, else the project's default
    QString bundleIdentifier;   // resolved for that configuration, else the project's own
};

// Reads the project's project.pbxproj (and the .xcconfig and Info.plist files it names)
// to find what a launch in that configuration builds and starts.
AppToLaunch appToLaunch(const XcodeProject &project, BuildConfiguration configuration);

// "<application support>/VeloranceStudio/RecorderDylib" (temporary folder as fallback).
QString recorderDirectory();
// Writes recorder.swift and ctor.c into recorderDirectory(), each only when it differs.
Status installRecorderTemplate();

// The whole launch script (pure). Every value passes through one shell-quoting helper.
// It runs under `set -e`, prints "== … ==" progress lines, and leaves the chosen simulator in
// $UDID (also $PROJECT, $SCHEME, $APP) for commands appended after it. The scheme is the
// given one when `xcodebuild -list` shows it, else the project's first scheme; the simulator
// is the newest runtime's booted (else last listed) device of the platform's family. With a
// workspace (one that builds the project with its pods), schemes are listed, the app built
// and its build settings read through the workspace ($WORKSPACE) instead of the project.
// `configurationName`, when given, is built in place of `configuration` (a project without
// that configuration builds its default one).
QString makeScript(const QString &xcodeprojPath,
                   const QString &scheme,
                   const QString &bundleIdentifier,
                   SimPlatform platform,
                   BuildConfiguration configuration,
                   const QMap<QString, QString> &launchEnvironment,
                   const QStringList &launchArguments,
                   const std::optional<Location> &location,
                   const std::optional<RecorderSettings> &recorder,
                   const std::optional<QString> &workspacePath = std::nullopt,
                   const std::optional<QString> &configurationName = std::nullopt);

// Finds and opens the Accessibility Inspector; every failure is swallowed.
void openAccessibilityInspector();
// Tests and the demo point these elsewhere; defaults "/usr/bin/xcode-select" and "/usr/bin/open".
void setToolPaths(const QString &xcodeSelect, const QString &open);

} // namespace SimulatorLaunch
