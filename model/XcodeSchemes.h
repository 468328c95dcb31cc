#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct XcodeProject;

// The scheme a build of the application target goes through. Xcode names schemes freely
// ("App-Production", "App-Staging"), and the first one `xcodebuild -list` prints may build
// only tests or an extension; the shared schemes say which one builds and runs the app.
namespace XcodeSchemes {

// More scheme files than a project shares; a hostile folder ends here.
inline constexpr qsizetype maximumSchemes = 500;
// Limits on what one scheme choice reads. Real schemes are a few kilobytes, hold a few
// hundred elements and nest six deep; past a limit a scheme counts as unreadable.
inline constexpr qint64 maximumSchemeBytes = 1024 * 1024;
inline constexpr qint64 maximumTotalBytes = 8 * 1024 * 1024;
inline constexpr int maximumElements = 20000;
inline constexpr int maximumNesting = 32;

// What a scheme does with the application target. Builds and Launches both build it for
// running (`buildForRunning="YES"` on its BuildActionEntry); Launches also runs it directly
// from its LaunchAction (not one that asks for the app to launch, as an extension's does).
enum class Use { None, Builds, Launches };

// The buildable a scheme's BuildableReference may name: the target's name (BlueprintName),
// its product's file name (BuildableName) and the project holding it (ReferencedContainer).
struct Target
{
    QString name;
    QString productFile;   // "Lumen.app"; empty when unknown
    QString projectFile;   // "Lumen.xcodeproj"
};

// What the .xcscheme text does with the target. None also for text that is no scheme, and for
// text past the limits above.
Use use(const QByteArray &scheme, const Target &target);

// The scheme to build the application target `targetName` of the project file `pbxproj`
// with. Of the schemes that build the target for running (the shared ones of the project and
// of its workspace, and a user's scheme named like the target): the one named like the
// target, else the first that launches it, else the first; in name order (a name before every
// longer one it begins: "Shop" before "Shop Beta"), the project's before the workspace's. The
// target's name when none does (the launch script then takes what the project lists). Scheme
// files are read inside the project's folder only, each at most once.
QString schemeFor(const XcodeProject &project, const QString &pbxproj, const QString &targetName);

} // namespace XcodeSchemes
