#include <XcodeWorkspace.h>

#include "FixtureFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString beacon = QStringLiteral(VELORANCE_TEST_DATA_DIR "/xcode/Beacon");

QByteArray workspaceOf(const QByteArray &entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Workspace\n   version = \"1.0\">\n" + entries + "</Workspace>\n";
}

QByteArray fileRef(const QByteArray &location)
{
    return "   <FileRef\n      location = \"" + location + "\">\n   </FileRef>\n";
}

// `entries` inside `depth` groups, each inside the one before.
QByteArray nested(int depth, const QByteArray &entries)
{
    return QByteArray("<Group location = \"group:g\">").repeated(depth) + entries + QByteArray("</Group>").repeated(depth);
}

} // namespace

class TestXcodeWorkspace final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void projectPaths_data();
    void projectPaths();
    void findsTheWorkspaceBesideTheProject();
    void find_data();
    void find();
    void findUpToTheRepositoryTop_data();
    void findUpToTheRepositoryTop();
};

void TestXcodeWorkspace::projectPaths_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("expected");

    // The workspace is "/repo/App.xcworkspace": its container is "/repo".
    QTest::newRow("group and container forms") << workspaceOf(fileRef("group:App.xcodeproj") + fileRef("container:Pods/Pods.xcodeproj"))
                                               << QStringList{"/repo/App.xcodeproj", "/repo/Pods/Pods.xcodeproj"};
    QTest::newRow("nested groups") << workspaceOf("   <Group location = \"group:Apps\" name = \"Apps\">\n"
                                                  "      <Group location = \"group:iOS\" name = \"iOS\">\n"
                                                  + fileRef("group:App.xcodeproj") + "      </Group>\n"
                                                  + fileRef("container:Shared/Kit.xcodeproj") + "   </Group>\n"
                                                  + fileRef("group:Tools.xcodeproj"))
                                   << QStringList{"/repo/Apps/iOS/App.xcodeproj", "/repo/Shared/Kit.xcodeproj", "/repo/Tools.xcodeproj"};
    QTest::newRow("other entries left out") << workspaceOf(fileRef("self:") + fileRef("group:README.md") + fileRef("developer:Tools/X.xcodeproj")
                                                           + fileRef("App.xcodeproj") + fileRef("group:Docs"))
                                            << QStringList{};
    const QByteArray whole = workspaceOf(fileRef("group:App.xcodeproj") + fileRef("group:Second.xcodeproj"));
    QTest::newRow("cut off") << whole.left(whole.indexOf("</FileRef>")) << QStringList{"/repo/App.xcodeproj"};
    QTest::newRow("not XML") << QByteArray("{ \"projects\": [\"App.xcodeproj\"] }") << QStringList{};

    // Past a limit a workspace lists nothing, wherever the project stands in it.
    const QByteArray app = fileRef("group:App.xcodeproj");
    QTest::newRow("nested as deep as allowed") << workspaceOf(nested(XcodeWorkspace::maximumNesting, app))
                                               << QStringList{"/repo/" + QString("g/").repeated(XcodeWorkspace::maximumNesting) + "App.xcodeproj"};
    QTest::newRow("nested deeper") << workspaceOf(app + nested(XcodeWorkspace::maximumNesting + 1, QByteArray())) << QStringList{};
    QTest::newRow("too many elements")
        << workspaceOf(app + fileRef("group:README.md").repeated(XcodeWorkspace::maximumElements)) << QStringList{};
    QTest::newRow("too large") << workspaceOf(app + "<!--" + QByteArray(XcodeWorkspace::maximumBytes, ' ') + "-->")
                               << QStringList{};
    QTest::newRow("a path too long")
        << workspaceOf(app + fileRef("group:" + QByteArray(XcodeWorkspace::maximumPathLength, 'a') + ".xcodeproj")) << QStringList{};
}

void TestXcodeWorkspace::projectPaths()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, expected);
    QCOMPARE(XcodeWorkspace::projectPaths(contents, QStringLiteral("/repo/App.xcworkspace")), expected);
}

// The CocoaPods shape: "Beacon.xcworkspace" beside the project lists it; the
// project.xcworkspace inside the .xcodeproj is not the one.
void TestXcodeWorkspace::findsTheWorkspaceBesideTheProject()
{
    QCOMPARE(XcodeWorkspace::find(beacon, beacon + "/Beacon.xcodeproj"), beacon + "/Beacon.xcworkspace");
    QCOMPARE(XcodeWorkspace::find(beacon + "/Beacon.xcodeproj", beacon + "/Beacon.xcodeproj"), std::nullopt);
}

void TestXcodeWorkspace::find_data()
{
    QTest::addColumn<QStringList>("workspaces"); // "<name>.xcworkspace:<location>"
    QTest::addColumn<QString>("expected");

    QTest::newRow("lists the project") << QStringList{"Shop.xcworkspace:group:Shop.xcodeproj"} << "Shop.xcworkspace";
    QTest::newRow("lists another project") << QStringList{"Shop.xcworkspace:group:Admin.xcodeproj"} << "";
    QTest::newRow("named like the project wins")
        << QStringList{"All.xcworkspace:group:Shop.xcodeproj", "Shop.xcworkspace:container:Shop.xcodeproj"} << "Shop.xcworkspace";
    QTest::newRow("first by name among others")
        << QStringList{"Zoo.xcworkspace:group:Shop.xcodeproj", "Dev.xcworkspace:group:Shop.xcodeproj"} << "Dev.xcworkspace";
    QTest::newRow("contents a link out of the folder") << QStringList{"Shop.xcworkspace:LINK"} << "";
    // The Mac opens a project listed in other case than its folder's name.
    QTest::newRow("lists the project in other case") << QStringList{"Shop.xcworkspace:group:SHOP.xcodeproj"} << "Shop.xcworkspace";
    QTest::newRow("none") << QStringList{} << "";
}

void TestXcodeWorkspace::find()
{
    QFETCH(QStringList, workspaces);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString folder = dir.filePath("Shop");
    QVERIFY(QDir().mkpath(folder + "/Shop.xcodeproj"));
    QVERIFY(writeFile(dir.filePath("outside.xcworkspacedata"), workspaceOf(fileRef("group:Shop/Shop.xcodeproj"))));
    for (const QString &entry : workspaces) {
        const QString name = entry.section(u':', 0, 0);
        const QString location = entry.section(u':', 1);
        const QString contents = folder + u'/' + name + "/contents.xcworkspacedata";
        QVERIFY(QDir().mkpath(folder + u'/' + name));
        if (location == u"LINK")
            QVERIFY(QFile::link(dir.filePath("outside.xcworkspacedata"), contents));
        else if (!location.isEmpty())
            QVERIFY(writeFile(contents, workspaceOf(fileRef(location.toUtf8()))));
    }
    const auto found = XcodeWorkspace::find(folder, folder + "/Shop.xcodeproj");
    QCOMPARE(found.value_or(QString()), expected.isEmpty() ? QString() : folder + u'/' + expected);
}

void TestXcodeWorkspace::findUpToTheRepositoryTop_data()
{
    // The project is "Repo/Apps/Shop/Shop.xcodeproj"; workspaces are "<path>:<location>",
    // paths relative to the temporary folder.
    QTest::addColumn<QStringList>("workspaces");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("expected");

    QTest::newRow("at the repository's top") << QStringList{"Repo/Shop.xcworkspace:group:Apps/Shop/Shop.xcodeproj"} << "Repo"
                                             << "Repo/Shop.xcworkspace";
    QTest::newRow("in a folder in between") << QStringList{"Repo/Apps/All.xcworkspace:container:Shop/Shop.xcodeproj"} << "Repo"
                                            << "Repo/Apps/All.xcworkspace";
    QTest::newRow("nearest first") << QStringList{"Repo/Shop.xcworkspace:group:Apps/Shop/Shop.xcodeproj",
                                                  "Repo/Apps/Shop/Dev.xcworkspace:group:Shop.xcodeproj"}
                                   << "Repo" << "Repo/Apps/Shop/Dev.xcworkspace";
    QTest::newRow("one that lists another project is passed over")
        << QStringList{"Repo/Shop.xcworkspace:group:Apps/Shop/Shop.xcodeproj", "Repo/Apps/Admin.xcworkspace:group:Admin/Admin.xcodeproj"}
        << "Repo" << "Repo/Shop.xcworkspace";
    QTest::newRow("folders on the way in other case")
        << QStringList{"Repo/Shop.xcworkspace:group:apps/SHOP/Shop.xcodeproj"} << "Repo" << "Repo/Shop.xcworkspace";
    QTest::newRow("a folder on the way twice in other case")
        << QStringList{"Repo/Shop.xcworkspace:group:apps/Shop/Shop.xcodeproj", "Repo/APPS/"} << "Repo" << "";
    QTest::newRow("not above the top") << QStringList{"Shop.xcworkspace:group:Repo/Apps/Shop/Shop.xcodeproj"} << "Repo" << "";
    QTest::newRow("without a top, the project's folder alone")
        << QStringList{"Repo/Shop.xcworkspace:group:Apps/Shop/Shop.xcodeproj"} << "" << "";
    QTest::newRow("a top that does not enclose the project")
        << QStringList{"Repo/Shop.xcworkspace:group:Apps/Shop/Shop.xcodeproj"} << "Other" << "";
}

void TestXcodeWorkspace::findUpToTheRepositoryTop()
{
    QFETCH(QStringList, workspaces);
    QFETCH(QString, top);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString folder = dir.filePath("Repo/Apps/Shop");
    QVERIFY(QDir().mkpath(folder + "/Shop.xcodeproj"));
    for (const QString &entry : workspaces) {
        const QString workspace = dir.filePath(entry.section(u':', 0, 0));
        // An entry ending in "/" is a folder, no workspace.
        if (workspace.endsWith(u'/'))
            QVERIFY(QDir().mkpath(workspace));
        else
            QVERIFY(writeFile(workspace + "/contents.xcworkspacedata", workspaceOf(fileRef(entry.section(u':', 1).toUtf8()))));
    }
    XcodeWorkspace::Finder finder;
    const auto found = finder.find(folder, folder + "/Shop.xcodeproj", top.isEmpty() ? QString() : dir.filePath(top));
    QCOMPARE(found.value_or(QString()), expected.isEmpty() ? QString() : dir.filePath(expected));
}

QTEST_APPLESS_MAIN(TestXcodeWorkspace)
#include "tst_xcodeworkspace.moc"
