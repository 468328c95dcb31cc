#include "DemoWorkspace.h"

#include <AppPaths.h>
#include <LaunchFlag.h>
#include <ScreenshotPlan.h>
#include <ShotStore.h>
#include <SystemErrorText.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace DemoWorkspace {
namespace {

// Object identifiers as Xcode writes them: 24 upper-case hex digits, stable per project so
// the generated files are the same on every machine.
class ObjectIDs
{
public:
    explicit ObjectIDs(quint32 seed) : m_seed(seed) {}
    QString next()
    {
        ++m_counter;
        return QStringLiteral("%1%2%3")
            .arg(m_seed, 8, 16, QLatin1Char('0'))
            .arg(m_counter, 8, 16, QLatin1Char('0'))
            .arg(0xA1B2C3D4u ^ m_seed, 8, 16, QLatin1Char('0'))
            .toUpper();
    }

private:
    quint32 m_seed;
    quint32 m_counter = 0;
};

Status writeText(const QString &path, const QString &text)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return Status::failure(QStringLiteral("Ordner konnte nicht angelegt werden: ") + QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(SystemErrorText::localized(file.errorString()));
    file.write(text.toUtf8());
    if (!file.commit())
        return Status::failure(SystemErrorText::localized(file.errorString()));
    return Status::success();
}

// FNV-1a: unlike qHash, the same on every run.
quint32 stableHash(const QString &text)
{
    quint32 hash = 2166136261u;
    for (const char byte : text.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash;
}

QString quoted(const QString &value)
{
    // pbxproj strings need quotes when they hold anything beyond letters, digits and "._/".
    for (const QChar c : value) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char('_') && c != QLatin1Char('/'))
            return QLatin1Char('"') + value + QLatin1Char('"');
    }
    return value;
}

struct TargetIDs
{
    QString target, product, sourcesPhase, frameworksPhase, resourcesPhase, configList, debug, release;
};

QString buildSettingsBlock(const TargetSpec &target, bool debug)
{
    QStringList lines;
    const bool tv = target.sdk == QLatin1String("appletvos");
    if (target.application) {
        lines << QStringLiteral("ASSETCATALOG_COMPILER_APPICON_NAME = %1;").arg(tv ? QStringLiteral("\"App Icon & Top Shelf Image\"") : QStringLiteral("AppIcon"));
        lines << QStringLiteral("ASSETCATALOG_COMPILER_GLOBAL_ACCENT_COLOR_NAME = AccentColor;");
    }
    lines << QStringLiteral("CODE_SIGN_STYLE = Automatic;");
    lines << QStringLiteral("CURRENT_PROJECT_VERSION = 1;");
    if (!target.application) {
        lines << QStringLiteral("DEFINES_MODULE = YES;");
        lines << QStringLiteral("DYLIB_INSTALL_NAME_BASE = \"@rpath\";");
    }
    lines << QStringLiteral("GENERATE_INFOPLIST_FILE = YES;");
    if (target.application && !tv) {
        lines << QStringLiteral("INFOPLIST_KEY_UIApplicationSceneManifest_Generation = YES;");
        lines << QStringLiteral("INFOPLIST_KEY_UILaunchScreen_Generation = YES;");
        lines << QStringLiteral("INFOPLIST_KEY_UISupportedInterfaceOrientations = \"UIInterfaceOrientationPortrait UIInterfaceOrientationLandscapeLeft UIInterfaceOrientationLandscapeRight\";");
    }
    lines << (tv ? QStringLiteral("TVOS_DEPLOYMENT_TARGET = 17.0;") : QStringLiteral("IPHONEOS_DEPLOYMENT_TARGET = 17.0;"));
    lines << QStringLiteral("MARKETING_VERSION = %1;").arg(target.marketingVersion);
    lines << QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER = %1;").arg(quoted(target.bundleIdentifier));
    lines << QStringLiteral("PRODUCT_NAME = \"$(TARGET_NAME)\";");
    lines << QStringLiteral("SDKROOT = %1;").arg(target.sdk);
    lines << QStringLiteral("SWIFT_EMIT_LOC_STRINGS = YES;");
    if (debug)
        lines << QStringLiteral("SWIFT_ACTIVE_COMPILATION_CONDITIONS = \"DEBUG $(inherited)\";");
    lines << QStringLiteral("SWIFT_VERSION = 5.0;");
    lines << QStringLiteral("TARGETED_DEVICE_FAMILY = %1;").arg(quoted(target.deviceFamily));
    QString text;
    for (const QString &line : lines)
        text += QStringLiteral("\t\t\t\t") + line + QLatin1Char('\n');
    return text;
}

} // namespace

QString defaultFolder()
{
    return AppPaths::workFolder(QStringLiteral("demo-workspace"));
}

QString markerName()
{
    return QStringLiteral(".demo-v2");
}

QString projectFile(const QString &projectName, const QStringList &knownRegions, const QList<TargetSpec> &targets)
{
    ObjectIDs ids(stableHash(projectName));
    const QString projectID = ids.next();
    const QString mainGroup = ids.next();
    const QString productsGroup = ids.next();
    const QString projectConfigList = ids.next();
    const QString projectDebug = ids.next();
    const QString projectRelease = ids.next();
    QList<TargetIDs> targetIDs;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        TargetIDs t;
        t.target = ids.next();
        t.product = ids.next();
        t.sourcesPhase = ids.next();
        t.frameworksPhase = ids.next();
        t.resourcesPhase = ids.next();
        t.configList = ids.next();
        t.debug = ids.next();
        t.release = ids.next();
        targetIDs.append(t);
    }
    auto productFile = [](const TargetSpec &t) {
        return t.name + (t.application ? QStringLiteral(".app") : QStringLiteral(".framework"));
    };

    QString s;
    s += QStringLiteral("// !$*UTF8*$!\n{\n\tarchiveVersion = 1;\n\tclasses = {\n\t};\n\tobjectVersion = 60;\n\tobjects = {\n\n");

    s += QStringLiteral("/* Begin PBXFileReference section */\n");
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const TargetSpec &t = targets[i];
        s += QStringLiteral("\t\t%1 /* %2 */ = {isa = PBXFileReference; explicitFileType = %3; includeInIndex = 0; path = %4; sourceTree = BUILT_PRODUCTS_DIR; };\n")
                 .arg(targetIDs[i].product, productFile(t),
                      t.application ? QStringLiteral("wrapper.application") : QStringLiteral("wrapper.framework"),
                      quoted(productFile(t)));
    }
    s += QStringLiteral("/* End PBXFileReference section */\n\n");

    s += QStringLiteral("/* Begin PBXFrameworksBuildPhase section */\n");
    for (qsizetype i = 0; i < targets.size(); ++i)
        s += QStringLiteral("\t\t%1 /* Frameworks */ = {\n\t\t\tisa = PBXFrameworksBuildPhase;\n\t\t\tbuildActionMask = 2147483647;\n\t\t\tfiles = (\n\t\t\t);\n\t\t\trunOnlyForDeploymentPostprocessing = 0;\n\t\t};\n")
                 .arg(targetIDs[i].frameworksPhase);
    s += QStringLiteral("/* End PBXFrameworksBuildPhase section */\n\n");

    s += QStringLiteral("/* Begin PBXGroup section */\n");
    s += QStringLiteral("\t\t%1 = {\n\t\t\tisa = PBXGroup;\n\t\t\tchildren = (\n\t\t\t\t%2 /* Products */,\n\t\t\t);\n\t\t\tsourceTree = \"<group>\";\n\t\t};\n")
             .arg(mainGroup, productsGroup);
    s += QStringLiteral("\t\t%1 /* Products */ = {\n\t\t\tisa = PBXGroup;\n\t\t\tchildren = (\n").arg(productsGroup);
    for (qsizetype i = 0; i < targets.size(); ++i)
        s += QStringLiteral("\t\t\t\t%1 /* %2 */,\n").arg(targetIDs[i].product, productFile(targets[i]));
    s += QStringLiteral("\t\t\t);\n\t\t\tname = Products;\n\t\t\tsourceTree = \"<group>\";\n\t\t};\n");
    s += QStringLiteral("/* End PBXGroup section */\n\n");

    s += QStringLiteral("/* Begin PBXNativeTarget section */\n");
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const TargetSpec &t = targets[i];
        const TargetIDs &ti = targetIDs[i];
        s += QStringLiteral("\t\t%1 /* %2 */ = {\n\t\t\tisa = PBXNativeTarget;\n"
                            "\t\t\tbuildConfigurationList = %3 /* Build configuration list for PBXNativeTarget \"%2\" */;\n"
                            "\t\t\tbuildPhases = (\n\t\t\t\t%4 /* Sources */,\n\t\t\t\t%5 /* Frameworks */,\n\t\t\t\t%6 /* Resources */,\n\t\t\t);\n"
                            "\t\t\tbuildRules = (\n\t\t\t);\n\t\t\tdependencies = (\n\t\t\t);\n")
                 .arg(ti.target, t.name, ti.configList, ti.sourcesPhase, ti.frameworksPhase, ti.resourcesPhase);
        s += QStringLiteral("\t\t\tname = %1;\n\t\t\tproductName = %1;\n\t\t\tproductReference = %2 /* %3 */;\n\t\t\tproductType = \"%4\";\n\t\t};\n")
                 .arg(quoted(t.name), ti.product, productFile(t),
                      t.application ? QStringLiteral("com.apple.product-type.application")
                                    : QStringLiteral("com.apple.product-type.framework"));
    }
    s += QStringLiteral("/* End PBXNativeTarget section */\n\n");

    s += QStringLiteral("/* Begin PBXProject section */\n");
    s += QStringLiteral("\t\t%1 /* Project object */ = {\n\t\t\tisa = PBXProject;\n\t\t\tattributes = {\n"
                        "\t\t\t\tBuildIndependentTargetsInParallel = 1;\n\t\t\t\tLastSwiftUpdateCheck = 1600;\n\t\t\t\tLastUpgradeCheck = 1600;\n"
                        "\t\t\t\tTargetAttributes = {\n").arg(projectID);
    for (qsizetype i = 0; i < targets.size(); ++i)
        s += QStringLiteral("\t\t\t\t\t%1 = {\n\t\t\t\t\t\tCreatedOnToolsVersion = 16.0;\n\t\t\t\t\t};\n").arg(targetIDs[i].target);
    s += QStringLiteral("\t\t\t\t};\n\t\t\t};\n"
                        "\t\t\tbuildConfigurationList = %1 /* Build configuration list for PBXProject \"%2\" */;\n"
                        "\t\t\tdevelopmentRegion = %3;\n\t\t\thasScannedForEncodings = 0;\n\t\t\tknownRegions = (\n")
             .arg(projectConfigList, projectName, knownRegions.value(0, QStringLiteral("en")));
    for (const QString &region : knownRegions)
        s += QStringLiteral("\t\t\t\t%1,\n").arg(quoted(region));
    s += QStringLiteral("\t\t\t\tBase,\n\t\t\t);\n\t\t\tmainGroup = %1;\n\t\t\tminimizedProjectReferenceProxies = 1;\n"
                        "\t\t\tpreferredProjectObjectVersion = 77;\n\t\t\tproductRefGroup = %2 /* Products */;\n"
                        "\t\t\tprojectDirPath = \"\";\n\t\t\tprojectRoot = \"\";\n\t\t\ttargets = (\n")
             .arg(mainGroup, productsGroup);
    for (qsizetype i = 0; i < targets.size(); ++i)
        s += QStringLiteral("\t\t\t\t%1 /* %2 */,\n").arg(targetIDs[i].target, targets[i].name);
    s += QStringLiteral("\t\t\t);\n\t\t};\n/* End PBXProject section */\n\n");

    s += QStringLiteral("/* Begin PBXResourcesBuildPhase section */\n");
    for (qsizetype i = 0; i < targets.size(); ++i)
        s += QStringLiteral("\t\t%1 /* Resources */ = {\n\t\t\tisa = PBXResourcesBuildPhase;\n\t\t\tbuildActionMask = 2147483647;\n\t\t\tfiles = (\n\t\t\t);\n\t\t\trunOnlyForDeploymentPostprocessing = 0;\n\t\t};\n")
                 .arg(targetIDs[i].resourcesPhase);
    s += QStringLiteral("/* End PBXResourcesBuildPhase section */\n\n");

    s += QStringLiteral("/* Begin PBXSourcesBuildPhase section */\n");
    for (qsizetype i = 0; i < targets.size(); ++i)
        s += QStringLiteral("\t\t%1 /* Sources */ = {\n\t\t\tisa = PBXSourcesBuildPhase;\n\t\t\tbuildActionMask = 2147483647;\n\t\t\tfiles = (\n\t\t\t);\n\t\t\trunOnlyForDeploymentPostprocessing = 0;\n\t\t};\n")
                 .arg(targetIDs[i].sourcesPhase);
    s += QStringLiteral("/* End PBXSourcesBuildPhase section */\n\n");

    s += QStringLiteral("/* Begin XCBuildConfiguration section */\n");
    const QString projectSdk = targets.isEmpty() ? QStringLiteral("iphoneos") : targets.last().sdk;
    for (const bool debug : {true, false}) {
        s += QStringLiteral("\t\t%1 /* %2 */ = {\n\t\t\tisa = XCBuildConfiguration;\n\t\t\tbuildSettings = {\n"
                            "\t\t\t\tALWAYS_SEARCH_USER_PATHS = NO;\n\t\t\t\tCLANG_ENABLE_MODULES = YES;\n\t\t\t\tCLANG_ENABLE_OBJC_ARC = YES;\n"
                            "\t\t\t\tCOPY_PHASE_STRIP = NO;\n\t\t\t\tENABLE_STRICT_OBJC_MSGSEND = YES;\n\t\t\t\tGCC_C_LANGUAGE_STANDARD = gnu17;\n"
                            "\t\t\t\tSDKROOT = %3;\n\t\t\t\tSWIFT_COMPILATION_MODE = %4;\n\t\t\t\tSWIFT_OPTIMIZATION_LEVEL = \"%5\";\n"
                            "\t\t\t};\n\t\t\tname = %2;\n\t\t};\n")
                 .arg(debug ? projectDebug : projectRelease, debug ? QStringLiteral("Debug") : QStringLiteral("Release"),
                      projectSdk, debug ? QStringLiteral("singlefile") : QStringLiteral("wholemodule"),
                      debug ? QStringLiteral("-Onone") : QStringLiteral("-O"));
    }
    for (qsizetype i = 0; i < targets.size(); ++i) {
        for (const bool debug : {true, false}) {
            s += QStringLiteral("\t\t%1 /* %2 */ = {\n\t\t\tisa = XCBuildConfiguration;\n\t\t\tbuildSettings = {\n")
                     .arg(debug ? targetIDs[i].debug : targetIDs[i].release, debug ? QStringLiteral("Debug") : QStringLiteral("Release"));
            s += buildSettingsBlock(targets[i], debug);
            s += QStringLiteral("\t\t\t};\n\t\t\tname = %1;\n\t\t};\n").arg(debug ? QStringLiteral("Debug") : QStringLiteral("Release"));
        }
    }
    s += QStringLiteral("/* End XCBuildConfiguration section */\n\n");

    s += QStringLiteral("/* Begin XCConfigurationList section */\n");
    auto configList = [&](const QString &id, const QString &owner, const QString &debug, const QString &release) {
        s += QStringLiteral("\t\t%1 /* Build configuration list for %2 */ = {\n\t\t\tisa = XCConfigurationList;\n\t\t\tbuildConfigurations = (\n"
                            "\t\t\t\t%3 /* Debug */,\n\t\t\t\t%4 /* Release */,\n\t\t\t);\n"
                            "\t\t\tdefaultConfigurationIsVisible = 0;\n\t\t\tdefaultConfigurationName = Release;\n\t\t};\n")
                 .arg(id, owner, debug, release);
    };
    configList(projectConfigList, QStringLiteral("PBXProject \"%1\"").arg(projectName), projectDebug, projectRelease);
    for (qsizetype i = 0; i < targets.size(); ++i)
        configList(targetIDs[i].configList, QStringLiteral("PBXNativeTarget \"%1\"").arg(targets[i].name), targetIDs[i].debug, targetIDs[i].release);
    s += QStringLiteral("/* End XCConfigurationList section */\n");

    s += QStringLiteral("\t};\n\trootObject = %1 /* Project object */;\n}\n").arg(projectID);
    return s;
}

namespace {

struct SampleApp
{
    QString name;
    QStringList knownRegions;
    QList<TargetSpec> targets;
    QStringList lanes; // the Fastfile's own lanes
};

QList<SampleApp> sampleApps()
{
    return {
        {QStringLiteral("Gipfelbuch"),
         {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("it")},
         {{QStringLiteral("GipfelKit"), false, QStringLiteral("iphoneos"), QStringLiteral("com.velorance.demo.gipfelbuch.kit"), QStringLiteral("2.4.0"), QStringLiteral("1,2")},
          {QStringLiteral("Gipfelbuch"), true, QStringLiteral("iphoneos"), QStringLiteral("com.velorance.demo.gipfelbuch"), QStringLiteral("2.4.0"), QStringLiteral("1,2")}},
         {QStringLiteral("screenshots"), QStringLiteral("upload_metadata"), QStringLiteral("beta")}},
        {QStringLiteral("Kassenbon"),
         {QStringLiteral("de"), QStringLiteral("en")},
         {{QStringLiteral("Kassenbon"), true, QStringLiteral("iphoneos"), QStringLiteral("com.velorance.demo.kassenbon"), QStringLiteral("1.3.2"), QStringLiteral("1")}},
         {QStringLiteral("upload_screenshots"), QStringLiteral("release")}},
        {QStringLiteral("Sofakino"),
         {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("es")},
         {{QStringLiteral("Sofakino"), true, QStringLiteral("appletvos"), QStringLiteral("com.velorance.demo.sofakino"), QStringLiteral("1.0.0"), QStringLiteral("3")}},
         {QStringLiteral("release")}},
    };
}

QString fastfile(const SampleApp &app)
{
    QString text = QStringLiteral("default_platform(:%1)\n\nplatform :%1 do\n")
                       .arg(app.targets.last().sdk == QLatin1String("appletvos") ? QStringLiteral("tvos") : QStringLiteral("ios"));
    static const QHash<QString, QString> descriptions{
        {QStringLiteral("screenshots"), QStringLiteral("Screenshots aufnehmen")},
        {QStringLiteral("upload_metadata"), QStringLiteral("Metadaten hochladen")},
        {QStringLiteral("upload_screenshots"), QStringLiteral("Screenshots hochladen")},
        {QStringLiteral("beta"), QStringLiteral("Build an TestFlight senden")},
        {QStringLiteral("release"), QStringLiteral("Build an den App Store senden")},
    };
    for (const QString &lane : app.lanes) {
        text += QStringLiteral("  desc \"%1\"\n  lane :%2 do\n").arg(descriptions.value(lane, lane), lane);
        if (lane == QLatin1String("screenshots"))
            text += QStringLiteral("    capture_screenshots(scheme: \"%1\")\n").arg(app.name);
        else if (lane == QLatin1String("upload_metadata"))
            text += QStringLiteral("    deliver(skip_screenshots: true, skip_binary_upload: true)\n");
        else if (lane == QLatin1String("upload_screenshots"))
            text += QStringLiteral("    deliver(skip_metadata: true, skip_binary_upload: true, overwrite_screenshots: true)\n");
        else if (lane == QLatin1String("beta"))
            text += QStringLiteral("    build_app(scheme: \"%1\")\n    upload_to_testflight\n").arg(app.name);
        else
            text += QStringLiteral("    build_app(scheme: \"%1\")\n    upload_to_app_store\n").arg(app.name);
        text += QStringLiteral("  end\n\n");
    }
    text.chop(1);
    text += QStringLiteral("end\n");
    return text;
}

QString appfile(const SampleApp &app)
{
    return QStringLiteral("app_identifier(\"%1\")\n").arg(app.targets.last().bundleIdentifier);
}

QByteArray flagsManifest()
{
    LaunchFlag demoData;
    demoData.arg = QStringLiteral("-demoData");
    demoData.type = LaunchFlagType::Bool;
    demoData.label = QStringLiteral("Beispieldaten laden");
    demoData.help = QStringLiteral("Startet mit einer gefüllten Tourenliste.");
    LaunchFlag units;
    units.arg = QStringLiteral("-units");
    units.type = LaunchFlagType::Enum;
    units.label = QStringLiteral("Maßeinheiten");
    units.values = QStringList{QStringLiteral("metric"), QStringLiteral("imperial")};
    LaunchFlag user;
    user.arg = QStringLiteral("-userName");
    user.type = LaunchFlagType::String;
    user.label = QStringLiteral("Name im Profil");
    user.help = QStringLiteral("Wird auf dem Profilbildschirm angezeigt.");

    QJsonArray flags;
    for (const LaunchFlag &flag : {demoData, units, user})
        flags.append(flag.toJson());
    QJsonObject manifest;
    manifest.insert(QStringLiteral("version"), 1);
    manifest.insert(QStringLiteral("flags"), flags);
    return QJsonDocument(manifest).toJson(QJsonDocument::Indented);
}

ScreenshotPlan samplePlan()
{
    ScreenshotPlan plan;
    plan.languages = {QStringLiteral("de-DE"), QStringLiteral("en-US")};
    const Lane main{QUuid::createUuid(), QStringLiteral("Hauptbildschirme")};
    const Lane details{QUuid::createUuid(), QStringLiteral("Details")};
    plan.lanes = {main, details};

    auto shot = [](const QString &name, const Lane &lane, const QList<ShotStep> &steps) {
        Shot s;
        s.id = QUuid::createUuid();
        s.name = name;
        s.laneID = lane.id;
        for (const ShotStep &step : steps)
            s.steps.append(ShotStepItem::make(step));
        return s;
    };
    plan.shots = {
        shot(QStringLiteral("Tourenliste"), main,
             {ShotStep::wait(1.0)}),
        shot(QStringLiteral("Karte"), main,
             {ShotStep::tap(QStringLiteral("tab.map"), QStringLiteral("Karte"), NormPoint{0.5, 0.94}),
              ShotStep::wait(2.0),
              ShotStep::swipe(QString(), QString(), NormPoint{0.5, 0.5}, SwipeDirection::Left)}),
        shot(QStringLiteral("Tour suchen"), details,
             {ShotStep::tap(QStringLiteral("search.field"), QStringLiteral("Suchen"), NormPoint{0.5, 0.12}),
              ShotStep::typeText(QStringLiteral("search.field"), QStringLiteral("Zugspitze")),
              ShotStep::wait(1.0)}),
        shot(QStringLiteral("Gipfeleintrag"), details,
             {ShotStep::tap(QString(), QStringLiteral("Zugspitze"), NormPoint{0.42, 0.31}),
              ShotStep::tap(QStringLiteral("entry.photos"), QString(), std::nullopt)}),
    };
    plan.launchArguments = {QStringLiteral("-uiTesting YES")};
    plan.flagSelections.insert(QStringLiteral("-demoData"), QStringLiteral("true"));
    plan.location = PlanLocation{47.4210, 10.9863};
    return plan;
}

Status writeApp(const QString &root, const SampleApp &app, bool withExtras)
{
    const QString folder = QDir(root).filePath(app.name);
    const QString xcodeproj = QDir(folder).filePath(app.name + QStringLiteral(".xcodeproj"));
    if (Status s = writeText(QDir(xcodeproj).filePath(QStringLiteral("project.pbxproj")),
                             projectFile(app.name, app.knownRegions, app.targets)); !s)
        return s;
    const QString fastlane = QDir(folder).filePath(QStringLiteral("fastlane"));
    if (Status s = writeText(QDir(fastlane).filePath(QStringLiteral("Fastfile")), fastfile(app)); !s)
        return s;
    if (Status s = writeText(QDir(fastlane).filePath(QStringLiteral("Appfile")), appfile(app)); !s)
        return s;
    if (!withExtras)
        return Status::success();
    if (Status s = writeText(QDir(folder).filePath(QStringLiteral("velorance-flags.json")),
                             QString::fromUtf8(flagsManifest())); !s)
        return s;
    return ShotStore(fastlane).save(samplePlan());
}

} // namespace

Result<QString> prepare(const QString &folder)
{
    const QString marker = QDir(folder).filePath(markerName());
    if (QFileInfo::exists(marker))
        return folder;

    // Without the marker the folder is unfinished or from an older demo: start over. Only
    // ever our own work folder comes here, never a folder of the user's.
    QDir dir(folder);
    if (dir.exists() && !dir.removeRecursively())
        return Result<QString>::failure(QStringLiteral("Demo-Ordner konnte nicht geleert werden: ") + folder);
    if (!QDir().mkpath(folder))
        return Result<QString>::failure(QStringLiteral("Demo-Ordner konnte nicht angelegt werden: ") + folder);

    const QList<SampleApp> apps = sampleApps();
    for (qsizetype i = 0; i < apps.size(); ++i) {
        if (Status s = writeApp(folder, apps[i], i == 0); !s)
            return Result<QString>::failure(s.error());
    }
    // The marker goes last: it promises that everything before it is complete.
    if (Status s = writeText(marker, QStringLiteral("2\n")); !s)
        return Result<QString>::failure(s.error());
    return folder;
}

} // namespace DemoWorkspace
