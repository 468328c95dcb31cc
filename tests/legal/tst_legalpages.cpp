#include "LocaleEnvironment.h"

#include <AppInfoView.h>
#include <DefaultAppInfoHero.h>
#include <DeveloperInfoCard.h>
#include <ImprintView.h>
#include <LegalAddressBlock.h>
#include <LegalEnvironment.h>
#include <LegalLastUpdated.h>
#include <LegalLinkRow.h>
#include <LegalSection.h>
#include <LegalText.h>
#include <NorvaneBrand.h>
#include <PrivacyPolicyView.h>
#include <VersionBadge.h>
#include <VersionInfoCard.h>

#include <BundleInfo.h>
#include <SettingsTheme.h>

#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <initializer_list>
#include <memory>
#include <tuple>

namespace {

LegalEntity sampleEntity()
{
    return LegalEntity(QStringLiteral("Beispiel GmbH"), QStringLiteral("Erika Muster"), QStringLiteral("Hauptstraße 5"),
                       QStringLiteral("80331 München"), std::nullopt, QStringLiteral("info@beispiel.example"),
                       std::nullopt, QUrl(QStringLiteral("https://beispiel.example")), QStringLiteral("beispiel.example"));
}

template <typename Page>
Page *localised(Page *page, const QLocale &locale)
{
    LegalEnvironment::setLocale(page, locale);
    return page;
}

} // namespace

class LegalPagesTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void addressLinesFromAnEntity();
    void linkRowsFollowDisplayOnly();
    void lastUpdatedUsesThePageLanguage();
    void lastUpdatedUsesTheLocalesCalendar_data();
    void lastUpdatedUsesTheLocalesCalendar();
    void dateAndCopyrightCountInTheUsersCalendar_data();
    void dateAndCopyrightCountInTheUsersCalendar();
    void cyclicYearsShowTheRelatedGregorianYear_data();
    void cyclicYearsShowTheRelatedGregorianYear();
    void appInfoParts();
    void developerCardLinks();
    void copyrightYearIsTakenAnew();
    void imprintSections();
    void privacyPage();
    void wordmarkKeepsItsHeight();

private:
    QList<QUrl> m_opened;
    std::unique_ptr<LocaleEnvironment> m_environment;
};

void LegalPagesTest::init()
{
    // A Gregorian user unless a test says otherwise, whatever the machine running the tests uses.
    m_environment = std::make_unique<LocaleEnvironment>("de_DE.UTF-8");
    m_opened.clear();
    LegalLinkOpener::setOpener([this](const QUrl &url) { m_opened.append(url); });
    BundleInfo::setMain(BundleInfo::fromBuild());
}

void LegalPagesTest::cleanup()
{
    m_environment.reset();
}

void LegalPagesTest::addressLinesFromAnEntity()
{
    LegalEntity entity = sampleEntity();
    QCOMPARE(LegalAddressBlock::lines(entity, true),
             (QStringList{QStringLiteral("Beispiel GmbH"), QStringLiteral("Erika Muster"), QStringLiteral("Hauptstraße 5"),
                          QStringLiteral("80331 München")}));

    // Without a country the localised name of Germany ends the block.
    auto *german = localised(new LegalAddressBlock(entity, false), QLocale(QLocale::German));
    QVERIFY(german->appendsLocalizedGermany());
    QCOMPARE(german->shownLines().first(), QStringLiteral("Erika Muster"));
    QCOMPARE(german->shownLines().last(), QStringLiteral("Deutschland"));
    auto *english = localised(new LegalAddressBlock(entity, true), QLocale(QLocale::English));
    QCOMPARE(english->shownLines().last(), QStringLiteral("Germany"));
    QCOMPARE(english->findChildren<QLabel *>().first()->font().weight(), QFont::DemiBold);

    // A country, even one naming Germany, replaces the localised line.
    entity.country = QStringLiteral("Deutschland");
    auto *withCountry = new LegalAddressBlock(entity, true);
    QVERIFY(!withCountry->appendsLocalizedGermany());
    QCOMPARE(withCountry->shownLines().size(), 5);

    // Lines given directly never get the Germany line; an empty list shows nothing.
    auto *empty = new LegalAddressBlock(QStringList());
    QVERIFY(empty->shownLines().isEmpty());
    delete german;
    delete english;
    delete withCountry;
    delete empty;
}

void LegalPagesTest::linkRowsFollowDisplayOnly()
{
    QWidget host;
    SettingsTheme theme;
    theme.accent = QColor(Qt::magenta);
    SettingsTheme::install(&host, theme);
    auto *row = new LegalLinkRow(QStringLiteral("envelope.fill"), LocalizedText::key(QStringLiteral("legal.contact.email")),
                                 QStringLiteral("info@beispiel.example"), QUrl(QStringLiteral("mailto:info@beispiel.example")), &host);
    LegalEnvironment::setLocale(&host, QLocale(QLocale::German));
    host.resize(400, 100);
    row->resize(400, 80);

    QVERIFY(row->isLinked());
    QVERIFY(row->showsArrow());
    QCOMPARE(row->labelText(), QStringLiteral("E-Mail"));
    QCOMPARE(row->valueColor(), QColor(Qt::magenta));
    QCOMPARE(row->backgroundOpacity(), 0.1);
    QTest::mouseClick(row, Qt::LeftButton);
    QCOMPARE(m_opened, QList<QUrl>{QUrl(QStringLiteral("mailto:info@beispiel.example"))});

    LegalEnvironment::setContactDisplayOnly(&host, true);
    QVERIFY(!row->isLinked());
    QVERIFY(!row->showsArrow());
    QCOMPARE(row->valueColor(), SettingsTheme::defaultTheme().textPrimary);
    QCOMPARE(row->backgroundOpacity(), 0.05);
    QTest::mouseClick(row, Qt::LeftButton);
    QCOMPARE(m_opened.size(), 1);
}

void LegalPagesTest::lastUpdatedUsesThePageLanguage()
{
    const QDate date(2026, 3, 9);
    QCOMPARE(LegalLastUpdated::longDate(date, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("9. März 2026"));
    QCOMPARE(LegalLastUpdated::longDate(date, QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("March 9, 2026"));

    auto *line = localised(new LegalLastUpdated(date), QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(line->lineText(), QStringLiteral("Zuletzt aktualisiert: 9. März 2026"));
    LegalEnvironment::setLocale(line, QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(line->lineText(), QStringLiteral("Last updated: March 9, 2026"));
    delete line;
}

void LegalPagesTest::lastUpdatedUsesTheLocalesCalendar_data()
{
    // 9 March 2026 is 18 Esfand 1404 (Persian), 20 Ramadan 1447 (Umm al-Qura), 2569 in the
    // Buddhist era and Reiwa 8 in the Japanese calendar.
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("de") << QStringLiteral("de") << QStringList{QStringLiteral("9. März 2026")} << QStringList();
    QTest::newRow("en") << QStringLiteral("en") << QStringList{QStringLiteral("March 9, 2026")} << QStringList();
    QTest::newRow("fa_IR") << QStringLiteral("fa_IR")
                           << QStringList{QStringLiteral("۱۸"), QStringLiteral("اسفند"), QStringLiteral("۱۴۰۴")}
                           << QStringList{QStringLiteral("۲۰۲۶"), QStringLiteral("2026")};
    QTest::newRow("ar_SA") << QStringLiteral("ar_SA")
                           << QStringList{QStringLiteral("٢٠"), QStringLiteral("رمضان"), QStringLiteral("١٤٤٧")}
                           << QStringList{QStringLiteral("٢٠٢٦"), QStringLiteral("2026")};
    QTest::newRow("th_TH") << QStringLiteral("th_TH") << QStringList{QStringLiteral("9"), QStringLiteral("มีนาคม"), QStringLiteral("2569")}
                           << QStringList{QStringLiteral("2026")};
    QTest::newRow("ja_JP@calendar=japanese") << QStringLiteral("ja_JP@calendar=japanese")
                                             << QStringList{QStringLiteral("令和8年3月9日")} << QStringList{QStringLiteral("2026")};
}

void LegalPagesTest::lastUpdatedUsesTheLocalesCalendar()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, parts);
    QFETCH(QStringList, absent);
    const QDate date(2026, 3, 9);
    const QString text = locale.contains(QLatin1Char('@')) ? LegalLastUpdated::longDate(date, locale)
                                                          : LegalLastUpdated::longDate(date, QLocale(locale));
    for (const QString &part : parts)
        QVERIFY2(text.contains(part), qPrintable(text + QStringLiteral(" lacks ") + part));
    for (const QString &part : absent)
        QVERIFY2(!text.contains(part), qPrintable(text + QStringLiteral(" shows ") + part));

    // The day before and after stay the days before and after, in every calendar.
    QVERIFY(LegalLastUpdated::longDate(date.addDays(-1), locale) != text);
    QVERIFY(LegalLastUpdated::longDate(date.addDays(1), locale) != text);
}

void LegalPagesTest::dateAndCopyrightCountInTheUsersCalendar_data()
{
    // 9 March 2026 under the system locale, on a German and an English page: the calendar is
    // the user's, month names and digits are the page's.
    QTest::addColumn<QByteArray>("systemLocale");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("english");
    QTest::addColumn<int>("year");
    QTest::newRow("th_TH") << QByteArray("th_TH.UTF-8") << QStringLiteral("9. März 2569 BE") << QStringLiteral("March 9, 2569 BE") << 2569;
    QTest::newRow("fa_IR") << QByteArray("fa_IR.UTF-8") << QStringLiteral("18. Essfand 1404 AP") << QStringLiteral("Esfand 18, 1404 AP")
                           << 1404;
    QTest::newRow("ar_SA") << QByteArray("ar_SA.UTF-8") << QStringLiteral("20. Ramadan 1447 AH") << QStringLiteral("Ramadan 20, 1447 AH")
                           << 1447;
    QTest::newRow("ja_JP@calendar=japanese") << QByteArray("ja_JP.UTF-8@calendar=japanese") << QStringLiteral("9. März 8 Reiwa")
                                             << QStringLiteral("March 9, 8 Reiwa") << 8;
    QTest::newRow("de_DE") << QByteArray("de_DE.UTF-8") << QStringLiteral("9. März 2026") << QStringLiteral("March 9, 2026") << 2026;
}

void LegalPagesTest::dateAndCopyrightCountInTheUsersCalendar()
{
    QFETCH(QByteArray, systemLocale);
    QFETCH(QString, german);
    QFETCH(QString, english);
    QFETCH(int, year);
    const LocaleEnvironment environment(systemLocale);
    const QDate date(2026, 3, 9);
    LegalEntity entity = sampleEntity();

    PrivacyPolicyView privacy(entity, date, nullptr);
    ImprintView imprint(entity, date);
    AppInfoView appInfo(QStringLiteral("Velorance Studio"), std::nullopt, QStringLiteral("camera.viewfinder"), entity,
                        std::nullopt, false);
    appInfo.setClock([] { return QDateTime(QDate(2026, 3, 9), QTime(12, 0)); });
    for (const auto &[locale, expected, label] :
         {std::tuple(QLocale(QLocale::German, QLocale::Germany), german, QStringLiteral("Zuletzt aktualisiert: ")),
          std::tuple(QLocale(QLocale::English, QLocale::UnitedStates), english, QStringLiteral("Last updated: "))}) {
        for (LegalPage *page : std::initializer_list<LegalPage *>{&privacy, &imprint, &appInfo})
            LegalEnvironment::setLocale(page, locale);
        for (LegalPage *page : std::initializer_list<LegalPage *>{&privacy, &imprint}) {
            auto *line = qobject_cast<LegalLastUpdated *>(page->parts().last());
            QVERIFY(line);
            QCOMPARE(line->lineText(), label + expected);
        }
        // The app-info page's copyright year is the date's year: one calendar for both.
        QCOMPARE(appInfo.developerCard()->copyrightYear(), year);
        QVERIFY(expected.contains(QStringLiteral(" %1").arg(year)));
    }
}

void LegalPagesTest::cyclicYearsShowTheRelatedGregorianYear_data()
{
    // Under a calendar whose years go round a 60-year cycle, the copyright year is the related
    // Gregorian year, as the calendar's own formats show it; the footer keeps their way.
    QTest::addColumn<QByteArray>("systemLocale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("english");
    QTest::newRow("chinese") << QByteArray("zh_CN.UTF-8@calendar=chinese") << QDate(2026, 3, 9) << 2026
                             << QStringLiteral("21. M01 bing-wu") << QStringLiteral("First Month 21, 2026(bing-wu)");
    QTest::newRow("chinese, before its new year") << QByteArray("zh_CN.UTF-8@calendar=chinese") << QDate(2026, 2, 1) << 2025
                                                  << QStringLiteral("14. M12 yi-si") << QStringLiteral("Twelfth Month 14, 2025(yi-si)");
    QTest::newRow("dangi") << QByteArray("ko_KR.UTF-8@calendar=dangi") << QDate(2026, 3, 9) << 2026
                           << QStringLiteral("21. M01 bing-wu") << QStringLiteral("First Month 21, 2026(bing-wu)");
}

void LegalPagesTest::cyclicYearsShowTheRelatedGregorianYear()
{
    QFETCH(QByteArray, systemLocale);
    QFETCH(QDate, date);
    QFETCH(int, year);
    QFETCH(QString, german);
    QFETCH(QString, english);
    const LocaleEnvironment environment(systemLocale);
    AppInfoView appInfo(QStringLiteral("Velorance Studio"), std::nullopt, QStringLiteral("camera.viewfinder"), sampleEntity(),
                        std::nullopt, false);
    appInfo.setClock([date] { return QDateTime(date, QTime(12, 0)); });
    QCOMPARE(appInfo.developerCard()->copyrightText(), QStringLiteral("Copyright © %1 Beispiel GmbH").arg(year));

    ImprintView imprint(sampleEntity(), date);
    for (const auto &[locale, expected] : {std::pair(QLocale(QLocale::German, QLocale::Germany), german),
                                           std::pair(QLocale(QLocale::English, QLocale::UnitedStates), english)}) {
        LegalEnvironment::setLocale(&imprint, locale);
        auto *line = qobject_cast<LegalLastUpdated *>(imprint.parts().last());
        QVERIFY(line);
        QVERIFY2(line->lineText().endsWith(QStringLiteral(": ") + expected), qPrintable(line->lineText()));
    }
}

void LegalPagesTest::appInfoParts()
{
    auto *withoutRelease = localised(new AppInfoView(QStringLiteral("Velorance Studio"), std::nullopt, QStringLiteral("camera.viewfinder"),
                                                     sampleEntity(), std::nullopt, false),
                                     QLocale(QLocale::German));
    QCOMPARE(withoutRelease->windowTitle(), QStringLiteral("Über die App"));
    QCOMPARE(withoutRelease->versionCard()->rowCount(), 2);
    QCOMPARE(withoutRelease->versionCard()->row(0), qMakePair(QStringLiteral("Version"), QStringLiteral("0.2.0")));
    QCOMPARE(withoutRelease->versionCard()->row(1), qMakePair(QStringLiteral("Build"), QStringLiteral("2")));
    // Hero, version card, developer card: nothing in between without extra sections.
    QCOMPARE(withoutRelease->parts(),
             (QList<QWidget *>{withoutRelease->hero(), withoutRelease->versionCard(), withoutRelease->developerCard()}));
    QVERIFY(!static_cast<DefaultAppInfoHero *>(withoutRelease->hero())->hasTagline());

    auto *badge = withoutRelease->findChild<VersionBadge *>();
    QVERIFY(badge);
    QCOMPARE(badge->versionText(), QStringLiteral("v0.2.0"));
    QCOMPARE(badge->buildText(), QStringLiteral("(Build 2)"));

    auto *extra = new QLabel(QStringLiteral("extra"));
    auto *withRelease = new AppInfoView(sampleEntity(), QStringLiteral("1. Dezember 2026"), true, new QLabel(QStringLiteral("hero")), extra);
    QCOMPARE(withRelease->versionCard()->rowCount(), 3);
    QCOMPARE(withRelease->parts().at(2), extra);

    // Missing version entries fall back.
    BundleInfo::setMain(BundleInfo::empty());
    auto *fallback = new VersionInfoCard(std::nullopt);
    QCOMPARE(fallback->row(0).second, QStringLiteral("1.0"));
    QCOMPARE(fallback->row(1).second, QStringLiteral("1"));
    delete fallback;
    delete withoutRelease;
    delete withRelease;
}

void LegalPagesTest::developerCardLinks()
{
    QCOMPARE(DeveloperInfoCard::copyrightLine(2026, QStringLiteral("Norvane")), QStringLiteral("Copyright © 2026 Norvane"));
    QCOMPARE(DeveloperInfoCard::copyrightLine(12026, QStringLiteral("N")), QStringLiteral("Copyright © 12026 N"));

    LegalEntity entity = sampleEntity();
    auto *noLinks = localised(new DeveloperInfoCard(entity, 2026, false), QLocale(QLocale::German));
    QVERIFY(noLinks->linkRows().isEmpty());
    QCOMPARE(noLinks->madeByText(), QStringLiteral("Entwickelt von Beispiel GmbH"));

    auto *websiteOnly = new DeveloperInfoCard(entity, 2026, true);
    QCOMPARE(websiteOnly->linkRows().size(), 1);

    entity.personWebsite = QUrl(QStringLiteral("https://erika.example/about"));
    auto *both = new DeveloperInfoCard(entity, 2026, true);
    QCOMPARE(both->linkRows().size(), 2);
    QCOMPARE(both->linkRows().at(1)->valueText(), QStringLiteral("erika.example"));
    QCOMPARE(both->linkRows().at(1)->labelText(), QStringLiteral("Erika Muster"));
    QCOMPARE(DeveloperInfoCard::websiteValue(QUrl(QStringLiteral("mailto:erika@example.org"))), QStringLiteral("mailto:erika@example.org"));
    delete noLinks;
    delete websiteOnly;
    delete both;
}

void LegalPagesTest::copyrightYearIsTakenAnew()
{
    // The year in the user's calendar; a named calendar counts its own years.
    const QDateTime newYear(QDate(2027, 1, 1), QTime(0, 0, 0, 300));
    QCOMPARE(AppInfoView::calendarYear(newYear, QStringLiteral("de_DE")), 2027);
    QCOMPARE(AppInfoView::calendarYear(newYear, QStringLiteral("th_TH")), 2570);
    QCOMPARE(AppInfoView::calendarYear(newYear.addMSecs(-600), QStringLiteral("de_DE")), 2026);

    // Kept open over New Year: the page looks again just after midnight.
    QDateTime now(QDate(2026, 12, 31), QTime(23, 59, 59, 700));
    AppInfoView page(QStringLiteral("Velorance Studio"), std::nullopt, QStringLiteral("camera.viewfinder"), sampleEntity(),
                     std::nullopt, false);
    page.setClock([&now] { return now; });
    const int before = AppInfoView::calendarYear(now);
    QCOMPARE(page.developerCard()->copyrightYear(), before);
    QCOMPARE(page.developerCard()->copyrightText(), DeveloperInfoCard::copyrightLine(before, QStringLiteral("Beispiel GmbH")));
    page.ensurePolished();
    QCoreApplication::processEvents();
    now = newYear;
    QCOMPARE(page.developerCard()->copyrightYear(), before); // nothing has looked yet
    QTRY_COMPARE_WITH_TIMEOUT(page.developerCard()->copyrightYear(), AppInfoView::calendarYear(newYear), 3000);
    QVERIFY(page.developerCard()->copyrightText().contains(QString::number(AppInfoView::calendarYear(newYear))));

    // Rebuilt for a new locale or theme, it takes the year again.
    now = QDateTime(QDate(2031, 6, 1), QTime(12, 0));
    LegalEnvironment::setLocale(&page, QLocale(QLocale::English));
    QCOMPARE(page.developerCard()->copyrightYear(), AppInfoView::calendarYear(now));
    now = QDateTime(QDate(2032, 6, 1), QTime(12, 0));
    SettingsTheme theme;
    theme.accent = QColor(Qt::green);
    SettingsTheme::install(&page, theme);
    QCOMPARE(page.developerCard()->copyrightYear(), AppInfoView::calendarYear(now));
}

void LegalPagesTest::imprintSections()
{
    LegalEntity entity = sampleEntity();
    auto *plain = localised(new ImprintView(entity, std::nullopt), QLocale(QLocale::German));
    QCOMPARE(plain->windowTitle(), QStringLiteral("Impressum"));
    QVERIFY(!plain->section(QStringLiteral("vatSection")));
    QVERIFY(!plain->findChild<LegalLastUpdated *>());
    // Contact rows show the general address, never the privacy one.
    const auto contactRows = plain->section(QStringLiteral("contactSection"))->findChildren<LegalLinkRow *>();
    QCOMPARE(contactRows.size(), 2);
    QCOMPARE(contactRows.at(0)->valueText(), entity.email);
    QCOMPARE(contactRows.at(1)->destination(), entity.website);
    // The responsible person's address has no company and no country line.
    const auto addresses = plain->findChildren<LegalAddressBlock *>();
    QCOMPARE(addresses.size(), 2);
    QCOMPARE(addresses.at(0)->shownLines().first(), QStringLiteral("Beispiel GmbH"));
    QCOMPARE(addresses.at(0)->shownLines().last(), QStringLiteral("Deutschland"));
    QCOMPARE(addresses.at(1)->shownLines(),
             (QStringList{QStringLiteral("Erika Muster"), QStringLiteral("Hauptstraße 5"), QStringLiteral("80331 München")}));
    // The last part is the disclaimer with its three standard blocks.
    QCOMPARE(plain->parts().last(), plain->section(QStringLiteral("disclaimerSection")));
    QVERIFY(plain->findChild<QWidget *>(QStringLiteral("standardDisclaimer")));

    entity.vatID = QStringLiteral("DE999999999");
    auto *override = new QLabel(QStringLiteral("Eigener Haftungsausschluss"));
    auto *full = new ImprintView(entity, QDate(2026, 1, 2), override);
    QVERIFY(full->section(QStringLiteral("vatSection")));
    QCOMPARE(full->findChild<QLabel *>(QStringLiteral("vatNumber"))->text(), QStringLiteral("DE999999999"));
    QVERIFY(!full->findChild<QWidget *>(QStringLiteral("standardDisclaimer")));
    QCOMPARE(full->section(QStringLiteral("disclaimerSection"))->content(), override);
    QVERIFY(qobject_cast<LegalLastUpdated *>(full->parts().last()));
    delete plain;
    delete full;
}

void LegalPagesTest::privacyPage()
{
    LegalEntity entity = sampleEntity();
    auto *sections = new QLabel(QStringLiteral("Abschnitte"));
    auto *page = localised(new PrivacyPolicyView(entity, std::nullopt, sections), QLocale(QLocale::English));
    QCOMPARE(page->windowTitle(), QStringLiteral("Privacy Policy"));
    QCOMPARE(page->parts().size(), 3);
    QCOMPARE(page->parts().at(1), sections);
    QCOMPARE(page->parts().last(), page->contactSection());
    QCOMPARE(page->contactRow()->valueText(), entity.email);
    QCOMPARE(page->contactRow()->destination(), entity.emailURL());

    entity.privacyEmail = QStringLiteral("datenschutz@beispiel.example");
    auto *dated = new PrivacyPolicyView(entity, QDate(2026, 5, 1), new QWidget);
    QCOMPARE(dated->contactRow()->valueText(), QStringLiteral("datenschutz@beispiel.example"));
    QCOMPARE(dated->contactRow()->destination(), QUrl(QStringLiteral("mailto:datenschutz@beispiel.example")));
    QVERIFY(qobject_cast<LegalLastUpdated *>(dated->parts().last()));

    // A language without its own strings reads the module bundle's own texts.
    auto *japanese = localised(new PrivacyPolicyView(entity, std::nullopt, new QWidget), QLocale(QLocale::Japanese));
    QVERIFY(!japanese->windowTitle().startsWith(QLatin1String("privacy.")));
    delete page;
    delete dated;
    delete japanese;
}

void LegalPagesTest::wordmarkKeepsItsHeight()
{
    QVERIFY(!NorvaneBrand::wordmarkPath().isEmpty());
    NorvaneWordmark small(24);
    NorvaneWordmark large(48);
    QCOMPARE(small.height(), 24);
    QCOMPARE(large.height(), 48);
    QCOMPARE(small.accessibleName(), QStringLiteral("norvane"));
    QVERIFY(!NorvaneBrand::wordmark(QSize(200, 50)).isNull());
}

QTEST_MAIN(LegalPagesTest)
#include "tst_legalpages.moc"
