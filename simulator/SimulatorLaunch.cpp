#include "SimulatorLaunch.h"

#include "SimulatorLocation.h"
#include "SimulatorTemplates.h"

#include <AppPaths.h>
#include <ShellQuote.h>
#include <SystemErrorText.h>
#include <XcodeSchemes.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace SimulatorLaunch {
namespace {

QString &xcodeSelectPath()
{
    static QString path = QStringLiteral("/usr/bin/xcode-select");
    return path;
}

QString &openPath()
{
    static QString path = QStringLiteral("/usr/bin/open");
    return path;
}

// The runtime names in `xcrun simctl list` section headers ("-- iOS 17.2 --") and the
// device-name prefix that suits an app of the platform.
struct PlatformDevices
{
    QString runtimes;
    QString devicePrefix;
};

PlatformDevices devicesFor(SimPlatform platform)
{
    switch (platform) {
    case SimPlatform::iOS:
        return {QStringLiteral("iOS"), QStringLiteral("iPhone")};
    case SimPlatform::visionOS:
        return {QStringLiteral("visionOS xrOS"), QStringLiteral("Apple Vision")};
    case SimPlatform::tvOS:
        return {QStringLiteral("tvOS"), QStringLiteral("Apple TV")};
    case SimPlatform::watchOS:
        return {QStringLiteral("watchOS"), QStringLiteral("Apple Watch")};
    }
    return {QStringLiteral("iOS"), QStringLiteral("iPhone")};
}

QString assign(const char *name, const QString &value)
{
    return QLatin1String(name) + QLatin1Char('=') + ShellQuote::quote(value) + QLatin1Char('\n');
}

// Shell functions and steps that need no values of the caller.
const char *const scriptHelpers = R"SH(set -e
vrs_step() { printf '== %s ==\n' "$1"; }
vrs_fail() { printf 'Fehler: %s\n' "$1"; exit 1; }
)SH";

const char *const recorderBuild = R"SH(if [ ! -f "$RECORDER_LIBRARY" ] || [ "$RECORDER_SOURCES/recorder.swift" -nt "$RECORDER_LIBRARY" ] || [ "$RECORDER_SOURCES/ctor.c" -nt "$RECORDER_LIBRARY" ]; then
  vrs_step "Recorder-Bibliothek bauen"
  [ -f "$RECORDER_SOURCES/recorder.swift" ] && [ -f "$RECORDER_SOURCES/ctor.c" ] || vrs_fail "Die Quellen der Recorder-Bibliothek fehlen in $RECORDER_SOURCES."
  mkdir -p "$(dirname "$RECORDER_LIBRARY")"
  RECORDER_BUILD=$(mktemp -d "${TMPDIR:-/tmp}/velorance-recorder.XXXXXX")
  xcrun -sdk iphonesimulator clang -target "$RECORDER_TARGET" -c "$RECORDER_SOURCES/ctor.c" -o "$RECORDER_BUILD/ctor.o"
  xcrun -sdk iphonesimulator swiftc -target "$RECORDER_TARGET" -emit-library -module-name VeloranceRecorder -o "$RECORDER_LIBRARY" "$RECORDER_SOURCES/recorder.swift" "$RECORDER_BUILD/ctor.o"
  rm -rf "$RECORDER_BUILD"
fi
)SH";

// Scheme: the given one when the project lists it, else the project's first scheme.
const char *const schemeChoice = R"SH(vrs_step "Schema wählen"
SCHEMES=$(xcodebuild -list -project "$PROJECT" 2>/dev/null | awk '
  /^[[:space:]]*Schemes:[[:space:]]*$/ { inside = 1; next }
  inside && /^[[:space:]]*$/ { inside = 0 }
  inside { sub(/^[[:space:]]+/, ""); sub(/[[:space:]]+$/, ""); print }') || SCHEMES=
if [ -n "$SCHEMES" ] && ! printf '%s\n' "$SCHEMES" | grep -Fx -e "$SCHEME" >/dev/null 2>&1; then
  SCHEME=$(printf '%s\n' "$SCHEMES" | head -n 1)
fi
vrs_step "Schema: $SCHEME"
)SH";

// Device: the newest runtime of the platform; in it a booted device first, else the last listed.
const char *const deviceChoice = R"SH(vrs_step "Simulator suchen ($PLATFORM)"
DEVICES=$(xcrun simctl list devices available)
UDID=$(printf '%s\n' "$DEVICES" | VRS_RUNTIMES="$RUNTIMES" VRS_PREFIX="$DEVICE_PREFIX" awk '
  function version(text,   parts, n, i, v) {
    n = split(text, parts, "."); v = 0
    for (i = 1; i <= 3; i++) v = v * 1000 + (i <= n ? parts[i] + 0 : 0)
    return v
  }
  BEGIN { split(ENVIRON["VRS_RUNTIMES"], names, " "); prefix = ENVIRON["VRS_PREFIX"]; best = ""; bestVersion = -1; bestBooted = 0; current = -1 }
  /^-- .* --[[:space:]]*$/ {
    current = -1; header = $0; sub(/^-- /, "", header); sub(/ --[[:space:]]*$/, "", header)
    n = split(header, words, " ")
    for (k in names) if (n >= 2 && words[1] == names[k]) current = version(words[2])
    next
  }
  current >= 0 {
    line = $0; sub(/^[[:space:]]+/, "", line)
    if (index(line, prefix) != 1) next
    udid = ""; rest = line
    while (match(rest, /\([0-9A-Fa-f-]+\)/)) {
      if (RLENGTH == 38) udid = substr(rest, RSTART + 1, 36)
      rest = substr(rest, RSTART + RLENGTH)
    }
    if (udid == "") next
    booted = (line ~ /\(Booted\)[[:space:]]*$/) ? 1 : 0
    if (current > bestVersion || (current == bestVersion && booted >= bestBooted)) { best = udid; bestVersion = current; bestBooted = booted }
  }
  END { print best }')
[ -n "$UDID" ] || vrs_fail "Kein verfügbarer $PLATFORM-Simulator gefunden."
vrs_step "Simulator: $UDID"
vrs_step "Simulator starten"
xcrun simctl boot "$UDID" >/dev/null 2>&1 || true
open -a Simulator --args -CurrentDeviceUDID "$UDID" >/dev/null 2>&1 || true
xcrun simctl bootstatus "$UDID" -b
)SH";

// Build, then find the built app through the build settings (the target whose product is an app).
const char *const buildAndInstall = R"SH(vrs_step "App bauen ($CONFIGURATION)"
xcodebuild build -project "$PROJECT" -scheme "$SCHEME" -configuration "$CONFIGURATION" -destination "id=$UDID"
APP=$(xcodebuild -showBuildSettings -project "$PROJECT" -scheme "$SCHEME" -configuration "$CONFIGURATION" -destination "id=$UDID" 2>/dev/null | awk '
  function take() { if (found == "" && ext == "app" && dir != "" && name != "") found = dir "/" name }
  /^Build settings for / { take(); dir = ""; name = ""; ext = ""; next }
  {
    line = $0; sub(/^[[:space:]]+/, "", line)
    eq = index(line, " = "); if (eq == 0) next
    key = substr(line, 1, eq - 1); value = substr(line, eq + 3)
    if (key == "TARGET_BUILD_DIR") dir = value
    else if (key == "FULL_PRODUCT_NAME") name = value
    else if (key == "WRAPPER_EXTENSION") ext = value
  }
  END { take(); print found }') || APP=
[ -n "$APP" ] && [ -d "$APP" ] || vrs_fail "Die gebaute App wurde nicht gefunden."
vrs_step "App installieren"
xcrun simctl install "$UDID" "$APP"
)SH";

// A step's xcodebuild calls, through the workspace instead of the project where there is one.
QString throughContainer(const char *step, bool workspace)
{
    QString text = QString::fromUtf8(step);
    if (workspace)
        text.replace(QLatin1String("-project \"$PROJECT\""), QLatin1String("-workspace \"$WORKSPACE\""));
    return text;
}

QString launchCommand(const QMap<QString, QString> &environment, const QStringList &arguments,
                      const std::optional<RecorderSettings> &recorder)
{
    QStringList assignments;
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        assignments.append(QStringLiteral("SIMCTL_CHILD_") + it.key() + QLatin1Char('=') + it.value());
    if (recorder) {
        assignments.append(QStringLiteral("SIMCTL_CHILD_DYLD_INSERT_LIBRARIES=") + recorder->libraryPath);
        assignments.append(QStringLiteral("SIMCTL_CHILD_VRR_PORT=") + QString::number(recorder->port));
    }
    // `env` takes each assignment as one word, so no key or value is read by the shell.
    QString command;
    if (!assignments.isEmpty())
        command = QStringLiteral("env ") + ShellQuote::join(assignments) + QLatin1Char(' ');
    command += QStringLiteral("xcrun simctl launch --terminate-running-process \"$UDID\" \"$BUNDLE_ID\"");
    if (!arguments.isEmpty())
        command += QLatin1Char(' ') + ShellQuote::join(arguments);
    return command + QLatin1Char('\n');
}

Status writeIfDifferent(const QString &path, const QByteArray &content)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return Status::success();
    existing.close();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        return Status::failure(QStringLiteral("%1 konnte nicht geschrieben werden: %2")
                                   .arg(path, SystemErrorText::localized(file.errorString())));
    return Status::success();
}

} // namespace

AppToLaunch appToLaunch(const XcodeProject &project, BuildConfiguration configuration)
{
    AppToLaunch app;
    app.scheme = project.name;
    app.configuration = BuildConfigurations::xcodeName(configuration);
    app.bundleIdentifier = project.bundleIdentifier.value_or(QString());
    if (!project.xcodeprojPath)
        return app;
    const QString xcodeproj = *project.xcodeprojPath;
    const QString pbxproj = XcodeProjectInspector::readProjectFile(xcodeproj);
    const auto build = XcodeProjectInspector::applicationBuild(pbxproj, QFileInfo(xcodeproj).absolutePath(),
                                                               app.configuration);
    if (!build)
        return app;
    app.target = build->target;
    app.scheme = XcodeSchemes::schemeFor(project, pbxproj, build->target.name);
    app.configuration = build->configuration;
    if (build->bundleIdentifier)
        app.bundleIdentifier = *build->bundleIdentifier;
    return app;
}

QString recorderDirectory()
{
    return AppPaths::workFolder(QStringLiteral("RecorderDylib"));
}

Status installRecorderTemplate()
{
    const QString directory = recorderDirectory();
    if (!QDir().mkpath(directory))
        return Status::failure(QStringLiteral("Ordner konnte nicht angelegt werden: ") + directory);
    for (const QString &name : {QStringLiteral("recorder.swift"), QStringLiteral("ctor.c")}) {
        const QByteArray content = SimulatorTemplates::bytes(QStringLiteral("recorder/") + name);
        if (content.isEmpty())
            return Status::failure(QStringLiteral("Vorlage fehlt: ") + name);
        if (Status status = writeIfDifferent(QDir(directory).filePath(name), content); !status)
            return status;
    }
    return Status::success();
}

QString makeScript(const QString &xcodeprojPath,
                   const QString &scheme,
                   const QString &bundleIdentifier,
                   SimPlatform platform,
                   BuildConfiguration configuration,
                   const QMap<QString, QString> &launchEnvironment,
                   const QStringList &launchArguments,
                   const std::optional<Location> &location,
                   const std::optional<RecorderSettings> &recorder,
                   const std::optional<QString> &workspacePath,
                   const std::optional<QString> &configurationName)
{
    const PlatformDevices devices = devicesFor(platform);
    QString script = QString::fromUtf8(scriptHelpers);
    script += assign("PROJECT", xcodeprojPath);
    if (workspacePath)
        script += assign("WORKSPACE", *workspacePath);
    script += assign("SCHEME", scheme);
    script += assign("BUNDLE_ID", bundleIdentifier);
    script += assign("CONFIGURATION", configurationName.value_or(BuildConfigurations::xcodeName(configuration)));
    script += assign("PLATFORM", SimPlatforms::displayName(platform));
    script += assign("RUNTIMES", devices.runtimes);
    script += assign("DEVICE_PREFIX", devices.devicePrefix);
    if (recorder) {
        script += assign("RECORDER_SOURCES", recorder->sourcesDirectory);
        script += assign("RECORDER_LIBRARY", recorder->libraryPath);
        script += assign("RECORDER_TARGET", recorder->targetTriple);
        script += QString::fromUtf8(recorderBuild);
    }
    script += throughContainer(schemeChoice, workspacePath.has_value());
    script += QString::fromUtf8(deviceChoice);
    script += throughContainer(buildAndInstall, workspacePath.has_value());
    if (location) {
        script += QStringLiteral("vrs_step \"Standort setzen\"\n");
        script += QStringLiteral("xcrun simctl location \"$UDID\" set ")
            + ShellQuote::quote(SimulatorLocation::coordinateArgument(location->latitude, location->longitude))
            + QLatin1Char('\n');
    }
    script += QStringLiteral("vrs_step \"App starten\"\n");
    script += launchCommand(launchEnvironment, launchArguments, recorder);
    script += QStringLiteral("vrs_step \"Fertig\"\n");
    return script;
}

void setToolPaths(const QString &xcodeSelect, const QString &open)
{
    xcodeSelectPath() = xcodeSelect.isEmpty() ? QStringLiteral("/usr/bin/xcode-select") : xcodeSelect;
    openPath() = open.isEmpty() ? QStringLiteral("/usr/bin/open") : open;
}

void openAccessibilityInspector()
{
    QProcess select;
    select.setProcessChannelMode(QProcess::SeparateChannels);
    select.start(xcodeSelectPath(), {QStringLiteral("-p")});
    QString developerFolder;
    if (select.waitForFinished(10000) && select.exitStatus() == QProcess::NormalExit && select.exitCode() == 0)
        developerFolder = QString::fromUtf8(select.readAllStandardOutput()).trimmed();
    if (!developerFolder.isEmpty()) {
        const QString inspector = QFileInfo(developerFolder).dir().filePath(
            QStringLiteral("Applications/Accessibility Inspector.app"));
        if (QFileInfo::exists(inspector)) {
            QProcess::startDetached(openPath(), {inspector});
            return;
        }
    }
    QProcess::startDetached(openPath(), {QStringLiteral("-a"), QStringLiteral("Accessibility Inspector")});
}

} // namespace SimulatorLaunch
