#include <XcconfigReader.h>

#include "FixtureFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Definition = BuildSettingsResolver::Definition;

namespace {

QStringList lines(const QList<Definition> &definitions)
{
    QStringList result;
    for (const Definition &definition : definitions)
        result << definition.key + u'=' + definition.value;
    return result;
}

} // namespace

class TestXcconfigReader final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void readsIncludesInPlace();
    void readsNothingOutsideTheProject_data();
    void readsNothingOutsideTheProject();
    void includeLoopsAndChainsEnd_data();
    void includeLoopsAndChainsEnd();
    void chainPastACapGivesNothing_data();
    void chainPastACapGivesNothing();
    void eachFileIsReadOnce();
};

void TestXcconfigReader::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("assignments in order") << "A = 1\nB=2\n  C  =  three words  \nA = 4"
                                          << QStringList{"A=1", "B=2", "C=three words", "A=4"};
    QTest::newRow("comments") << "// heading\nA = x // trailing\n  // indented\nB = y//tight"
                              << QStringList{"A=x", "B=y"};
    QTest::newRow("two slashes always open a comment") << "URL = https://example.org\nSAFE = https:/$()/example.org"
                                                       << QStringList{"URL=https:", "SAFE=https:/$()/example.org"};
    QTest::newRow("semicolon and quotes") << "A = \"org.example.app\";\nB = org.example;\nC = \"unbalanced\nD = \"\""
                                          << QStringList{"A=org.example.app", "B=org.example", "C=\"unbalanced", "D="};
    QTest::newRow("references kept for the resolver") << "ID = $(inherited).${PRODUCT_NAME:rfc1034identifier}"
                                                      << QStringList{"ID=$(inherited).${PRODUCT_NAME:rfc1034identifier}"};
    QTest::newRow("conditional assignment left out") << "ID[sdk=iphoneos*] = a\nID[config=Release][arch=*] = b\nID = c"
                                                     << QStringList{"ID=c"};
    QTest::newRow("not an assignment") << "= value\n9KEY = x\nKEY WITH BLANK = x\njust text\n#pragma once"
                                       << QStringList{};
    QTest::newRow("CRLF and byte order mark") << QString(QChar::ByteOrderMark) + "A = 1\r\nB = 2\r\n"
                                              << QStringList{"A=1", "B=2"};
    QTest::newRow("includes in place") << "A = 1\n#include \"one.xcconfig\"\nB = 2\n#include? \"two.xcconfig\"\n"
                                       << QStringList{"A=1", "INCLUDED=one.xcconfig", "B=2", "INCLUDED=two.xcconfig"};
    QTest::newRow("include forms not read") << "#include <DEVELOPER_DIR>/x.xcconfig\n#include\n#include \"\"\n#include one.xcconfig"
                                            << QStringList{};
}

void TestXcconfigReader::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const auto include = [](const QString &path) { return QList<Definition>{{QStringLiteral("INCLUDED"), path}}; };
    QCOMPARE(lines(XcconfigReader::parse(text, include)), expected);
}

void TestXcconfigReader::readsIncludesInPlace()
{
    QTemporaryDir dir;
    const QString root = dir.path();
    QVERIFY(writeFile(root + "/Config/App.xcconfig",
                      "#include \"Shared/Base.xcconfig\"\n#include? \"Local.xcconfig\"\nID = $(PREFIX).app\n"
                      "#include \"" + root.toUtf8() + "/Config/Shared/Last.xcconfig\"\n"));
    QVERIFY(writeFile(root + "/Config/Shared/Base.xcconfig", "PREFIX = org\n#include \"../Team.xcconfig\"\n"));
    QVERIFY(writeFile(root + "/Config/Team.xcconfig", "TEAM = T1\n"));
    QVERIFY(writeFile(root + "/Config/Shared/Last.xcconfig", "LAST = yes\n"));

    // Relative to the including file; an absolute path inside the project is read; a missing
    // file ("#include?") adds nothing.
    QCOMPARE(lines(XcconfigReader::read(root + "/Config/App.xcconfig", root)),
             (QStringList{"PREFIX=org", "TEAM=T1", "ID=$(PREFIX).app", "LAST=yes"}));
    QCOMPARE(lines(XcconfigReader::read(root + "/Config/Missing.xcconfig", root)), QStringList{});
}

void TestXcconfigReader::readsNothingOutsideTheProject_data()
{
    QTest::addColumn<QString>("include");
    QTest::newRow("parent folder") << "../outside.xcconfig";
    QTest::newRow("link inside leading out") << "link.xcconfig";
}

void TestXcconfigReader::readsNothingOutsideTheProject()
{
    QFETCH(QString, include);
    QTemporaryDir dir;
    const QString outside = dir.filePath("outside");
    const QString project = dir.filePath("project");
    QVERIFY(writeFile(outside + "/outside.xcconfig", "ID = org.outside\n"));
    QVERIFY(writeFile(project + "/outside.xcconfig", "ID = org.sibling\n")); // never reached either
    QVERIFY(QDir().mkpath(project + "/App"));
    QVERIFY(QFile::link(outside + "/outside.xcconfig", project + "/App/link.xcconfig"));

    const QString path = project + "/App/App.xcconfig";
    QVERIFY(writeFile(path, "ID = org.app\n#include \"" + include.toUtf8() + "\"\n"));
    // The project is "project/App": its parent's files lie outside as well.
    QCOMPARE(lines(XcconfigReader::read(path, project + "/App")), QStringList{"ID=org.app"});
}

void TestXcconfigReader::includeLoopsAndChainsEnd_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<int>("expected");

    QTest::newRow("file includes itself") << 1 << true << 1;
    QTest::newRow("loop of three") << 3 << true << 3;
    QTest::newRow("chain within the depth") << XcconfigReader::maximumIncludeDepth << false
                                            << XcconfigReader::maximumIncludeDepth;
    QTest::newRow("chain beyond the depth") << 100 << false << XcconfigReader::maximumIncludeDepth;
}

// "<n>.xcconfig" defines N=<n> and includes the next one (the last the first, for a loop).
void TestXcconfigReader::includeLoopsAndChainsEnd()
{
    QFETCH(int, files);
    QFETCH(bool, loop);
    QFETCH(int, expected);
    QTemporaryDir dir;
    for (int n = 0; n < files; ++n) {
        const int next = n + 1 < files ? n + 1 : (loop ? 0 : -1);
        QByteArray text = "N = " + QByteArray::number(n) + "\n";
        if (next >= 0)
            text += "#include \"" + QByteArray::number(next) + ".xcconfig\"\n";
        QVERIFY(writeFile(dir.filePath(QString::number(n) + ".xcconfig"), text));
    }
    const QList<Definition> definitions = XcconfigReader::read(dir.filePath("0.xcconfig"), dir.path());
    QCOMPARE(definitions.size(), expected);
    QCOMPARE(definitions.last(), (Definition{QStringLiteral("N"), QString::number(expected - 1)}));
}

void TestXcconfigReader::chainPastACapGivesNothing_data()
{
    QTest::addColumn<int>("inclusions");    // of Part.xcconfig by Main.xcconfig
    QTest::addColumn<int>("definitions");   // in Part.xcconfig
    QTest::addColumn<int>("lineBytes");     // of each of them
    QTest::addColumn<int>("missing");       // optional includes of files that do not exist
    QTest::addColumn<int>("expected");      // definitions of the chain; 0: it gives nothing

    const int cap = int(XcconfigReader::maximumDefinitions);
    QTest::newRow("1.5 MB included twice") << 2 << 25000 << 60 << 0 << 1 + 50000;
    QTest::newRow("1.5 MB included three times") << 3 << 25000 << 60 << 0 << 0;
    QTest::newRow("one file larger than a chain may be") << 1 << 70000 << 64 << 0 << 0;
    QTest::newRow("definitions up to the cap") << 1 << cap - 1 << 12 << 0 << cap;
    QTest::newRow("definitions past the cap") << 1 << cap << 12 << 0 << 0;
    QTest::newRow("includes up to the cap") << 0 << 0 << 0 << XcconfigReader::maximumIncludes << 1;
    QTest::newRow("includes past the cap") << 0 << 0 << 0 << XcconfigReader::maximumIncludes + 1 << 0;
}

// Every inclusion of a file counts again, however often the same file is included.
void TestXcconfigReader::chainPastACapGivesNothing()
{
    QFETCH(int, inclusions);
    QFETCH(int, definitions);
    QFETCH(int, lineBytes);
    QFETCH(int, missing);
    QFETCH(int, expected);
    QTemporaryDir dir;
    QByteArray part;
    for (int n = 0; n < definitions; ++n) {
        QByteArray line = "P" + QByteArray::number(n) + " = ";
        part += line + QByteArray(lineBytes - line.size() - 1, 'x') + '\n';
    }
    QByteArray main = "MAIN = 1\n";
    for (int n = 0; n < inclusions; ++n)
        main += "#include \"Part.xcconfig\"\n";
    for (int n = 0; n < missing; ++n)
        main += "#include? \"Missing" + QByteArray::number(n) + ".xcconfig\"\n";
    QVERIFY(writeFile(dir.filePath("Part.xcconfig"), part));
    QVERIFY(writeFile(dir.filePath("Main.xcconfig"), main));
    QCOMPARE(XcconfigReader::read(dir.filePath("Main.xcconfig"), dir.path()).size(), expected);
}

// Chains that share files read each from disk once, and a chain asked for again is the one
// put together before.
void TestXcconfigReader::eachFileIsReadOnce()
{
    QTemporaryDir dir;
    const QByteArray shared = "SHARED = 1\n";
    const QByteArray debug = "#include \"Shared.xcconfig\"\n#include \"Shared.xcconfig\"\n#include? \"Local.xcconfig\"\nD = 1\n";
    const QByteArray release = "#include \"Shared.xcconfig\"\nR = 1\n";
    QVERIFY(writeFile(dir.filePath("Shared.xcconfig"), shared));
    QVERIFY(writeFile(dir.filePath("Debug.xcconfig"), debug));
    QVERIFY(writeFile(dir.filePath("Release.xcconfig"), release));

    XcconfigReader::Files files(dir.path());
    const auto first = files.level(dir.filePath("Debug.xcconfig"));
    QCOMPARE(lines(first->definitions()), (QStringList{"SHARED=1", "SHARED=1", "D=1"}));
    QCOMPARE(lines(files.level(dir.filePath("Release.xcconfig"))->definitions()), (QStringList{"SHARED=1", "R=1"}));
    QCOMPARE(files.level(dir.filePath("Debug.xcconfig")), first);
    QCOMPARE(files.bytesRead(), shared.size() + debug.size() + release.size());
}

QTEST_APPLESS_MAIN(TestXcconfigReader)
#include "tst_xcconfigreader.moc"
