// The strings-file reader: "\U" escapes and what a malformed table still gives.
#include <StringsFile.h>

#include <QTemporaryDir>
#include <QTest>

namespace {

// One entry "k" = "<value as written in the file>";
QString valueOf(const QString &written, QString *error = nullptr)
{
    return StringsFile::parse(QStringLiteral("\"k\" = \"") + written + QStringLiteral("\";\n"), error)
        .value(QStringLiteral("k"), QStringLiteral("<missing>"));
}

} // namespace

class StringsFileTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unicodeEscapes_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("expected");
        QTest::newRow("four digits") << QStringLiteral("\\U0041") << QStringLiteral("A");
        QTest::newRow("lower-case digits") << QStringLiteral("\\U00e4x") << QStringLiteral("äx");
        QTest::newRow("only four are read") << QStringLiteral("\\U00411") << QStringLiteral("A1");
        QTest::newRow("surrogate pair") << QStringLiteral("\\Ud83d\\Ude00!") << QStringLiteral("\U0001F600!");
        QTest::newRow("pair in upper case") << QStringLiteral("\\UD83D\\UDE00") << QStringLiteral("\U0001F600");
        // Malformed escapes stay as the file has them.
        QTest::newRow("plus sign") << QStringLiteral("\\U+041") << QStringLiteral("\\U+041");
        QTest::newRow("blank") << QStringLiteral("\\U 041") << QStringLiteral("\\U 041");
        QTest::newRow("0x prefix") << QStringLiteral("\\U0x41") << QStringLiteral("\\U0x41");
        QTest::newRow("three digits") << QStringLiteral("\\U041") << QStringLiteral("\\U041");
        QTest::newRow("at the end") << QStringLiteral("ab\\U") << QStringLiteral("ab\\U");
        QTest::newRow("minus sign") << QStringLiteral("\\U-041") << QStringLiteral("\\U-041");
        // A surrogate without its partner is no character.
        QTest::newRow("lone high") << QStringLiteral("\\Ud800") << QStringLiteral("\\Ud800");
        QTest::newRow("lone low") << QStringLiteral("\\Udc00") << QStringLiteral("\\Udc00");
        QTest::newRow("high then letter") << QStringLiteral("\\Ud800\\U0041") << QStringLiteral("\\Ud800A");
        QTest::newRow("high then high") << QStringLiteral("\\Ud800\\Ud83d\\Ude00") << QStringLiteral("\\Ud800\U0001F600");
        QTest::newRow("low then high") << QStringLiteral("\\Ude00\\Ud83d") << QStringLiteral("\\Ude00\\Ud83d");
        QTest::newRow("high, short partner") << QStringLiteral("\\Ud83d\\Ude0") << QStringLiteral("\\Ud83d\\Ude0");
    }

    void unicodeEscapes()
    {
        QFETCH(QString, written);
        QFETCH(QString, expected);
        QString error;
        const QString value = valueOf(written, &error);
        QCOMPARE(value, expected);
        QVERIFY(error.isEmpty());
        // Whatever was read is text Qt can hold: no unpaired surrogate crept in.
        for (qsizetype i = 0; i < value.size(); ++i) {
            const QChar c = value.at(i);
            if (c.isHighSurrogate())
                QVERIFY(i + 1 < value.size() && value.at(++i).isLowSurrogate());
            else
                QVERIFY(!c.isLowSurrogate());
        }
    }

    void malformedEntriesKeepTheOthers()
    {
        const QString text = QStringLiteral(
            "\"first\" = \"eins\";\n"
            "\"no semicolon\" = \"zwei\"\n"
            "\"second\" = \"drei\";\n"
            "\"no equals\" \"vier\";\n"
            "\"escape\" = \"\\U+041 bleibt\";\n"
            "\"open\" = \"ohne Ende;\n"
            "\"third\" = \"fünf\";\n"
            "= \"ohne Schlüssel\";\n"
            "\"last\" = \"sechs\";\n"
            "\"broken\" = \"no end");
        QString error;
        const auto table = StringsFile::parse(text, &error);
        QCOMPARE(table.value(QStringLiteral("first")), QStringLiteral("eins"));
        QCOMPARE(table.value(QStringLiteral("second")), QStringLiteral("drei"));
        QCOMPARE(table.value(QStringLiteral("escape")), QStringLiteral("\\U+041 bleibt"));
        QCOMPARE(table.value(QStringLiteral("third")), QStringLiteral("fünf"));
        QCOMPARE(table.value(QStringLiteral("last")), QStringLiteral("sechs"));
        for (const char *bad : {"no semicolon", "no equals", "open", "broken"})
            QVERIFY2(!table.contains(QString::fromLatin1(bad)), bad);
        // The first fault is reported.
        QCOMPARE(error, QStringLiteral("Wert zu „no semicolon“ unvollständig"));
    }

    void validTableReportsNothing()
    {
        QString error;
        const auto table = StringsFile::parse(QStringLiteral("\xFEFF/* k */\n\"a\" = \"1\"; \"b\" = \"2\";\n// end\n"), &error);
        QCOMPARE(table.size(), 2);
        QVERIFY(error.isEmpty());
    }

    void loadReadsUtf8()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Localizable.strings"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("\"k\" = \"Größe \\Ud83d\\Ude00\";\n\"x\" = \"kaputt\n\"y\" = \"heil\";\n").toUtf8());
        file.close();
        const auto table = StringsFile::load(path);
        QVERIFY(table);
        QCOMPARE(table->value(QStringLiteral("k")), QStringLiteral("Größe \U0001F600"));
        QCOMPARE(table->value(QStringLiteral("y")), QStringLiteral("heil"));
        QVERIFY(!StringsFile::load(dir.filePath(QStringLiteral("missing.strings"))));
    }
};

QTEST_GUILESS_MAIN(StringsFileTest)
#include "tst_stringsfile.moc"
