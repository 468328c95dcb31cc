#include <Locales.h>

#include <QTest>

class TestLocales final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void formatDecimal_data();
    void formatDecimal();
    void parseDecimal_data();
    void parseDecimal();
};

void TestLocales::names_data()
{
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("languageName");
    QTest::newRow("region") << "de-AT" << "Deutsch (Österreich)" << "Deutsch";
    QTest::newRow("underscore form") << "fr_CA" << "Französisch (Kanada)" << "Französisch";
    QTest::newRow("bare language") << "ja" << "Japanisch" << "Japanisch";
    QTest::newRow("unknown language") << "xx-invalid" << "" << "";
    QTest::newRow("unknown bare") << "qq" << "" << "";
    QTest::newRow("blank") << " " << "" << "";
}

void TestLocales::names()
{
    QFETCH(QString, identifier);
    QFETCH(QString, localeName);
    QFETCH(QString, languageName);
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(Locales::localeName(identifier, german), localeName);
    QCOMPARE(Locales::languageName(identifier, german), languageName);
}

void TestLocales::formatDecimal_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("minFraction");
    QTest::addColumn<int>("maxFraction");
    QTest::addColumn<QString>("expected");
    QTest::newRow("german comma") << 2.5 << "de_DE" << 0 << 2 << "2,5";
    QTest::newRow("keeps minimum") << 1.0 << "de_DE" << 1 << 3 << "1,0";
    QTest::newRow("drops separator") << 3.0 << "en_US" << 0 << 4 << "3";
    QTest::newRow("no grouping") << 12345.25 << "en_US" << 0 << 2 << "12345.25";
    QTest::newRow("rounds to maximum") << 52.5200081 << "de_DE" << 0 << 4 << "52,52";
    QTest::newRow("negative") << -13.404954 << "en_US" << 0 << 6 << "-13.404954";
}

void TestLocales::formatDecimal()
{
    QFETCH(double, value);
    QFETCH(QString, locale);
    QFETCH(int, minFraction);
    QFETCH(int, maxFraction);
    QFETCH(QString, expected);
    QCOMPARE(Locales::formatDecimal(value, QLocale(locale), minFraction, maxFraction), expected);
}

void TestLocales::parseDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<std::optional<double>>("expected");
    QTest::newRow("german") << "2,5" << "de_DE" << std::optional<double>(2.5);
    QTest::newRow("german grouped") << "1.234,5" << "de_DE" << std::optional<double>(1234.5);
    QTest::newRow("english") << " 0.25 " << "en_US" << std::optional<double>(0.25);
    QTest::newRow("word") << "zwei" << "de_DE" << std::optional<double>();
    QTest::newRow("empty") << "" << "de_DE" << std::optional<double>();
    QTest::newRow("overflow") << "1e400" << "en_US" << std::optional<double>();
}

void TestLocales::parseDecimal()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(std::optional<double>, expected);
    QCOMPARE(Locales::parseDecimal(text, QLocale(locale)), expected);
}

QTEST_APPLESS_MAIN(TestLocales)
#include "tst_locales.moc"
