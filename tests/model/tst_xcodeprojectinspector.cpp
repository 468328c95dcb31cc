#include <XcodeProjectInspector.h>

#include <TimeBudget.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using XcodeProjectInspector::LaunchTarget;

namespace {

QString fixture(const QString &name)
{
    QFile file(QStringLiteral(VELORANCE_TEST_DATA_DIR "/pbxproj/") + name + QStringLiteral(".pbxproj"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return QString::fromUtf8(file.readAll());
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
    void readsProjectFileFromXcodeproj();
};

void TestXcodeProjectInspector::knownRegions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("missing marker") << "developmentRegion = en;" << QStringList{};
    QTest::newRow("empty text") << "" << QStringList{};
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

QTEST_APPLESS_MAIN(TestXcodeProjectInspector)
#include "tst_xcodeprojectinspector.moc"
