#pragma once

#include <ScreenshotPlan.h>

#include <QString>
#include <QStringList>

// Generates UI-test source (Swift) from a plan. Every value reaching the source is escaped
// as a string literal, so the file always compiles.
namespace ShotTestGenerator {

// The source of a fastlane-snapshot style UI test with the given class name.
QString snapshotTestSource(const ScreenshotPlan &plan, const QString &className);

// The Swift lines that replay one step (shared with the screenshot runner's test). They call
// the functions of stepHelperFunctions() on a local `app` (XCUIApplication).
QStringList stepLines(const ShotStep &step, const QString &indent);

// The private vrsTap/vrsType/vrsSwipe functions the step lines call (file scope, ends with a
// newline; embedded as templates/steps/StepHelpers.swift); every file that holds step lines
// needs them once.
QString stepHelperFunctions();

// `text` as a Swift string literal, quotes included.
QString swiftStringLiteral(const QString &text);

} // namespace ShotTestGenerator
