#include <XcodeProjectInspector.h>

#include <TimeBudget.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

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
    void applicationProductFile_data();
    void applicationProductFile();
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
    QTest::newRow("framework only") << fixture("framework-only") << std::optional<LaunchTarget>();
    QTest::newRow("empty text") << QString() << std::optional<LaunchTarget>();
    QTest::newRow("cut off") << fixture("ios-app").left(9000) << std::optional<LaunchTarget>();
    QTest::newRow("not a project") << QString("<html><body>(((</body></html>") << std::optional<LaunchTarget>();
    QTest::newRow("deep nesting") << QString("{ a = ") + QString(100000, '(') << std::optional<LaunchTarget>();
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
}

void TestXcodeProjectInspector::resolvedBundleIdentifier()
{
    QFETCH(QString, pbxproj);
    QFETCH(QString, folder);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(XcodeProjectInspector::resolvedBundleIdentifier(pbxproj, folder), expected);
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

