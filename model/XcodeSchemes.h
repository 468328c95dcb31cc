#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct XcodeProject;

// The scheme a build of the application target goes through. Xcode names schemes freely
// ("App-Production", "App-Staging"), and the first one `xcodebuild -list` prints may build
// only tests or an extension; the shared schemes say which one runs the app.
namespace XcodeSchemes {

// More scheme files than a project shares; a hostile folder ends here.
inline constexpr qsizetype maximumSchemes = 500;

// What a scheme does with the application target.
enum class Use { None, Builds, Launches };

// The buildable a scheme's BuildableReference may name: the target's name (BlueprintName),
// its product's file name (BuildableName) and the project holding it (ReferencedContainer).
struct Target
{
    QString name;
    QString productFile;   // "Lumen.app"; empty when unknown
    QString projectFile;   // "Lumen.xcodeproj"
};

// What the .xcscheme text does with the target: Launches when its LaunchAction runs it,
// else Builds when its BuildAction builds it, else None (also for text that is no scheme).
Use use(const QByteArray &scheme, const Target &target);

// The scheme to build the application target `targetName` of the project file `pbxproj`
// with: the target's own name when a scheme of that name exists (shared or a user's) or when
// no shared scheme (of the project, or of its workspace) runs or builds the target; otherwise
// the first shared scheme by name that runs it, else the first that builds it. Scheme files
// are read inside the project's folder only.
QString schemeFor(const XcodeProject &project, const QString &pbxproj, const QString &targetName);

} // namespace XcodeSchemes
