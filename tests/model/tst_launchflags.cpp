#include <LaunchFlag.h>

#include <QTemporaryDir>
#include <QTest>

class TestLaunchFlags final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodesManifest();
    void badManifestsFail_data();
    void badManifestsFail();
    void manifestRoundTrip();
    void loadFromProjectFolder();
    void argumentsFromSelections_data();
    void argumentsFromSelections();
};

void TestLaunchFlags::decodesManifest()
{
    const QByteArray json = R"({
        "flags": [
            {"arg": "-demo", "type": "bool", "label": "Demo-Daten"},
            {"arg": "-theme", "type": "enum", "label": "Thema", "help": "Erscheinungsbild", "values": ["light", "dark"]},
            {"arg": "-user", "type": "string", "label": "Benutzer", "extra": 1}
        ],
        "version": 2
    })";
    QString error;
    const auto file = LaunchFlagsManifest::File::decode(json, &error);
    QVERIFY2(file, qPrintable(error));
    QCOMPARE(file->flags.size(), 3);
    QCOMPARE(file->flags[0], (LaunchFlag{"-demo", LaunchFlagType::Bool, "Demo-Daten", std::nullopt, std::nullopt}));
    QCOMPARE(file->flags[1], (LaunchFlag{"-theme", LaunchFlagType::Enum, "Thema", QString("Erscheinungsbild"), QStringList{"light", "dark"}}));
    QCOMPARE(file->flags[2].type, LaunchFlagType::String);
}

void TestLaunchFlags::badManifestsFail_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("flags missing") << QByteArray(R"({})");
    QTest::newRow("flags null") << QByteArray(R"({"flags":null})");
    QTest::newRow("flags an object") << QByteArray(R"({"flags":{}})");
    QTest::newRow("unknown type") << QByteArray(R"({"flags":[{"arg":"-a","type":"number","label":"A"}]})");
    QTest::newRow("arg missing") << QByteArray(R"({"flags":[{"type":"bool","label":"A"}]})");
    QTest::newRow("values not strings") << QByteArray(R"({"flags":[{"arg":"-a","type":"enum","label":"A","values":[1]}]})");
    QTest::newRow("not an object") << QByteArray(R"([])");
    QTest::newRow("invalid json") << QByteArray(R"({"flags":[)");
}

void TestLaunchFlags::badManifestsFail()
{
    QFETCH(QByteArray, json);
    QString error;
    QVERIFY(!LaunchFlagsManifest::File::decode(json, &error));
    QVERIFY(!error.isEmpty());
}

void TestLaunchFlags::manifestRoundTrip()
{
    LaunchFlagsManifest::File file;
    file.flags = {LaunchFlag{"-demo", LaunchFlagType::Bool, "Demo", std::nullopt, std::nullopt},
                  LaunchFlag{"-level", LaunchFlagType::Enum, "Stufe", QString("Hilfe"), QStringList{"1", "2"}}};
    QCOMPARE(LaunchFlagsManifest::File::decode(file.encode()).value().flags, file.flags);
}

void TestLaunchFlags::loadFromProjectFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(!LaunchFlagsManifest::load(dir.path()));

    QFile file(dir.filePath("velorance-flags.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"flags":[{"arg":"-demo","type":"bool","label":"Demo"}]})");
    file.close();
    QCOMPARE(LaunchFlagsManifest::load(dir.path()).value().flags.size(), 1);

    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("kaputt");
    file.close();
    QVERIFY(!LaunchFlagsManifest::load(dir.path()));
}

void TestLaunchFlags::argumentsFromSelections_data()
{
    using Selections = QMap<QString, QString>;
    QTest::addColumn<Selections>("selections");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sorted by key") << Selections{{"-theme", "dark"}, {"-beta", "true"}, {"-Zed", "1"}}
                                   << QStringList{"-Zed", "1", "-beta", "true", "-theme", "dark"};
    QTest::newRow("values trimmed of spaces and tabs") << Selections{{"-a", "\t x \u00a0"}} << QStringList{"-a", "x"};
    QTest::newRow("line breaks are not trimmed") << Selections{{"-a", "x\n"}} << QStringList{"-a", "x\n"};
    QTest::newRow("empty after trim skipped") << Selections{{"-a", "  "}, {"-b", ""}} << QStringList{};
}

void TestLaunchFlags::argumentsFromSelections()
{
    using Selections = QMap<QString, QString>;
    QFETCH(Selections, selections);
    QFETCH(QStringList, expected);
    QCOMPARE(LaunchFlagsManifest::launchArguments(selections), expected);
}

QTEST_APPLESS_MAIN(TestLaunchFlags)
#include "tst_launchflags.moc"
