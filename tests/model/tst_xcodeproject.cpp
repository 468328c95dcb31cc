#include <XcodeProject.h>

#include <QJsonDocument>
#include <QTest>

class TestXcodeProject final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void wrongTypesAreErrors_data();
    void wrongTypesAreErrors();
    void cacheWithoutWorkspaceDecodes();
};

void TestXcodeProject::roundTrip_data()
{
    QTest::addColumn<XcodeProject>("project");
    XcodeProject full;
    full.id = "/home/me/workspace/Lumen";
    full.name = "Lumen";
    full.url = "/home/me/workspace/Lumen";
    full.bundleIdentifier = "de.norvane.lumen";
    full.marketingVersion = "2.4.1";
    full.hasFastlane = true;
    full.laneNames = {"screenshots", "release"};
    full.fastlaneDirectory = "/home/me/workspace/Lumen/fastlane";
    full.xcodeprojPath = "/home/me/workspace/Lumen/Lumen.xcodeproj";
    full.screenshotCounts = {{"de-DE", 12}, {"en-US", 0}};
    QTest::newRow("every field") << full;

    XcodeProject bare;
    bare.id = bare.url = "/tmp/Bare";
    bare.name = "Bare";
    QTest::newRow("optionals absent") << bare;

    XcodeProject pods = bare;
    pods.xcodeprojPath = "/tmp/Bare/Bare.xcodeproj";
    pods.workspacePath = "/tmp/Bare/Bare.xcworkspace";
    QTest::newRow("with workspace") << pods;
}

void TestXcodeProject::roundTrip()
{
    QFETCH(XcodeProject, project);
    const QJsonObject json = QJsonDocument::fromJson(QJsonDocument(project.toJson()).toJson()).object();
    QString error;
    const auto decoded = XcodeProject::fromJson(json, &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(*decoded, project);
    if (!project.bundleIdentifier)
        QVERIFY(!json.contains("bundleIdentifier"));
}

void TestXcodeProject::wrongTypesAreErrors_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("name a number") << QByteArray(R"({"name":1})");
    QTest::newRow("hasFastlane text") << QByteArray(R"({"hasFastlane":"yes"})");
    QTest::newRow("lane names an object") << QByteArray(R"({"laneNames":{}})");
    QTest::newRow("count a fraction") << QByteArray(R"({"screenshotCounts":{"de":1.5}})");
    QTest::newRow("count negative") << QByteArray(R"({"screenshotCounts":{"de":-1}})");
    QTest::newRow("count too large") << QByteArray(R"({"screenshotCounts":{"de":1e12}})");
    QTest::newRow("workspace a list") << QByteArray(R"({"workspacePath":["/tmp/A.xcworkspace"]})");
}

void TestXcodeProject::wrongTypesAreErrors()
{
    QFETCH(QByteArray, json);
    QString error;
    QVERIFY(!XcodeProject::fromJson(QJsonDocument::fromJson(json).object(), &error));
    QVERIFY(!error.isEmpty());
}

// A cache written before workspaces were recorded.
void TestXcodeProject::cacheWithoutWorkspaceDecodes()
{
    const QByteArray json = R"({"id":"/w/Shop","name":"Shop","url":"/w/Shop","hasFastlane":false,"laneNames":[],)"
                            R"("screenshotCounts":{},"xcodeprojPath":"/w/Shop/Shop.xcodeproj","bundleIdentifier":"org.shop"})";
    const auto project = XcodeProject::fromJson(QJsonDocument::fromJson(json).object());
    QVERIFY(project);
    QCOMPARE(project->xcodeprojPath, QStringLiteral("/w/Shop/Shop.xcodeproj"));
    QCOMPARE(project->workspacePath, std::nullopt);
    QCOMPARE(project->bundleIdentifier, QStringLiteral("org.shop"));

    // An identifier cached as written in the project file, before references were resolved.
    for (const QByteArray &written : {QByteArray("$(PRODUCT_BUNDLE_IDENTIFIER)"), QByteArray("org.${NAME}"),
                                      QByteArray("$PRODUCT_BUNDLE_IDENTIFIER_ROOT")}) {
        const QByteArray cached = R"({"id":"/w/Shop","name":"Shop","url":"/w/Shop","bundleIdentifier":")" + written + "\"}";
        const auto old = XcodeProject::fromJson(QJsonDocument::fromJson(cached).object());
        QVERIFY(old);
        QCOMPARE(old->bundleIdentifier, std::nullopt);
    }
}

QTEST_APPLESS_MAIN(TestXcodeProject)
#include "tst_xcodeproject.moc"
