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
