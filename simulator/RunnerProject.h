#pragma once

#include <ScreenshotPlan.h>

#include <Result.h>

#include <QString>
#include <QStringList>

// The generated XCUITest projects: the screenshot runner ("UIDump.xcodeproj", scheme
// "UIDumpUITests") and the interactive driver ("SimDriver.xcodeproj", scheme
// "SimDriverUITests"), written from the embedded templates.
namespace RunnerProject {

inline constexpr char16_t screenshotProjectName[] = u"UIDump";
inline constexpr char16_t screenshotScheme[] = u"UIDumpUITests";
inline constexpr char16_t driverProjectName[] = u"SimDriver";
inline constexpr char16_t driverScheme[] = u"SimDriverUITests";
// Lists languages and screenshot files of a runner project, one tab-separated entry a line
// ("language\t<code>\t<folder>", "shot\t<index>\t<file>", "location\t<index>\t<lat>,<lon>"),
// for tools that follow the run.
inline constexpr char16_t manifestFileName[] = u"RunManifest.txt";

// "<folder>/<name>.xcodeproj".
QString projectPath(const QString &folder, const QString &projectName);

// A name that is safe as one path component: separators and control characters become "_",
// a leading dot is guarded, an empty name becomes "_".
QString safePathComponent(const QString &name);
// The screenshot file of the shot at `index` (from 0): "01-<safe name>.png".
QString screenshotFileName(int index, const QString &shotName);

// The runner's UI test for the plan (pure).
QString screenshotTestSource(const ScreenshotPlan &plan);

// Writes the screenshot runner into `folder` (created as needed); files whose content is
// unchanged are left alone so that the next build stays incremental.
Status writeScreenshotRunner(const QString &folder, const ScreenshotPlan &plan);
// Writes the interactive driver into `folder`.
Status writeDriver(const QString &folder);

} // namespace RunnerProject
