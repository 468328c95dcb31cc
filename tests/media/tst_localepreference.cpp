#include <LocalePreference.h>

#include <QTest>

class TestLocalePreference final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayName_data();
    void displayName();
};

void TestLocalePreference::displayName_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("displayLocale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("de-DE in German") << "de-DE" << "de_DE" << "Deutsch (Deutschland) (de-DE)";
    QTest::newRow("de-DE in English") << "de-DE" << "en_US" << "German (Germany) (de-DE)";
    QTest::newRow("en-GB in German") << "en-GB" << "de_DE" << "Englisch (Vereinigtes Königreich) (en-GB)";
    QTest::newRow("en-GB in English") << "en-GB" << "en_US" << "English (United Kingdom) (en-GB)";
    QTest::newRow("zh-Hans in German") << "zh-Hans" << "de_DE" << "Chinesisch (Vereinfacht) (zh-Hans)";
    QTest::newRow("zh-Hans in English") << "zh-Hans" << "en_US" << "Chinese (Simplified) (zh-Hans)";
    QTest::newRow("xx-invalid in German") << "xx-invalid" << "de_DE" << "xx-invalid";
    QTest::newRow("xx-invalid in English") << "xx-invalid" << "en_US" << "xx-invalid";
    QTest::newRow("bare language") << "ja" << "de_DE" << "Japanisch (ja)";
    QTest::newRow("empty") << "" << "de_DE" << "";
}

void TestLocalePreference::displayName()
{
    QFETCH(QString, code);
    QFETCH(QString, displayLocale);
    QFETCH(QString, expected);
    QCOMPARE(LocalePreference::displayName(code, QLocale(displayLocale)), expected);
}

QTEST_APPLESS_MAIN(TestLocalePreference)
#include "tst_localepreference.moc"
