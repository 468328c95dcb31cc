#include <FileNameCase.h>

#include "FixtureFiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestFileNameCase final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void existing_data();
    void existing();
};

void TestFileNameCase::existing_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found"); // relative to the root; empty: as asked

    const QStringList config{"config/Version.Public.xcconfig", "config/Release.xcconfig"};
    QTest::newRow("there as written") << config << "config/Release.xcconfig" << "config/Release.xcconfig";
    QTest::newRow("file in other case") << config << "config/Version.public.xcconfig" << "config/Version.Public.xcconfig";
    QTest::newRow("folder and file in other case") << config << "Config/RELEASE.xcconfig" << "config/Release.xcconfig";
    QTest::newRow("through a folder named above the root's")
        << config << "app/../config/version.public.xcconfig" << "config/Version.Public.xcconfig";
    QTest::newRow("two entries differ in case alone")
        << QStringList{"config/Version.Public.xcconfig", "config/Version.PUBLIC.xcconfig"} << "config/version.public.xcconfig"
        << QString();
    QTest::newRow("no entry of that name") << config << "config/Debug.xcconfig" << QString();
    QTest::newRow("more after a file") << config << "config/release.xcconfig/x" << QString();
    QTest::newRow("outside the root") << config << "../outside/Release.xcconfig" << QString();
}

// A name the Mac would find is found; where it would not, or finds two, the path stays as
// asked, so that its reader finds nothing as before.
void TestFileNameCase::existing()
{
    QFETCH(QStringList, files);
    QFETCH(QString, asked);
    QFETCH(QString, found);

    QTemporaryDir dir;
    const QString root = dir.filePath("Repo");
    for (const QString &file : files)
        QVERIFY(writeFile(root + u'/' + file, "x"));
    const QString path = root + u'/' + asked;
    QCOMPARE(FileNameCase::existing(path, root), found.isEmpty() ? path : root + u'/' + found);
    QCOMPARE(FileNameCase::existing(path, QString()), path);
}

QTEST_APPLESS_MAIN(TestFileNameCase)
#include "tst_filenamecase.moc"
