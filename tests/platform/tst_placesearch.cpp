#include "TimeBudget.h"

#include <PlaceSearch.h>

#include <QFutureWatcher>
#include <QSignalSpy>
#include <QTest>

class TestPlaceSearch final : public QObject
{
    Q_OBJECT

private slots:
    void bestMatchFirst_data();
    void bestMatchFirst();
    void unknownPlacesFindNothing_data();
    void unknownPlacesFindNothing();
    void exactNameBeforeLargerPrefixMatch();
    void namesInGermanAndTheUserLanguage_data();
    void namesInGermanAndTheUserLanguage();
    void userLanguageOnlyForItsUsers();
    void searchesAreQuickOnceIndexed();
    void runsOffTheGuiThread();
};

void TestPlaceSearch::bestMatchFirst_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");

    QTest::newRow("Berlin") << "Berlin" << "Berlin" << 52.52 << 13.40;
    QTest::newRow("lower case") << "berlin" << "Berlin" << 52.52 << 13.40;
    QTest::newRow("San Francisco over its namesakes") << "San Francisco" << "San Francisco" << 37.77 << -122.42;
    QTest::newRow("city, country") << "Paris, France" << "Paris" << 48.85 << 2.35;
    QTest::newRow("blanks around") << "  Cupertino\t" << "Cupertino" << 37.32 << -122.03;
}

void TestPlaceSearch::bestMatchFirst()
{
    QFETCH(QString, query);
    QFETCH(QString, name);
    QFETCH(double, latitude);
    QFETCH(double, longitude);

    const QList<MapItem> items = GeonamesPlaceSearcher::searchNow(query);
    QVERIFY(!items.isEmpty());
    QCOMPARE(items.first().name, name);
    QVERIFY(std::abs(items.first().latitude - latitude) < 0.02);
    QVERIFY(std::abs(items.first().longitude - longitude) < 0.02);
}

void TestPlaceSearch::unknownPlacesFindNothing_data()
{
    QTest::addColumn<QString>("query");
    QTest::newRow("landmark") << "Eiffelturm";
    QTest::newRow("nonsense") << "Qxzvwq";
    QTest::newRow("blank") << " \t ";
    QTest::newRow("unknown region") << "Berlin, Atlantis";
}

void TestPlaceSearch::unknownPlacesFindNothing()
{
    QFETCH(QString, query);
    QVERIFY(GeonamesPlaceSearcher::searchNow(query).isEmpty());
}

void TestPlaceSearch::exactNameBeforeLargerPrefixMatch()
{
    // "Paris" the city comes before bigger places whose names merely start with "Par".
    const QList<MapItem> items = GeonamesPlaceSearcher::searchNow(QStringLiteral("Paris"));
    QVERIFY(items.size() > 1);
    QCOMPARE(items.first().name, QStringLiteral("Paris"));
    qsizetype lastExact = -1;
    qsizetype firstOther = items.size();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i).name.compare(QStringLiteral("Paris"), Qt::CaseInsensitive) == 0)
            lastExact = i;
        else
            firstOther = std::min(firstOther, i);
    }
    QVERIFY(lastExact < firstOther);
}

void TestPlaceSearch::namesInGermanAndTheUserLanguage_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QLocale>("userLocale");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");

    // German names whatever the system's locale is, C included.
    const QLocale c = QLocale::c();
    QTest::newRow("München") << "München" << c << "München" << 48.14 << 11.58;
    QTest::newRow("Köln") << "Köln" << c << "Köln" << 50.93 << 6.95;
    QTest::newRow("Wien before Wiener Neustadt") << "Wien" << c << "Wien" << 48.21 << 16.37;
    QTest::newRow("Mailand") << "Mailand" << c << "Mailand" << 45.46 << 9.19;
    QTest::newRow("English name shown as typed") << "Munich" << c << "Munich" << 48.14 << 11.58;
    QTest::newRow("region in German") << "Wien, Österreich" << c << "Wien" << 48.21 << 16.37;
    QTest::newRow("German state") << "Frankfurt, Hessen" << c << "Frankfurt am Main" << 50.12 << 8.68;
    // The user's own language beside German and English.
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    QTest::newRow("Italian") << "Monaco di Baviera" << italian << "Monaco di Baviera" << 48.14 << 11.58;
    QTest::newRow("German for an Italian user") << "Mailand" << italian << "Mailand" << 45.46 << 9.19;
    QTest::newRow("Russian, ё as е") << "Кельн" << QLocale(QLocale::Russian, QLocale::Russia) << "Кёльн" << 50.93 << 6.95;
    QTest::newRow("Japanese") << "ミュンヘン" << QLocale(QLocale::Japanese, QLocale::Japan) << "ミュンヘン" << 48.14 << 11.58;
}

void TestPlaceSearch::namesInGermanAndTheUserLanguage()
{
    QFETCH(QString, query);
    QFETCH(QLocale, userLocale);
    QFETCH(QString, name);
    QFETCH(double, latitude);
    QFETCH(double, longitude);

    const QList<MapItem> items = GeonamesPlaceSearcher::searchNow(query, userLocale);
    QVERIFY(!items.isEmpty());
    QCOMPARE(items.first().name, name);
    QVERIFY(std::abs(items.first().latitude - latitude) < 0.05);
    QVERIFY(std::abs(items.first().longitude - longitude) < 0.05);
}

void TestPlaceSearch::userLanguageOnlyForItsUsers()
{
    // An Italian name is no German or English one.
    QVERIFY(GeonamesPlaceSearcher::searchNow(QStringLiteral("Monaco di Baviera"), QLocale::c()).isEmpty());
    // A name the whole text does not begin is no match: "Wien" is not found inside "Baden bei Wien" first.
    const QList<MapItem> items = GeonamesPlaceSearcher::searchNow(QStringLiteral("Wien"), QLocale::c());
    QVERIFY(items.size() >= 2);
    QCOMPARE(items.at(1).name, QStringLiteral("Wiener Neustadt"));
}

void TestPlaceSearch::searchesAreQuickOnceIndexed()
{
    GeonamesPlaceSearcher::searchNow(QStringLiteral("Berlin"), QLocale::c());
    // A one-letter query touches a good part of the index.
    const double ms = TimeBudget::bestMs("twenty searches", [] {
        for (const char *query : {"a", "M", "San", "Wien", "München", "New York", "Paris, Frankreich", "zz", "Köln", "x"}) {
            GeonamesPlaceSearcher::searchNow(QString::fromUtf8(query), QLocale::c());
            GeonamesPlaceSearcher::searchNow(QString::fromUtf8(query).toLower(), QLocale::c());
        }
    });
    QVERIFY2(ms < TimeBudget::scaled(500), qPrintable(QString::number(ms)));
}

void TestPlaceSearch::runsOffTheGuiThread()
{
    const GeonamesPlaceSearcher searcher;
    QFutureWatcher<PlaceSearchResult> watcher;
    QSignalSpy finished(&watcher, &QFutureWatcherBase::finished);
    watcher.setFuture(searcher.search(QStringLiteral("Berlin")));
    QTRY_COMPARE(finished.count(), 1);
    QVERIFY(watcher.result().ok());
    QCOMPARE(watcher.result().value().first().name, QStringLiteral("Berlin"));
}

QTEST_MAIN(TestPlaceSearch)
#include "tst_placesearch.moc"
