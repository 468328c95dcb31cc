#include <InfoPlistReader.h>

#include "FixtureFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

const QString versionKey = QStringLiteral("CFBundleShortVersionString");

QByteArray plist(const QByteArray &entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n"
        + entries + "</dict>\n</plist>\n";
}

} // namespace

class TestInfoPlistReader final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void string_data();
    void string();
    void readsOnlySmallFilesInsideTheProject();
};

void TestInfoPlistReader::string_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<std::optional<QString>>("expected");

    const auto text = [](const char *value) { return std::optional<QString>(QString::fromUtf8(value)); };
    const std::optional<QString> absent;
    const QByteArray deep = QByteArray("<array>").repeated(InfoPlistReader::maximumDepth)
        + QByteArray("</array>").repeated(InfoPlistReader::maximumDepth);

    QTest::newRow("plain") << plist("<key>CFBundleShortVersionString</key><string>1.4</string>") << text("1.4");
    QTest::newRow("after nested values, not the nested key")
        << plist("<key>Types</key><array><dict><key>CFBundleShortVersionString</key><string>9</string></dict></array>"
                 "<key>Empty</key><dict/><key>CFBundleShortVersionString</key><string>$(MARKETING_VERSION)</string>")
        << text("$(MARKETING_VERSION)");
    QTest::newRow("entities and comments") << plist("<!-- v --><key>CFBundleShortVersionString</key><string>1 &amp; 2</string>")
                                           << text("1 & 2");
    QTest::newRow("missing") << plist("<key>CFBundleVersion</key><string>3</string>") << absent;
    QTest::newRow("not a string") << plist("<key>CFBundleShortVersionString</key><real>1.4</real>") << absent;
    QTest::newRow("no root dictionary") << QByteArray("<plist><array/></plist>") << absent;
    QTest::newRow("broken XML") << QByteArray("<plist><dict><key>CFBundleShortVersionString</key><string>1.4") << absent;
    QTest::newRow("binary property list") << QByteArray("bplist00\xd1\x01\x02", 11) << absent;
    QTest::newRow("nesting past the cap before the key")
        << plist("<key>Deep</key>" + deep + "<key>CFBundleShortVersionString</key><string>1.4</string>") << absent;
    QTest::newRow("elements past the cap before the key")
        << plist("<key>Many</key><array>" + QByteArray("<true/>").repeated(InfoPlistReader::maximumElements)
                 + "</array><key>CFBundleShortVersionString</key><string>1.4</string>")
        << absent;
}

void TestInfoPlistReader::string()
{
    QFETCH(QByteArray, xml);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(InfoPlistReader::string(xml, versionKey), expected);
}

void TestInfoPlistReader::readsOnlySmallFilesInsideTheProject()
{
    QTemporaryDir dir;
    const QString project = dir.filePath("App");
    const QByteArray small = plist("<key>CFBundleShortVersionString</key><string>1.4</string>");
    QVERIFY(writeFile(project + "/Info.plist", small));
    QVERIFY(writeFile(dir.filePath("Outside.plist"), small));
    QVERIFY(QFile::link(dir.filePath("Outside.plist"), project + "/Linked.plist"));
    QVERIFY(writeFile(project + "/Large.plist",
                      plist("<key>Pad</key><string>" + QByteArray(InfoPlistReader::maximumBytes, 'x')
                            + "</string><key>CFBundleShortVersionString</key><string>1.4</string>")));

    QCOMPARE(InfoPlistReader::readString(project + "/Info.plist", project, versionKey), QStringLiteral("1.4"));
    QCOMPARE(InfoPlistReader::readString(project + "/Linked.plist", project, versionKey), std::nullopt);
    QCOMPARE(InfoPlistReader::readString(project + "/../Outside.plist", project, versionKey), std::nullopt);
    QCOMPARE(InfoPlistReader::readString(project + "/Large.plist", project, versionKey), std::nullopt);
    QCOMPARE(InfoPlistReader::readString(project + "/Missing.plist", project, versionKey), std::nullopt);
}

QTEST_APPLESS_MAIN(TestInfoPlistReader)
#include "tst_infoplistreader.moc"
