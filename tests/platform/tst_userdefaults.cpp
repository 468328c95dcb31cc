#include <UserDefaults.h>

#include <QTemporaryDir>
#include <QTest>

class TestUserDefaults final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysRoundTrip_data();
    void keysRoundTrip();
    void typedReads();
    void removeAndStandard();
};

void TestUserDefaults::keysRoundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("colon and space") << "buildSteps.Recorder: My App";
    QTest::newRow("slash") << "buildSteps.Run de/en";
    QTest::newRow("double slash") << "a//b/";
    QTest::newRow("leading slash") << "/root";
    QTest::newRow("backslash") << R"(C:\Users\me)";
    QTest::newRow("percent") << "50%2F";
    QTest::newRow("equals and semicolon") << "a=b;c";
    QTest::newRow("umlaut") << "Größe „Ä“";
}

void TestUserDefaults::keysRoundTrip()
{
    QFETCH(QString, key);
    QTemporaryDir dir;
    const QString path = dir.filePath("defaults.ini");
    {
        UserDefaults defaults(path);
        defaults.setValue(key, 42);
        defaults.setValue("other", "x");
        QVERIFY(defaults.contains(key));
    }
    // Another instance sees the value under exactly this key, and not under near misses.
    UserDefaults reopened(path);
    QVERIFY(reopened.contains(key));
    QCOMPARE(reopened.integer(key), 42);
    QVERIFY(!reopened.contains(key + "x"));
    QCOMPARE(reopened.string("other"), QString("x"));
}

void TestUserDefaults::typedReads()
{
    QTemporaryDir dir;
    UserDefaults defaults(dir.filePath("defaults.ini"));
    defaults.setValue("int", 7);
    defaults.setValue("text int", " 12 ");
    defaults.setValue("fraction", 2.5);
    defaults.setValue("word", "viele");
    defaults.setValue("yes", true);
    defaults.setValue("no", "false");

    UserDefaults reopened(defaults.filePath());
    QCOMPARE(reopened.integer("int"), 7);
    QCOMPARE(reopened.integer("text int"), 12);
    QCOMPARE(reopened.integer("fraction"), std::nullopt);
    QCOMPARE(reopened.integer("word"), std::nullopt);
    QCOMPARE(reopened.integer("missing"), std::nullopt);
    QCOMPARE(reopened.boolean("yes"), true);
    QCOMPARE(reopened.boolean("no"), false);
    QCOMPARE(reopened.boolean("word"), std::nullopt);
    QCOMPARE(reopened.string("missing"), std::nullopt);
}

void TestUserDefaults::removeAndStandard()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("standard.ini");
    UserDefaults::useFile(path);
    UserDefaults::standard().setValue("buildSteps.Recorder: A/B", 3);
    QCOMPARE(UserDefaults::standard().filePath(), path);
    QCOMPARE(UserDefaults(path).integer("buildSteps.Recorder: A/B"), 3);
    UserDefaults::standard().remove("buildSteps.Recorder: A/B");
    QVERIFY(!UserDefaults(path).contains("buildSteps.Recorder: A/B"));
}

QTEST_GUILESS_MAIN(TestUserDefaults)
#include "tst_userdefaults.moc"
