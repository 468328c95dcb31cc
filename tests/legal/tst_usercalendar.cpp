// The user's calendar as the environment names it, whichever locales the system has generated.
#include "LocaleEnvironment.h"

#include <UserCalendar.h>

#include <QTest>

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>

class UserCalendarTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void posixNamesAsIcuReadsThem_data();
    void posixNamesAsIcuReadsThem();
    void environmentOrder_data();
    void environmentOrder();
    void yearsAndLocalesOfACalendar();
    void cyclicYearsAreTheRelatedGregorianYear_data();
    void cyclicYearsAreTheRelatedGregorianYear();
};

void UserCalendarTest::posixNamesAsIcuReadsThem_data()
{
    QTest::addColumn<QString>("posix");
    QTest::addColumn<QString>("icu");
    QTest::newRow("codeset") << QStringLiteral("th_TH.UTF-8") << QStringLiteral("th_TH");
    QTest::newRow("named calendar") << QStringLiteral("ja_JP.UTF-8@calendar=japanese") << QStringLiteral("ja_JP@calendar=japanese");
    QTest::newRow("several keywords") << QStringLiteral("ar_SA@calendar=islamic-civil;numbers=latn")
                                      << QStringLiteral("ar_SA@calendar=islamic-civil;numbers=latn");
    QTest::newRow("glibc modifier") << QStringLiteral("de_DE.ISO-8859-15@euro") << QStringLiteral("de_DE");
    QTest::newRow("script modifier") << QStringLiteral("sr_RS@latin") << QStringLiteral("sr_RS");
    QTest::newRow("language only") << QStringLiteral("fa") << QStringLiteral("fa");
    QTest::newRow("surrounding blanks") << QStringLiteral(" fa_IR.UTF-8 ") << QStringLiteral("fa_IR");
    QTest::newRow("C") << QStringLiteral("C") << QStringLiteral("en_US_POSIX");
    QTest::newRow("C.UTF-8") << QStringLiteral("C.UTF-8") << QStringLiteral("en_US_POSIX");
    QTest::newRow("POSIX") << QStringLiteral("POSIX") << QStringLiteral("en_US_POSIX");
    QTest::newRow("C with calendar") << QStringLiteral("C.UTF-8@calendar=buddhist") << QStringLiteral("en_US_POSIX@calendar=buddhist");
    QTest::newRow("empty") << QString() << QStringLiteral("en_US_POSIX");
    QTest::newRow("path") << QStringLiteral("../../etc/passwd") << QStringLiteral("en_US_POSIX");
    QTest::newRow("control character") << QStringLiteral("de_DE\n") << QStringLiteral("de_DE");
    QTest::newRow("inner control character") << QStringLiteral("de\x01_DE") << QStringLiteral("en_US_POSIX");
    QTest::newRow("broken keyword") << QStringLiteral("ja_JP@calendar=ja panese;=x;y=") << QStringLiteral("ja_JP");
    QTest::newRow("non-ASCII") << QStringLiteral("dé_DE") << QStringLiteral("en_US_POSIX");
}

void UserCalendarTest::posixNamesAsIcuReadsThem()
{
    QFETCH(QString, posix);
    QFETCH(QString, icu);
    QCOMPARE(UserCalendar::icuLocaleID(posix), icu);
}

void UserCalendarTest::environmentOrder_data()
{
    QTest::addColumn<QByteArray>("all");
    QTest::addColumn<QByteArray>("time");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<QString>("type");
    QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray() << QStringLiteral("gregorian");
    QTest::newRow("LANG") << QByteArray() << QByteArray() << QByteArray("th_TH.UTF-8") << QStringLiteral("buddhist");
    QTest::newRow("LC_TIME before LANG") << QByteArray() << QByteArray("fa_IR.UTF-8") << QByteArray("th_TH.UTF-8")
                                         << QStringLiteral("persian");
    QTest::newRow("LC_ALL before both") << QByteArray("ja_JP.UTF-8@calendar=japanese") << QByteArray("fa_IR.UTF-8")
                                        << QByteArray("th_TH.UTF-8") << QStringLiteral("japanese");
    QTest::newRow("region default") << QByteArray("ar_SA.UTF-8") << QByteArray() << QByteArray() << QStringLiteral("islamic-umalqura");
    QTest::newRow("named beats region") << QByteArray("th_TH.UTF-8@calendar=gregorian") << QByteArray() << QByteArray()
                                        << QStringLiteral("gregorian");
    QTest::newRow("ja_JP without calendar") << QByteArray("ja_JP.UTF-8") << QByteArray() << QByteArray() << QStringLiteral("gregorian");
    QTest::newRow("unknown calendar") << QByteArray("de_DE@calendar=nonsense") << QByteArray() << QByteArray()
                                      << QStringLiteral("gregorian");
}

void UserCalendarTest::environmentOrder()
{
    QFETCH(QByteArray, all);
    QFETCH(QByteArray, time);
    QFETCH(QByteArray, lang);
    QFETCH(QString, type);
    const LocaleEnvironment environment(all, time, lang);
    QCOMPARE(UserCalendar::fromEnvironment().type(), type);
    // A variable set but empty counts as unset, as the C library has it.
    if (all.isEmpty()) {
        qputenv("LC_ALL", QByteArray());
        QCOMPARE(UserCalendar::fromEnvironment().type(), type);
    }
}

void UserCalendarTest::yearsAndLocalesOfACalendar()
{
    // Japanese eras begin mid-year: 30 April 2019 is Heisei 31, 1 May Reiwa 1.
    const UserCalendar japanese(QStringLiteral("ja_JP@calendar=japanese"));
    QCOMPARE(japanese.year(QDateTime(QDate(2019, 4, 30), QTime(12, 0))), 31);
    QCOMPARE(japanese.year(QDateTime(QDate(2019, 5, 1), QTime(12, 0))), 1);
    // The Persian year begins at the March equinox.
    const UserCalendar persian(QStringLiteral("fa_IR"));
    QCOMPARE(persian.year(QDateTime(QDate(2026, 3, 9), QTime(12, 0))), 1404);
    QCOMPARE(persian.year(QDateTime(QDate(2026, 3, 22), QTime(12, 0))), 1405);
    // An invalid instant gives no ICU year.
    QCOMPARE(persian.year(QDateTime()), 0);

    // Texts in a page's language, counted in the user's calendar; a calendar the page's own
    // region would choose does not count.
    QCOMPARE(UserCalendar(QStringLiteral("th_TH")).localeIDFor(QLocale(QLocale::German, QLocale::Germany)),
             QStringLiteral("de_DE@calendar=buddhist"));
    QCOMPARE(UserCalendar(QStringLiteral("en_US_POSIX")).localeIDFor(QLocale(QLocale::Persian, QLocale::Iran)),
             QStringLiteral("fa_IR@calendar=gregorian"));
    QCOMPARE(UserCalendar(QStringLiteral("ja_JP@calendar=japanese")).localeIDFor(QLocale::c()),
             QStringLiteral("en_US_POSIX@calendar=japanese"));
}

void UserCalendarTest::cyclicYearsAreTheRelatedGregorianYear_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("chinese") << QStringLiteral("zh_CN@calendar=chinese");
    QTest::newRow("dangi") << QStringLiteral("ko_KR@calendar=dangi");
    QTest::newRow("chinese, named in a German locale") << QStringLiteral("de_DE@calendar=chinese");
}

void UserCalendarTest::cyclicYearsAreTheRelatedGregorianYear()
{
    QFETCH(QString, locale);
    const UserCalendar calendar(locale);
    // The year of the horse, the 43rd of its cycle, begins on 17 February 2026.
    QCOMPARE(calendar.year(QDateTime(QDate(2026, 2, 16), QTime(12, 0))), 2025);
    QCOMPARE(calendar.year(QDateTime(QDate(2026, 2, 17), QTime(12, 0))), 2026);
    QCOMPARE(calendar.year(QDateTime(QDate(2026, 3, 9), QTime(12, 0))), 2026);
    QCOMPARE(calendar.year(QDateTime(QDate(2026, 12, 31), QTime(12, 0))), 2026);

    // Around every new year of six decades: the year the calendar's own formats show.
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale latinDigits = icu::Locale::createCanonical(qPrintable(locale + QStringLiteral(";numbers=latn")));
    icu::SimpleDateFormat relatedYear(icu::UnicodeString(u"r"), latinDigits, status);
    QVERIFY(U_SUCCESS(status));
    for (int year = 1990; year <= 2050; ++year) {
        for (QDate day(year, 1, 15); day <= QDate(year, 2, 25); day = day.addDays(1)) {
            const QDateTime noon(day, QTime(12, 0));
            icu::UnicodeString shown;
            relatedYear.format(UDate(noon.toMSecsSinceEpoch()), shown);
            const int expected = QString(reinterpret_cast<const QChar *>(shown.getBuffer()), shown.length()).toInt();
            QVERIFY2(calendar.year(noon) == expected, qPrintable(day.toString(Qt::ISODate)));
        }
    }
}

QTEST_GUILESS_MAIN(UserCalendarTest)
#include "tst_usercalendar.moc"
