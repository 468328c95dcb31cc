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

QByteArray builds(const QByteArray &ref, const QByteArray &forRunning = "YES")
{
    return "<BuildAction><BuildActionEntries><BuildActionEntry buildForTesting=\"YES\" buildForRunning=\"" + forRunning + "\">"
        + ref + "</BuildActionEntry></BuildActionEntries></BuildAction>";
}

QByteArray launches(const QByteArray &ref, const QByteArray &attributes = {})
{
    return "<LaunchAction buildConfiguration=\"Debug\"" + attributes + "><BuildableProductRunnable runnableDebuggingMode=\"0\">"
        + ref + "</BuildableProductRunnable></LaunchAction>";
}

QByteArray asksForTheApp(const QByteArray &ref)
{
    return launches(ref, " askForAppToLaunch=\"Yes\" launchAutomaticallySubstyle=\"2\"");
}

QByteArray scheme(const QByteArray &actions)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scheme LastUpgradeVersion=\"1500\" version=\"1.7\">" + actions
        + "</Scheme>\n";
}

const QByteArray shopApp = reference("Shop", "Shop.app");
const QByteArray shopTests = reference("ShopTests", "ShopTests.xctest");

// A scheme of `actions` padded with a comment to `size` bytes.
QByteArray padded(const QByteArray &actions, qsizetype size)
{
    const QByteArray text = scheme(actions + "<!---->");
    return scheme(actions + "<!--" + QByteArray(size - text.size(), ' ') + "-->");
}

// The text of a scheme of a kind named in schemeFor_data.
QByteArray schemeOfKind(QStringView kind)
{
    if (kind == u"launch")
        return scheme(builds(shopApp) + launches(shopApp));
    if (kind == u"build")
        return scheme(builds(shopApp) + launches(shopTests));
    if (kind == u"asks")
        return scheme(builds(shopApp) + asksForTheApp(shopApp));
    if (kind == u"empty")
        return scheme("<BuildAction></BuildAction>" + launches(shopApp));
    if (kind == u"launch-huge")
        return padded(builds(shopApp) + launches(shopApp), XcodeSchemes::maximumSchemeBytes + 1);
    if (kind == u"build-huge")
        return padded(builds(shopApp), XcodeSchemes::maximumSchemeBytes);
    return scheme(builds(shopTests));
}

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
    const QByteArray renamed = reference("OldName", "Shop.app");
    QTest::newRow("by product name, renamed target") << scheme(builds(renamed) + launches(renamed)) << Use::Launches;
    QTest::newRow("watch app run remotely")
        << scheme(builds(shopApp) + "<LaunchAction><RemoteRunnable BundleIdentifier=\"com.apple.Carousel\">" + shopApp
                  + "</RemoteRunnable></LaunchAction>")
        << Use::Launches;
    // xcodebuild refuses to build a scheme whose build action builds nothing for running.
    QTest::newRow("launches, empty build action") << scheme("<BuildAction parallelizeBuildables=\"YES\"></BuildAction>" + launches(shopApp))
                                                  << Use::None;
    QTest::newRow("launches, built for testing only") << scheme(builds(shopApp, "NO") + launches(shopApp)) << Use::None;
    QTest::newRow("an extension's, asking for the app") << scheme(builds(shopApp) + asksForTheApp(shopApp)) << Use::Builds;
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

    // Past a limit a scheme counts as unreadable, however well it runs the app.
    const QByteArray runs = builds(shopApp) + launches(shopApp);
    QTest::newRow("nested deeper than allowed")
        << scheme(QByteArray("<Other>").repeated(XcodeSchemes::maximumNesting) + QByteArray("</Other>").repeated(XcodeSchemes::maximumNesting) + runs)
        << Use::None;
    QTest::newRow("too many elements") << scheme(QByteArray("<CommandLineArgument/>").repeated(XcodeSchemes::maximumElements) + runs)
                                       << Use::None;
    QTest::newRow("too large") << scheme(runs + "<!--" + QByteArray(XcodeSchemes::maximumSchemeBytes, ' ') + "-->") << Use::None;
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
    // kinds being those of schemeOfKind, and "link" (a link out of the folder). The project
    // file is empty: no product name.
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
    // In name order a name comes before every longer one it begins; by file name " " and "-"
    // sort before ".xcscheme".
    QTest::newRow("a name before the longer names it begins")
        << QStringList{shared + "iOS Shop AdHoc Debug.xcscheme=launch", shared + "iOS Shop-Staging.xcscheme=launch",
                       shared + "iOS Shop.xcscheme=launch"}
        << false << "iOS Shop";
    QTest::newRow("a name before the longer ones, building only")
        << QStringList{shared + "Shop-iOS-Staging.xcscheme=build", shared + "Shop-iOS.xcscheme=build"} << false << "Shop-iOS";
    QTest::newRow("building when none launches") << QStringList{shared + "Everything.xcscheme=build", shared + "Tests.xcscheme=other"}
                                                 << false << "Everything";
    QTest::newRow("none runs or builds it: the target's name") << QStringList{shared + "Tests.xcscheme=other"} << false << "Shop";
    QTest::newRow("a shared scheme named like the target") << QStringList{shared + "Shop.xcscheme=build", shared + "Runs.xcscheme=launch"}
                                                           << false << "Shop";
    QTest::newRow("one named like the target that does not build it")
        << QStringList{shared + "Shop.xcscheme=other", shared + "Runs.xcscheme=launch"} << false << "Runs";
    const QString user = "Shop.xcodeproj/xcuserdata/me.xcuserdatad/xcschemes/";
    QTest::newRow("a user's scheme named like the target") << QStringList{user + "Shop.xcscheme=build", shared + "Runs.xcscheme=launch"}
                                                           << false << "Shop";
    QTest::newRow("a user's scheme named like the target that does not build it")
        << QStringList{user + "Shop.xcscheme=other", shared + "Runs.xcscheme=launch"} << false << "Runs";
    QTest::newRow("a user's scheme of another name is not asked") << QStringList{user + "Mine.xcscheme=launch"} << false << "Shop";
    QTest::newRow("an empty build action is passed over")
        << QStringList{shared + "Shop UI Tests.xcscheme=empty", shared + "Shop-Release.xcscheme=build"} << false << "Shop-Release";
    QTest::newRow("launching preferred over asking for the app")
        << QStringList{shared + "Extension.xcscheme=asks", shared + "Runs.xcscheme=launch"} << false << "Runs";
    QTest::newRow("asking for the app when nothing launches it")
        << QStringList{shared + "Tests.xcscheme=empty", shared + "Widget.xcscheme=asks", shared + "Zeta.xcscheme=build"} << false << "Widget";
    QTest::newRow("the project's before the workspace's")
        << QStringList{shared + "Shop-Staging.xcscheme=launch", "Shop.xcworkspace/xcshareddata/xcschemes/Shop-Beta.xcscheme=launch"}
        << true << "Shop-Staging";
    QTest::newRow("a scheme larger than the limit is not read")
        << QStringList{shared + "A.xcscheme=launch-huge", shared + "B.xcscheme=build"} << false << "B";
    QStringList fillTheLimit;
    for (int i = 1; i <= XcodeSchemes::maximumTotalBytes / XcodeSchemes::maximumSchemeBytes; ++i)
        fillTheLimit.append(shared + QStringLiteral("A%1.xcscheme=build-huge").arg(i));
    QTest::newRow("no more than the limit is read in all") << fillTheLimit + QStringList{shared + "Z.xcscheme=launch"} << false << "A1";
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
        QVERIFY(writeFile(path, schemeOfKind(kind)));
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
