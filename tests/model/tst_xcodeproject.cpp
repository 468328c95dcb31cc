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
}

void TestXcodeProject::wrongTypesAreErrors()
{
    QFETCH(QByteArray, json);
    QString error;
    QVERIFY(!XcodeProject::fromJson(QJsonDocument::fromJson(json).object(), &error));
    QVERIFY(!error.isEmpty());
}

QTEST_APPLESS_MAIN(TestXcodeProject)
#include "tst_xcodeproject.moc"
