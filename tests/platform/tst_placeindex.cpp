#include "MoFile.h"
#include "TimeBudget.h"

#include <PlaceIndex.h>

#include <QTest>

#include <memory>

namespace {

GazetteerCity city(const char *name, const char *state, const char *country, quint32 population, const char *identifier,
                   const char *countryCode = "", const char *stateCode = "")
{
    return {QString::fromUtf8(name), QString::fromUtf8(state), QString::fromUtf8(country), 0, 0, population,
            identifier, countryCode, stateCode};
}

// A small gazetteer with the shapes that matter: names in other languages, a name that is
// the start of others and a word inside another, namesakes, accents and hyphens.
const std::vector<GazetteerCity> &cities()
{
    static const std::vector<GazetteerCity> all{
        city("Munich", "Bavaria", "Germany", 1260391, "1", "DE", "02"),
        city("Cologne", "North Rhine-Westphalia", "Germany", 963395, "2", "DE", "07"),
        city("Vienna", "Vienna", "Austria", 1691468, "3", "AT", "09"),
        city("Wiener Neustadt", "Lower Austria", "Austria", 44820, "4", "AT", "03"),
        city("Baden bei Wien", "Lower Austria", "Austria", 26286, "5", "AT", "03"),
        city("São Paulo", "São Paulo", "Brazil", 10021295, "6", "BR", "27"),
        city("Saint-Étienne", "Auvergne-Rhône-Alpes", "France", 176280, "7", "FR", "84"),
        city("Paris", "Texas", "United States of America", 25171, "9", "US", "TX"),
        city("Paris", "Île-de-France", "France", 2138551, "8", "FR", "11"),
        city("Parma", "Emilia-Romagna", "Italy", 146299, "10", "IT", "05"),
        city("Nowhere", "", "", 10, ""),
    };
    return all;
}

MessageCatalog italian()
{
    return MessageCatalog({{"1", QStringLiteral("Monaco di Baviera")}, {"2", QStringLiteral("Colonia")},
                           {"3", QStringLiteral("Vienna")}, {"AT", QStringLiteral("Austria")}});
}

MessageCatalog german()
{
    return MessageCatalog({{"1", QStringLiteral("München")}, {"2", QStringLiteral("Köln")}, {"3", QStringLiteral("Wien")},
                           {"AT", QStringLiteral("Österreich")}, {"AT.09", QStringLiteral("Wien")},
                           {"AT.03", QStringLiteral("Niederösterreich")}, {"DE", QStringLiteral("Deutschland")},
                           {"FR", QStringLiteral("Frankreich")}});
}

// What a search found, as "name #city".
QStringList found(const PlaceIndex &index, const QString &text)
{
    QStringList result;
    for (const PlaceIndex::Match &match : index.find(text))
        result << match.name + QStringLiteral(" #") + QString::number(match.city);
    return result;
}

} // namespace

class TestPlaceIndex final : public QObject
{
    Q_OBJECT

private slots:
    void findsByAnyNameBestFirst_data();
    void findsByAnyNameBestFirst();
    void withoutCataloguesEnglishOnly();
    void nameOfThousandsOfWordsIsLeftOut();
    void region_data();
    void region();
};

void TestPlaceIndex::findsByAnyNameBestFirst_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("German name, shown as matched") << "München" << QStringList{"München #0"};
    QTest::newRow("English name, shown as matched") << "munich" << QStringList{"Munich #0"};
    QTest::newRow("user's language") << "Colonia" << QStringList{"Colonia #1"};
    QTest::newRow("whole name, start of a name, later word")
        << "Wien" << QStringList{"Wien #2", "Wiener Neustadt #3", "Baden bei Wien #4"};
    QTest::newRow("equal fits: larger city first") << "Paris" << QStringList{"Paris #8", "Paris #7"};
    QTest::newRow("starts of names by size") << "Par" << QStringList{"Paris #8", "Parma #9", "Paris #7"};
    QTest::newRow("equal fits: German before English") << "Mün" << QStringList{"München #0"};
    QTest::newRow("equal fits: the user's language before German") << "M" << QStringList{"Monaco di Baviera #0"};
    QTest::newRow("equal fits: the user's language before English") << "Co" << QStringList{"Colonia #1"};
    QTest::newRow("same name in two languages once") << "Vienna" << QStringList{"Vienna #2"};
    QTest::newRow("accents left aside") << "koln" << QStringList{"Köln #1"};
    QTest::newRow("accents in the query") << "Sâo pãulo" << QStringList{"São Paulo #5"};
    QTest::newRow("hyphen as a space") << "saint etienne" << QStringList{"Saint-Étienne #6"};
    QTest::newRow("word after a hyphen") << "Étienne" << QStringList{"Saint-Étienne #6"};
    QTest::newRow("blanks and punctuation around") << "  ,Wiener   Neustadt. " << QStringList{"Wiener Neustadt #3"};
    QTest::newRow("words must follow each other") << "wien neustadt" << QStringList{};
    QTest::newRow("not inside a word") << "ustadt" << QStringList{};
    QTest::newRow("city without other names") << "Nowhere" << QStringList{"Nowhere #10"};
    QTest::newRow("punctuation only finds nothing") << " - , . " << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestPlaceIndex::findsByAnyNameBestFirst()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const PlaceIndex index(cities(), {italian(), german()});
    QCOMPARE(found(index, text), expected);
}

void TestPlaceIndex::withoutCataloguesEnglishOnly()
{
    const PlaceIndex index(cities(), {});
    QCOMPARE(found(index, QStringLiteral("München")), QStringList());
    QCOMPARE(found(index, QStringLiteral("Mun")), QStringList{"Munich #0"});
    QCOMPARE(found(index, QStringLiteral("Wien")), (QStringList{"Wiener Neustadt #3", "Baden bei Wien #4"}));
}

void TestPlaceIndex::nameOfThousandsOfWordsIsLeftOut()
{
    QByteArray name = "Wort";
    for (int word = 1; word < 40000; ++word)
        name += " Wort";
    const Result<MessageCatalog> hostile =
        MessageCatalog::parse(MoFile::bytes({{"1", name}, {"2", "Köln"}}));
    QVERIFY2(hostile.ok(), qPrintable(hostile.error()));

    std::unique_ptr<PlaceIndex> index;
    const double ms = TimeBudget::bestMs("index with a name of 40,000 words", [&] {
        index = std::make_unique<PlaceIndex>(cities(), std::vector<MessageCatalog>{hostile.value()});
    });
    QVERIFY2(ms < TimeBudget::scaled(500), qPrintable(QStringLiteral("%1 ms").arg(ms)));
    QCOMPARE(found(*index, QStringLiteral("Wort")), QStringList());
    QCOMPARE(found(*index, QStringLiteral("Munich")), QStringList{"Munich #0"});
    QCOMPARE(found(*index, QStringLiteral("Köln")), QStringList{"Köln #1"});
}

void TestPlaceIndex::region_data()
{
    QTest::addColumn<int>("city");
    QTest::addColumn<QString>("region");
    QTest::addColumn<bool>("inside");

    QTest::newRow("English country") << 2 << "Austria" << true;
    QTest::newRow("German country") << 2 << "Österreich" << true;
    QTest::newRow("without the accent") << 2 << "osterreich" << true;
    QTest::newRow("German state") << 3 << "Niederösterreich" << true;
    QTest::newRow("part of a name") << 0 << "Deutsch" << true;
    QTest::newRow("English state") << 0 << "Bavaria" << true;
    QTest::newRow("another country") << 2 << "Deutschland" << false;
    QTest::newRow("city without keys") << 10 << "Deutschland" << false;
    QTest::newRow("blank region") << 2 << " " << false;
    QTest::newRow("no such city") << 99 << "Austria" << false;
    QTest::newRow("negative city") << -1 << "Austria" << false;
}

void TestPlaceIndex::region()
{
    QFETCH(int, city);
    QFETCH(QString, region);
    QFETCH(bool, inside);
    const PlaceIndex index(cities(), {italian(), german()});
    QCOMPARE(index.isInRegion(city, region), inside);
}

QTEST_MAIN(TestPlaceIndex)
#include "tst_placeindex.moc"
