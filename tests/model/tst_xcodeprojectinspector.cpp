#include <XcodeProjectInspector.h>

#include "FixtureFiles.h"

#include <HostileProjects.h>
#include <TimeBudget.h>

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using XcodeProjectInspector::ApplicationBuild;
using XcodeProjectInspector::LaunchTarget;

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

QString fixture(const QString &name)
{
    return readText(QStringLiteral(VELORANCE_TEST_DATA_DIR "/pbxproj/") + name + QStringLiteral(".pbxproj"));
}

// A project folder of tests/data/xcode.
QString projectFolder(const QString &name)
{
    return QStringLiteral(VELORANCE_TEST_DATA_DIR "/xcode/") + name;
}

QString projectFixture(const QString &name)
{
    return readText(projectFolder(name) + u'/' + name + QStringLiteral(".xcodeproj/project.pbxproj"));
}

// The text with one piece replaced; the piece must be there.
QString edited(const QString &text, const QString &piece, const QString &replacement)
{
    if (!text.contains(piece))
        qFatal("fixture lacks %s", qPrintable(piece));
    QString result = text;
    return result.replace(piece, replacement);
}

// The pulse fixture with targets taken out of the project's target list.
QString pulseWithout(const QStringList &targets)
{
    static const QMap<QString, QString> ids{{QStringLiteral("Pulse Watch"), QStringLiteral("1C0000000000000000000C02")},
                                            {QStringLiteral("Pulse"), QStringLiteral("1C0000000000000000000C03")}};
    QString text = fixture(QStringLiteral("mac-watch-ios"));
    for (const QString &target : targets)
        text = edited(text, QStringLiteral("%1 /* %2 */,").arg(ids.value(target), target), QString());
    return text;
}

// Copies the files of a fixture folder into `target`, folders made on the way.
bool copyTree(const QString &source, const QString &target)
{
    QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = target + file.mid(source.size());
        if (!QDir().mkpath(QFileInfo(copy).path()) || !QFile::copy(file, copy))
            return false;
    }
    return true;
}

} // namespace

class TestXcodeProjectInspector final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownRegions_data();
    void knownRegions();
    void knownRegionsOfProjects_data();
    void knownRegionsOfProjects();
    void knownRegionsOfHugeList_data();
    void knownRegionsOfHugeList();
    void launchTarget_data();
    void launchTarget();
    void applicationSettings_data();
    void applicationSettings();
    void resolvedBundleIdentifier_data();
    void resolvedBundleIdentifier();
    void configurationBuilt_data();
    void configurationBuilt();
    void marketingVersion_data();
    void marketingVersion();
    void manyConfigurationsOverOneXcconfig();
    void applicationProductFile_data();
    void applicationProductFile();
    void filesElsewhereInTheRepository_data();
    void filesElsewhereInTheRepository();
    void readsProjectFileFromXcodeproj();
    void readsNoProjectFileLeadingOutOfItsFolder();
};

void TestXcodeProjectInspector::knownRegions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("missing marker") << "developmentRegion = en;" << QStringList{};
    QTest::newRow("empty list") << "knownRegions = (\n\t\t\t);" << QStringList{};
    QTest::newRow("only Base") << "knownRegions = (Base, );" << QStringList{};
    QTest::newRow("inline mixed quoting") << R"(knownRegions = (en, "de-AT", Base, "zh-Hant", );)"
                                          << QStringList{"en", "de-AT", "zh-Hant"};
    QTest::newRow("repeats keep first position") << "knownRegions = (\n\tfr,\n\ten,\n\t\"fr\",\n\tBase,\n\ten,\n);"
                                                 << QStringList{"fr", "en"};
    QTest::newRow("no closing parenthesis") << "knownRegions = (en, de," << QStringList{};
    QTest::newRow("first list only") << "knownRegions = (en); knownRegions = (de);" << QStringList{"en"};
    QTest::newRow("marker needs exact spacing") << "knownRegions=(en, de);" << QStringList{};
}

void TestXcodeProjectInspector::knownRegions()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(XcodeProjectInspector::knownRegions(text), expected);
}

void TestXcodeProjectInspector::knownRegionsOfProjects_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("ios-app") << "ios-app" << QStringList{"en", "de", "zh-Hans", "pt-BR", "ja"};
    QTest::newRow("framework-first") << "framework-first" << QStringList{"en-GB", "fr", "es-419"};
    QTest::newRow("visionos-app") << "visionos-app" << QStringList{"en"};
    QTest::newRow("watchos-app") << "watchos-app" << QStringList{"en", "nl"};
}

void TestXcodeProjectInspector::knownRegionsOfProjects()
{
    QFETCH(QString, project);
    QFETCH(QStringList, expected);
    QCOMPARE(XcodeProjectInspector::knownRegions(fixture(project)), expected);
}

void TestXcodeProjectInspector::knownRegionsOfHugeList_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("distinct");

    QTest::newRow("100,000 distinct") << 100000 << 100000;
    QTest::newRow("100,000 of 300 repeated") << 100000 << 300;
}

// A hostile project file must not freeze the window: the list is read in linear time and
// stops growing at the cap, keeping the first regions in their order.
void TestXcodeProjectInspector::knownRegionsOfHugeList()
{
    QFETCH(int, entries);
    QFETCH(int, distinct);
    QString text = QStringLiteral("knownRegions = (\n");
    for (int i = 0; i < entries; ++i)
        text += QStringLiteral("\t\t\t\"r%1\",\n").arg(i % distinct);
    text += QStringLiteral(");\n");

    QStringList regions;
    const double ms = TimeBudget::bestMs(QTest::currentDataTag(),
                                         [&] { regions = XcodeProjectInspector::knownRegions(text); });
    QVERIFY2(ms < TimeBudget::scaled(50), qPrintable(QString::number(ms)));

    const int expected = qMin(distinct, int(XcodeProjectInspector::maxKnownRegions));
    QCOMPARE(regions.size(), expected);
    QCOMPARE(regions.first(), QStringLiteral("r0"));
    QCOMPARE(regions.last(), QStringLiteral("r%1").arg(expected - 1));
}

void TestXcodeProjectInspector::launchTarget_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<LaunchTarget>>("expected");

    const auto target = [](const QString &name, SimPlatform platform) {
        return std::optional<LaunchTarget>(LaunchTarget{name, platform});
    };
    QTest::newRow("iOS app beside test targets") << fixture("ios-app") << target("Lumen", SimPlatform::iOS);
    QTest::newRow("framework and extension before the app") << fixture("framework-first")
                                                            << target("Harbor Mobile", SimPlatform::iOS);
    QTest::newRow("visionOS from the project's SDK root") << fixture("visionos-app") << target("Orbit", SimPlatform::visionOS);
    QTest::newRow("tvOS from the target's SDK root") << fixture("tvos-app") << target("Couch TV", SimPlatform::tvOS);
    QTest::newRow("watchOS single-target app") << fixture("watchos-app") << target("Pulse Watch App", SimPlatform::watchOS);
    QTest::newRow("SDK root auto, iOS among platforms") << fixture("multiplatform-app") << target("Atlas", SimPlatform::iOS);
    QTest::newRow("byte order mark") << QChar(QChar::ByteOrderMark) + fixture("tvos-app") << target("Couch TV", SimPlatform::tvOS);
    // Several application targets: iOS first, then another simulator platform, macOS last; a
    // macOS SDK of the target is not overruled by the project's iOS SDK.
    QTest::newRow("iOS app after macOS and watch apps") << fixture("mac-watch-ios") << target("Pulse", SimPlatform::iOS);
    QTest::newRow("watch app after macOS app") << pulseWithout({"Pulse"}) << target("Pulse Watch", SimPlatform::watchOS);
    QTest::newRow("macOS app alone") << pulseWithout({"Pulse", "Pulse Watch"})
                                     << std::optional<LaunchTarget>(LaunchTarget{"Pulse Mac", SimPlatform::iOS, true});
    QTest::newRow("macOS from supported platforms over the project's SDK")
        << fixture("macos-app") << std::optional<LaunchTarget>(LaunchTarget{"Ledger", SimPlatform::iOS, true});
    QTest::newRow("macOS and iOS supported") << edited(fixture("macos-app"), "SUPPORTED_PLATFORMS = macosx;",
                                                       "SUPPORTED_PLATFORMS = \"macosx iphoneos iphonesimulator\";")
                                             << target("Ledger", SimPlatform::iOS);
    // Release inherits the project's list; another configuration that narrows it to the Mac
    // says nothing about Release.
    QTest::newRow("a configuration beside Release built for the Mac alone") << projectFixture("Prism")
                                                                             << target("Prism", SimPlatform::iOS);
    QTest::newRow("framework only") << fixture("framework-only") << std::optional<LaunchTarget>();
    QTest::newRow("empty text") << QString() << std::optional<LaunchTarget>();
    QTest::newRow("cut off") << fixture("ios-app").left(9000) << std::optional<LaunchTarget>();
    QTest::newRow("not a project") << QString("<html><body>(((</body></html>") << std::optional<LaunchTarget>();
    QTest::newRow("deep nesting") << QString("{ a = ") + QString(100000, '(') << std::optional<LaunchTarget>();
    const auto padded = [](qsizetype values) {
        return edited(fixture("ios-app"), "objects = {", "objects = {\nPAD = (" + QString("x,").repeated(values) + ");");
    };
    QTest::newRow("values up to the cap") << padded(XcodeProjectInspector::maximumValues - 500)
                                          << target("Lumen", SimPlatform::iOS);
    QTest::newRow("values past the cap") << padded(XcodeProjectInspector::maximumValues) << std::optional<LaunchTarget>();
}

void TestXcodeProjectInspector::launchTarget()
{
    QFETCH(QString, text);
    QFETCH(std::optional<LaunchTarget>, expected);
    QCOMPARE(XcodeProjectInspector::launchTarget(text), expected);
}

void TestXcodeProjectInspector::applicationSettings_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<std::optional<QString>>("bundleIdentifier");
    QTest::addColumn<std::optional<QString>>("marketingVersion");
    QTest::newRow("ios-app") << "ios-app" << std::optional<QString>("de.norvane.lumen") << std::optional<QString>("2.4.1");
    // The Release configuration wins; a build-setting reference stays as written.
    QTest::newRow("framework-first") << "framework-first" << std::optional<QString>("$(APP_ID_PREFIX).harbor")
                                     << std::optional<QString>("3.0");
    QTest::newRow("watchos-app") << "watchos-app" << std::optional<QString>("de.norvane.pulse.watchkitapp")
                                 << std::optional<QString>("1.1");
    QTest::newRow("framework-only") << "framework-only" << std::optional<QString>() << std::optional<QString>();
    QTest::newRow("mac-watch-ios: the iOS app's") << "mac-watch-ios" << std::optional<QString>("org.example.pulse")
                                                 << std::optional<QString>("5.3");
}

void TestXcodeProjectInspector::applicationSettings()
{
    QFETCH(QString, project);
    QFETCH(std::optional<QString>, bundleIdentifier);
    QFETCH(std::optional<QString>, marketingVersion);
    const QString text = fixture(project);
    QCOMPARE(XcodeProjectInspector::applicationBundleIdentifier(text), bundleIdentifier);
    QCOMPARE(XcodeProjectInspector::marketingVersion(text), marketingVersion);
}

void TestXcodeProjectInspector::resolvedBundleIdentifier_data()
{
    QTest::addColumn<QString>("pbxproj");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<std::optional<QString>>("expected");

    const auto id = [](const char *text) { return std::optional<QString>(QString::fromUtf8(text)); };
    const std::optional<QString> absent;
    const QString tidePool = projectFixture("TidePool");
    const QString tidePoolFolder = projectFolder("TidePool");

    // Release's .xcconfig includes the shared one (which includes it back), skips a missing
    // optional one and one outside the project; the project's own .xcconfig lies below.
    QTest::newRow("from the target's .xcconfig") << tidePool << tidePoolFolder << id("org.example.Tide-Pool");
    QTest::newRow("target setting over its .xcconfig")
        << edited(tidePool, "INFOPLIST_KEY_CFBundleDisplayName = \"Tide Pool\";",
                  "PRODUCT_BUNDLE_IDENTIFIER = \"$(inherited).ios\";")
        << tidePoolFolder << id("org.example.Tide-Pool.ios");
    QTest::newRow("target's .xcconfig named from a followed folder")
        << edited(tidePool, "baseConfigurationReference = 7D0000000000000000000103 /* Release.xcconfig */;",
                  "baseConfigurationReferenceAnchor = 7D0000000000000000000205 /* Config */;\n"
                  "baseConfigurationReferenceRelativePath = Release.xcconfig;")
        << tidePoolFolder << id("org.example.Tide-Pool");
    QTest::newRow("target's .xcconfig leads out of the folder: the project's applies")
        << edited(tidePool, "path = Release.xcconfig;", "path = ../../outside.xcconfig;") << tidePoolFolder
        << id("com.wrong.project");
    QTest::newRow("no folder: no .xcconfig read") << tidePool << QString() << absent;
    QTest::newRow("missing base .xcconfig") << projectFixture("Beacon") << projectFolder("Beacon") << id("org.example.beacon");
    QTest::newRow("reference in the project file") << projectFixture("Kestrel") << QString() << id("org.example.Kestrel");
    QTest::newRow("undefined reference is absent") << fixture("framework-first") << QString() << absent;
    QTest::newRow("literal") << fixture("ios-app") << QString() << id("de.norvane.lumen");
    QTest::newRow("the chosen application target's") << fixture("mac-watch-ios") << QString() << id("org.example.pulse");
    QTest::newRow("Release without one: the next configuration's")
        << edited(fixture("macos-app"), "PRODUCT_BUNDLE_IDENTIFIER = org.example.ledger;", "") << QString()
        << id("org.example.ledger.debug");
    QTest::newRow("empty text") << QString() << tidePoolFolder << absent;

    // "$NAME" names a setting as "$(NAME)" does; a setting nothing defines is empty.
    QTest::newRow("bare reference in an .xcconfig") << projectFixture("Lantern") << projectFolder("Lantern")
                                                    << id("io.example.lantern");
    const QString lumen = fixture("ios-app");
    const auto lumenWith = [&](const QString &settings) {
        return edited(lumen, "PRODUCT_BUNDLE_IDENTIFIER = de.norvane.lumen;", settings);
    };
    QTest::newRow("undefined suffix is empty")
        << lumenWith("PRODUCT_BUNDLE_IDENTIFIER = \"${BUNDLE_ID_PREFIX}.App${BUNDLE_ID_SUFFIX}\"; BUNDLE_ID_PREFIX = io.example;")
        << QString() << id("io.example.App");
    QTest::newRow("modifiers") << lumenWith("PRODUCT_BUNDLE_IDENTIFIER = \"de.norvane.$(PRODUCT_NAME:lower)$(SUFFIX:default=-beta)\";")
                               << QString() << id("de.norvane.lumen-beta");
    // What no bundle identifier can be stays absent.
    const QList<std::pair<const char *, const char *>> invalid{
        {"empty", "\"\""},
        {"empty after substitution", "\"$(NOTHING)\""},
        {"leading dot", "\"$(TEAM_PREFIX).lumen\""},
        {"trailing dot", "de.norvane.$SUFFIX"},
        {"two dots", "\"de.$(MIDDLE).lumen\""},
        {"underscore", "de.norvane_lumen"},
        {"blank", "\"de.norvane lumen\""},
        {"letter beyond ASCII", "\"de.norvane.lümen\""},
        {"unknown modifier", "\"de.norvane.$(PRODUCT_NAME:quote)\""},
        {"loop", "\"de.$(A)\"; A = \"$(B)\"; B = \"x$(A)\""},
        {"unclosed reference", "\"de.$(PRODUCT_NAME\""},
    };
    for (const auto &[name, value] : invalid) {
        QTest::newRow(name) << lumenWith(QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER = %1;").arg(QString::fromUtf8(value)))
                            << QString() << absent;
    }
}

void TestXcodeProjectInspector::resolvedBundleIdentifier()
{
    QFETCH(QString, pbxproj);
    QFETCH(QString, folder);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(XcodeProjectInspector::resolvedBundleIdentifier(pbxproj, folder), expected);
}

void TestXcodeProjectInspector::configurationBuilt_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("configuration");
    QTest::addColumn<QString>("built");
    QTest::addColumn<std::optional<QString>>("bundleIdentifier");
    QTest::addColumn<LaunchTarget>("target");

    const auto id = [](const char *text) { return std::optional<QString>(QString::fromUtf8(text)); };
    const LaunchTarget tidePool{QStringLiteral("Tide Pool"), SimPlatform::iOS};
    QTest::newRow("TidePool Release") << "TidePool" << "Release" << "Release" << id("org.example.Tide-Pool") << tidePool;
    QTest::newRow("TidePool Debug") << "TidePool" << "Debug" << "Debug" << id("org.example.tidepool.debug") << tidePool;
    QTest::newRow("Lantern Debug") << "Lantern" << "Debug" << "Debug" << id("io.example.lantern.debug")
                                   << LaunchTarget{QStringLiteral("Lantern"), SimPlatform::iOS};
    const LaunchTarget ember{QStringLiteral("Ember"), SimPlatform::iOS};
    QTest::newRow("Ember Release") << "Ember" << "Release" << "Release" << id("org.example.ember") << ember;
    QTest::newRow("Ember Debug") << "Ember" << "Debug" << "Debug" << id("org.example.ember.debug") << ember;
    // No configuration of that name: the project's default one is built.
    const LaunchTarget quarry{QStringLiteral("Quarry"), SimPlatform::iOS};
    QTest::newRow("Quarry Release") << "Quarry" << "Release" << "Production" << id("org.example.quarry") << quarry;
    QTest::newRow("Quarry Debug") << "Quarry" << "Debug" << "Production" << id("org.example.quarry") << quarry;
    QTest::newRow("Quarry Development") << "Quarry" << "Development" << "Development" << id("org.example.quarry.dev")
                                        << quarry;
    // The platform of the configuration built, the project's .xcconfig stacked below.
    QTest::newRow("Prism Release") << "Prism" << "Release" << "Release" << id("org.example.prism")
                                   << LaunchTarget{QStringLiteral("Prism"), SimPlatform::iOS};
    QTest::newRow("Prism Debug") << "Prism" << "Debug" << "Debug" << id("org.example.prism")
                                 << LaunchTarget{QStringLiteral("Prism"), SimPlatform::iOS};
    QTest::newRow("Prism ReleaseMac") << "Prism" << "ReleaseMac" << "ReleaseMac" << id("org.example.prism")
                                      << LaunchTarget{QStringLiteral("Prism"), SimPlatform::iOS, true};
}

void TestXcodeProjectInspector::configurationBuilt()
{
    QFETCH(QString, project);
    QFETCH(QString, configuration);
    QFETCH(QString, built);
    QFETCH(std::optional<QString>, bundleIdentifier);
    QFETCH(LaunchTarget, target);
    const auto build = XcodeProjectInspector::applicationBuild(projectFixture(project), projectFolder(project), configuration);
    QVERIFY(build);
    QCOMPARE(build->configuration, built);
    QCOMPARE(build->bundleIdentifier, bundleIdentifier);
    QCOMPARE(build->target, target);
}

void TestXcodeProjectInspector::marketingVersion_data()
{
    QTest::addColumn<QString>("pbxproj");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<std::optional<QString>>("expected");

    const auto version = [](const char *text) { return std::optional<QString>(QString::fromUtf8(text)); };
    const QString lantern = projectFixture("Lantern");
    const QString folder = projectFolder("Lantern");
    const QString unversioned = edited(lantern, "MARKETING_VERSION = \"${APP_SHORT_VERSION}\";", QString());

    QTest::newRow("reference to an .xcconfig setting") << lantern << folder << version("3.1");
    QTest::newRow("only in an .xcconfig") << edited(unversioned, "path = Release.xcconfig;", "path = Versioned.xcconfig;")
                                          << folder << version("3.1.0");
    QTest::newRow("Info.plist, its value resolved") << unversioned << folder << version("3.1");
    QTest::newRow("Info.plist named through SRCROOT")
        << edited(unversioned, "INFOPLIST_FILE = Lantern/Info.plist;", "INFOPLIST_FILE = \"$(SRCROOT)/Lantern/Widget-Info.plist\";")
        << folder << version("2.0.5");
    QTest::newRow("Info.plist that is not there") << edited(unversioned, "Lantern/Info.plist", "Lantern/Missing.plist") << folder
                                                  << std::optional<QString>();
    QTest::newRow("no folder: nothing read, the reference empty") << lantern << QString() << std::optional<QString>();
    QTest::newRow("reference in the project file")
        << edited(fixture("ios-app"), "MARKETING_VERSION = 2.4.1;", "MARKETING_VERSION = \"$(VERSION_BASE).1\"; VERSION_BASE = 2.5;")
        << QString() << version("2.5.1");
}

void TestXcodeProjectInspector::marketingVersion()
{
    QFETCH(QString, pbxproj);
    QFETCH(QString, folder);
    QFETCH(std::optional<QString>, expected);
    const auto build = XcodeProjectInspector::applicationBuild(pbxproj, folder);
    QVERIFY(build);
    QCOMPARE(build->marketingVersion, expected);
    if (folder.isEmpty())
        QCOMPARE(XcodeProjectInspector::marketingVersion(pbxproj), expected);
}

// Every configuration is based on the same 1 MB .xcconfig and none sets an identifier, so
// each is asked in turn: the file is still read once, and the answer comes at once.
void TestXcodeProjectInspector::manyConfigurationsOverOneXcconfig()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("Config/Base.xcconfig"), HostileProjects::definitions(1000 * 1000)));
    const QString pbxproj = QString::fromUtf8(HostileProjects::projectFile(400));
    std::optional<QString> identifier;
    const double ms = TimeBudget::bestMs(
        "400 configurations", [&] { identifier = XcodeProjectInspector::resolvedBundleIdentifier(pbxproj, dir.path()); }, 1);
    QVERIFY2(ms < TimeBudget::scaled(1000), qPrintable(QString::number(ms)));
    QCOMPARE(identifier, std::nullopt);
}

void TestXcodeProjectInspector::applicationProductFile_data()
{
    QTest::addColumn<QString>("pbxproj");
    QTest::addColumn<std::optional<QString>>("expected");
    QTest::newRow("named like the target") << fixture("ios-app") << std::optional<QString>("Lumen.app");
    QTest::newRow("product named apart from the target") << projectFixture("Kestrel") << std::optional<QString>("Kestrel.app");
    QTest::newRow("no product reference") << readText(projectFolder("Harbor/App") + "/Harbor.xcodeproj/project.pbxproj") << std::optional<QString>();
}

void TestXcodeProjectInspector::applicationProductFile()
{
    QFETCH(QString, pbxproj);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(XcodeProjectInspector::applicationProductFile(pbxproj), expected);
}

void TestXcodeProjectInspector::filesElsewhereInTheRepository_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<std::optional<QString>>("bundleIdentifier");
    QTest::addColumn<std::optional<QString>>("marketingVersion");

    const auto text = [](const char *value) { return std::optional<QString>(QString::fromUtf8(value)); };
    const std::optional<QString> absent;
    const QString none;

    // The repository keeps its .xcconfig files in "config" beside the app's folder; the one
    // the project names includes "Version.public.xcconfig", on disk "Version.Public.xcconfig".
    QTest::newRow("up to the top a .git marks") << QStringList{"git"} << none << none << text("org.example.tally")
                                               << text("4.2");
    QTest::newRow("up to the top the caller knows") << QStringList{"top"} << none << none << text("org.example.tally")
                                                    << text("4.2");
    QTest::newRow("no top known: the project's folder alone") << QStringList{} << none << none << absent << absent;
    QTest::newRow("top that does not enclose the project") << QStringList{"top elsewhere"} << none << none << absent
                                                           << absent;
    QTest::newRow("configuration file named in other case")
        << QStringList{"git"} << "path = Release.xcconfig;" << "path = RELEASE.xcconfig;" << text("org.example.tally")
        << text("4.2");
    QTest::newRow("two files differ from the name in case alone: neither")
        << QStringList{"git", "twin"} << none << none << text("org.example.tally") << absent;
    QTest::newRow("Info.plist beside the app's folder, named in other case")
        << QStringList{"git", "no version file"} << "INFOPLIST_FILE = Tally/Info.plist;"
        << "INFOPLIST_FILE = ../shared/info.plist;" << text("org.example.tally") << text("4.2.1");
    QTest::newRow("link to a folder inside the repository") << QStringList{"git", "link inside"} << none << none
                                                            << text("org.example.tally") << text("4.2");
    QTest::newRow("link leading out of the repository") << QStringList{"git", "link outside"} << none << none << absent
                                                        << absent;
}

void TestXcodeProjectInspector::filesElsewhereInTheRepository()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(std::optional<QString>, bundleIdentifier);
    QFETCH(std::optional<QString>, marketingVersion);

    QTemporaryDir dir;
    const QString top = dir.filePath("Repo");
    QVERIFY(copyTree(QStringLiteral(VELORANCE_TEST_DATA_DIR "/repository"), top));
    if (setup.contains("git"))
        QVERIFY(QDir().mkpath(top + "/.git"));
    if (setup.contains("twin"))
        QVERIFY(QFile::copy(top + "/config/Version.Public.xcconfig", top + "/config/Version.PUBLIC.xcconfig"));
    if (setup.contains("no version file"))
        QVERIFY(QFile::remove(top + "/config/Version.Public.xcconfig"));
    if (setup.contains("link inside") || setup.contains("link outside")) {
        const QString moved = setup.contains("link inside") ? top + "/settings/config" : dir.filePath("config");
        QVERIFY(QDir().mkpath(QFileInfo(moved).path()));
        QVERIFY(QDir().rename(top + "/config", moved));
        QVERIFY(QFile::link(moved, top + "/config"));
    }
    QString repositoryTop;
    if (setup.contains("top"))
        repositoryTop = top;
    if (setup.contains("top elsewhere"))
        repositoryTop = dir.filePath("Other");

    const QString folder = top + "/Tally";
    QString pbxproj = readText(folder + "/Tally.xcodeproj/project.pbxproj");
    if (!from.isEmpty())
        pbxproj = edited(pbxproj, from, to);
    const auto build = XcodeProjectInspector::applicationBuild(pbxproj, folder, QStringLiteral("Release"), repositoryTop);
    QVERIFY(build);
    QCOMPARE(build->bundleIdentifier, bundleIdentifier);
    QCOMPARE(build->marketingVersion, marketingVersion);
}

void TestXcodeProjectInspector::readsProjectFileFromXcodeproj()
{
    QTemporaryDir dir;
    const QString xcodeproj = dir.filePath("Lumen.xcodeproj");
    QCOMPARE(XcodeProjectInspector::readProjectFile(xcodeproj), QString());
    QVERIFY(QDir().mkpath(xcodeproj));
    QFile file(xcodeproj + "/project.pbxproj");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(fixture("ios-app").toUtf8());
    file.close();
    QCOMPARE(XcodeProjectInspector::readProjectFile(xcodeproj), fixture("ios-app"));
}

// A project file that is a link leading out of the project's folder is not read.
void TestXcodeProjectInspector::readsNoProjectFileLeadingOutOfItsFolder()
{
    QTemporaryDir dir;
    const QString xcodeproj = dir.filePath("Project/Lumen.xcodeproj");
    QVERIFY(QDir().mkpath(xcodeproj));
    QFile outside(dir.filePath("elsewhere.pbxproj"));
    QVERIFY(outside.open(QIODevice::WriteOnly));
    outside.write(fixture("ios-app").toUtf8());
    outside.close();
    QVERIFY(QFile::link(outside.fileName(), xcodeproj + "/project.pbxproj"));
    QCOMPARE(XcodeProjectInspector::readProjectFile(xcodeproj), QString());
}

QTEST_APPLESS_MAIN(TestXcodeProjectInspector)
#include "tst_xcodeprojectinspector.moc"

