#include <XcodeProject.h>
#include <XcodeSchemes.h>

#include "FixtureFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using XcodeSchemes::Use;

namespace {

QByteArray reference(const QByteArray &blueprint, const QByteArray &buildable,
                     const QByteArray &container = "container:Shop.xcodeproj")
{
    return "<BuildableReference BuildableIdentifier=\"primary\" BuildableName=\"" + buildable + "\" BlueprintName=\""
        + blueprint + "\" ReferencedContainer=\"" + container + "\"></BuildableReference>";
}

QByteArray builds(const QByteArray &ref)
{
    return "<BuildAction><BuildActionEntries><BuildActionEntry buildForRunning=\"YES\">" + ref
        + "</BuildActionEntry></BuildActionEntries></BuildAction>";
}

QByteArray launches(const QByteArray &ref)
{
    return "<LaunchAction buildConfiguration=\"Debug\"><BuildableProductRunnable runnableDebuggingMode=\"0\">" + ref
        + "</BuildableProductRunnable></LaunchAction>";
}

QByteArray scheme(const QByteArray &actions)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scheme LastUpgradeVersion=\"1500\" version=\"1.7\">" + actions
        + "</Scheme>\n";
}

const QByteArray shopApp = reference("Shop", "Shop.app");
const QByteArray shopTests = reference("ShopTests", "ShopTests.xctest");

} // namespace

class TestXcodeSchemes final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void use_data();
    void use();
    void schemeFor_data();
    void schemeFor();
};

void TestXcodeSchemes::use_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Use>("expected");

    QTest::newRow("launches") << scheme(builds(shopApp) + launches(shopApp)) << Use::Launches;
    QTest::newRow("builds only") << scheme(builds(shopApp) + launches(shopTests)) << Use::Builds;
    QTest::newRow("by product name, renamed target") << scheme(launches(reference("OldName", "Shop.app"))) << Use::Launches;
    QTest::newRow("watch app run remotely")
        << scheme("<LaunchAction><RemoteRunnable BundleIdentifier=\"com.apple.Carousel\">" + shopApp + "</RemoteRunnable></LaunchAction>")
        << Use::Launches;
    QTest::newRow("named in a macro only") << scheme(launches(shopTests) + "<LaunchAction><MacroExpansion>" + shopApp
                                                     + "</MacroExpansion></LaunchAction>")
                                           << Use::None;
    QTest::newRow("tests only") << scheme("<TestAction><Testables><TestableReference skipped=\"NO\">" + shopApp
                                          + "</TestableReference></Testables></TestAction>")
                                << Use::None;
    QTest::newRow("target of another project") << scheme(launches(reference("Shop", "Shop.app", "container:Pods/Pods.xcodeproj")))
                                               << Use::None;
    const QByteArray whole = scheme(builds(shopApp) + launches(shopApp));
    QTest::newRow("cut off in the launch action") << whole.left(whole.indexOf("<BuildableProductRunnable")) << Use::Builds;
    QTest::newRow("not a scheme") << QByteArray("Shop Shop.app LaunchAction") << Use::None;
}

void TestXcodeSchemes::use()
{
    QFETCH(QByteArray, text);
    QFETCH(Use, expected);
    QCOMPARE(XcodeSchemes::use(text, XcodeSchemes::Target{"Shop", "Shop.app", "Shop.xcodeproj"}), expected);
}

void TestXcodeSchemes::schemeFor_data()
{
    // Files to write, relative to the project folder "Shop": "<path>=<content kind>", the
    // kinds being "launch", "build" and "other". The project file is empty: no product name.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("workspace");
    QTest::addColumn<QString>("expected");

    const QString shared = "Shop.xcodeproj/xcshareddata/xcschemes/";
    QTest::newRow("no schemes") << QStringList{} << false << "Shop";
    QTest::newRow("launching scheme") << QStringList{shared + "AAA.xcscheme=other", shared + "Shop Release.xcscheme=launch"} << false
                                      << "Shop Release";
    QTest::newRow("launching preferred over building") << QStringList{shared + "Builds.xcscheme=build", shared + "Runs.xcscheme=launch"}
                                                       << false << "Runs";
    QTest::newRow("first launching by name") << QStringList{shared + "Shop-Staging.xcscheme=launch", shared + "Shop-Production.xcscheme=launch"}
                                             << false << "Shop-Production";
    QTest::newRow("building when none launches") << QStringList{shared + "Everything.xcscheme=build", shared + "Tests.xcscheme=other"}
                                                 << false << "Everything";
    QTest::newRow("none runs or builds it: the target's name") << QStringList{shared + "Tests.xcscheme=other"} << false << "Shop";
    QTest::newRow("a shared scheme named like the target") << QStringList{shared + "Shop.xcscheme=other", shared + "Runs.xcscheme=launch"}
                                                           << false << "Shop";
    QTest::newRow("a user's scheme named like the target")
        << QStringList{"Shop.xcodeproj/xcuserdata/me.xcuserdatad/xcschemes/Shop.xcscheme=other", shared + "Runs.xcscheme=launch"} << false
        << "Shop";
    QTest::newRow("the workspace's shared scheme")
        << QStringList{"Shop.xcworkspace/xcshareddata/xcschemes/Shop App.xcscheme=launch"} << true << "Shop App";
    QTest::newRow("a workspace not used is not asked")
        << QStringList{"Shop.xcworkspace/xcshareddata/xcschemes/Shop App.xcscheme=launch"} << false << "Shop";
    QTest::newRow("scheme a link out of the folder") << QStringList{shared + "Runs.xcscheme=link"} << false << "Shop";
}

void TestXcodeSchemes::schemeFor()
{
    QFETCH(QStringList, files);
    QFETCH(bool, workspace);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString folder = dir.filePath("Shop");
    QVERIFY(QDir().mkpath(folder + "/Shop.xcodeproj"));
    const QString outside = dir.filePath("outside.xcscheme");
    QVERIFY(writeFile(outside, scheme(launches(shopApp))));
    for (const QString &file : files) {
        const QString path = folder + u'/' + file.section(u'=', 0, 0);
        const QString kind = file.section(u'=', 1);
        if (kind == u"link") {
            QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
            QVERIFY(QFile::link(outside, path));
            continue;
        }
        const QByteArray text = kind == u"launch" ? scheme(builds(shopApp) + launches(shopApp))
            : kind == u"build"                    ? scheme(builds(shopApp) + launches(shopTests))
                                                  : scheme(builds(shopTests));
        QVERIFY(writeFile(path, text));
    }

    XcodeProject project;
    project.name = "Shop";
    project.id = project.url = folder;
    project.xcodeprojPath = folder + "/Shop.xcodeproj";
    if (workspace)
        project.workspacePath = folder + "/Shop.xcworkspace";
    QCOMPARE(XcodeSchemes::schemeFor(project, QString(), "Shop"), expected);
}

QTEST_APPLESS_MAIN(TestXcodeSchemes)
#include "tst_xcodeschemes.moc"
