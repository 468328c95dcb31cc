#include "MoFile.h"

#include <Gazetteer.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class TestGazetteer final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void namesForALocale_data();
    void namesForALocale();
    void citiesCarryTheirKeysAndEnglishNames();

private:
    void writeCatalogue(const QString &folder, const QByteArray &bytes);
    QTemporaryDir m_root;
};

void TestGazetteer::writeCatalogue(const QString &folder, const QByteArray &bytes)
{
    QVERIFY(QDir(m_root.path()).mkpath(folder + QStringLiteral("/LC_MESSAGES")));
    QFile file(m_root.filePath(folder + QStringLiteral("/LC_MESSAGES/geonames.mo")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestGazetteer::initTestCase()
{
    QVERIFY(m_root.isValid());
    writeCatalogue(QStringLiteral("de"), MoFile::bytes({{"1", "Januar"}, {"2", "Februar"}}));
    writeCatalogue(QStringLiteral("de_AT"), MoFile::bytes({{"1", "Jänner"}}));
    writeCatalogue(QStringLiteral("fr"), MoFile::bytes({{"1", "janvier"}}));
    writeCatalogue(QStringLiteral("fr_CA"), QByteArrayLiteral("not a catalogue"));
    // Only the territory, as some packages ship it.
    writeCatalogue(QStringLiteral("pt_BR"), MoFile::bytes({{"1", "janeiro"}}));
}

void TestGazetteer::namesForALocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("language only") << QLocale(QLocale::German, QLocale::Germany) << "Januar" << "Februar";
    QTest::newRow("territory, then language") << QLocale(QLocale::German, QLocale::Austria) << "Jänner" << "Februar";
    QTest::newRow("broken territory: language") << QLocale(QLocale::French, QLocale::Canada) << "janvier" << "";
    QTest::newRow("territory without language") << QLocale(QLocale::Portuguese, QLocale::Brazil) << "janeiro" << "";
    QTest::newRow("none for the language") << QLocale(QLocale::Italian, QLocale::Italy) << "" << "";
    QTest::newRow("C") << QLocale::c() << "" << "";
}

void TestGazetteer::namesForALocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, first);
    QFETCH(QString, second);
    const MessageCatalog names = Gazetteer::names(locale, m_root.path());
    QCOMPARE(names.translate("1"), first);
    QCOMPARE(names.translate("2"), second);
}

void TestGazetteer::citiesCarryTheirKeysAndEnglishNames()
{
    const auto &cities = Gazetteer::cities();
    QVERIFY(cities.size() > 20000);
    const auto munich = std::find_if(cities.cbegin(), cities.cend(),
                                     [](const GazetteerCity &city) { return city.identifier == "2867714"; });
    QVERIFY(munich != cities.cend());
    QCOMPARE(munich->name, QStringLiteral("Munich"));
    QCOMPARE(munich->countryCode, QByteArray("DE"));
    QCOMPARE(munich->stateCode, QByteArray("02"));
    QCOMPARE(munich->country, QStringLiteral("Germany"));
    // The keys lead into the German catalogue the library ships.
    const MessageCatalog german = Gazetteer::names(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(german.translate(munich->identifier), QStringLiteral("München"));
    QCOMPARE(german.translate(munich->countryCode + '.' + munich->stateCode), QStringLiteral("Bayern"));
}

QTEST_MAIN(TestGazetteer)
#include "tst_gazetteer.moc"
