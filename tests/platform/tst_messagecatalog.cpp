#include "LibcGerman.h"
#include "MoFile.h"

#include <MessageCatalog.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstring>

namespace {

const QByteArray utf8Header = QByteArrayLiteral("Content-Type: text/plain; charset=UTF-8\n");

} // namespace

class TestMessageCatalog final : public QObject
{
    Q_OBJECT

private slots:
    void readsTranslations_data();
    void readsTranslations();
    void leavesOutHeaderAndUntranslated();
    void rejectsWhatIsNoCatalogue_data();
    void rejectsWhatIsNoCatalogue();
    void sharedStringsAreNotMultiplied_data();
    void sharedStringsAreNotMultiplied();
    void fallbackFillsOnlyGaps();
    void readsFilesAndTheGazetteersGermanNames();
};

void TestMessageCatalog::readsTranslations_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("translation");

    const MoFile::Entries cities{{"", utf8Header}, {"2867714", "München"}, {"2886242", "Köln"}};
    QTest::newRow("little endian") << MoFile::bytes(cities) << QByteArray("2886242") << QStringLiteral("Köln");
    QTest::newRow("big endian") << MoFile::bytes(cities, {true, 0}) << QByteArray("2867714") << QStringLiteral("München");
    QTest::newRow("minor revision") << MoFile::bytes(cities, {false, 1}) << QByteArray("2867714") << QStringLiteral("München");
    QTest::newRow("plural: the first form")
        << MoFile::bytes({{"", utf8Header}, {QByteArray("city\0cities", 11), QByteArray("Stadt\0Städte", 13)}})
        << QByteArray("city") << QStringLiteral("Stadt");
    QTest::newRow("Latin-1 named in the header")
        << MoFile::bytes({{"", "Content-Type: text/plain; charset=ISO-8859-1\n"}, {"2886242", "K\xf6ln"}})
        << QByteArray("2886242") << QStringLiteral("Köln");
    QTest::newRow("no header: UTF-8") << MoFile::bytes({{"2886242", "Köln"}}) << QByteArray("2886242") << QStringLiteral("Köln");
    QTest::newRow("broken UTF-8 stays in its message")
        << MoFile::bytes({{"a", "\xc3"}, {"b", "Köln"}}) << QByteArray("b") << QStringLiteral("Köln");
}

void TestMessageCatalog::readsTranslations()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, message);
    QFETCH(QString, translation);
    const Result<MessageCatalog> catalogue = MessageCatalog::parse(file);
    QVERIFY2(catalogue.ok(), qPrintable(catalogue.error()));
    QCOMPARE(catalogue.value().translate(message), translation);
    QCOMPARE(catalogue.value().translate("unknown"), QString());
}

void TestMessageCatalog::leavesOutHeaderAndUntranslated()
{
    const Result<MessageCatalog> catalogue =
        MessageCatalog::parse(MoFile::bytes({{"", utf8Header}, {"1", "Eins"}, {"2", ""}}));
    QVERIFY(catalogue.ok());
    QCOMPARE(catalogue.value().size(), 1);
    QCOMPARE(catalogue.value().translate(""), QString());
    QCOMPARE(catalogue.value().translate("2"), QString());
}

void TestMessageCatalog::rejectsWhatIsNoCatalogue_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray good = MoFile::bytes({{"", utf8Header}, {"1", "Eins"}});
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header cut short") << good.left(20);
    QByteArray magic = good;
    magic[0] = 'X';
    QTest::newRow("wrong magic") << magic;
    QTest::newRow("unknown major revision") << MoFile::bytes({{"1", "Eins"}}, {false, 0x20000});
    QByteArray huge = good;
    qToLittleEndian<quint32>(0x40000000, huge.data() + 8);
    QTest::newRow("count beyond the file") << huge;
    QByteArray offset = good;
    qToLittleEndian<quint32>(0x7ffffff0, offset.data() + 28 + 8 + 4); // the second original's offset
    QTest::newRow("string beyond the file") << offset;
    QTest::newRow("strings cut off") << good.left(good.size() - 6);
    QTest::newRow("unknown charset") << MoFile::bytes({{"", "Content-Type: text/plain; charset=NO-SUCH\n"}, {"1", "Eins"}});
}

void TestMessageCatalog::rejectsWhatIsNoCatalogue()
{
    QFETCH(QByteArray, file);
    const Result<MessageCatalog> catalogue = MessageCatalog::parse(file);
    QVERIFY(!catalogue.ok());
    QVERIFY(!catalogue.error().isEmpty());
}

void TestMessageCatalog::sharedStringsAreNotMultiplied_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("translationSize");
    QTest::addColumn<bool>("read");

    QTest::newRow("one short word for many messages") << 2000 << 2 << true;
    // 8 MB on disk; each message would decode to a copy of its own, 32 GB in all.
    QTest::newRow("one long translation for many messages") << 2000 << 8 * 1024 * 1024 << false;
}

void TestMessageCatalog::sharedStringsAreNotMultiplied()
{
    QFETCH(int, count);
    QFETCH(int, translationSize);
    QFETCH(bool, read);
    MoFile::Entries entries;
    for (int i = 0; i < count; ++i)
        entries.append({QByteArray::number(i), i == 0 ? QByteArray(translationSize, 'a') : QByteArray("b")});
    QByteArray file = MoFile::bytes(entries);
    // Every message's translation pointed at the first one's, stored once.
    const qsizetype translations = 28 + qsizetype(count) * 8;
    for (int i = 1; i < count; ++i)
        std::memcpy(file.data() + translations + i * 8, file.constData() + translations, 8);
    const Result<MessageCatalog> catalogue = MessageCatalog::parse(file);
    QCOMPARE(catalogue.ok(), read);
    if (read) {
        QCOMPARE(catalogue.value().size(), count);
        QCOMPARE(catalogue.value().translate(QByteArray::number(count - 1)), QString(translationSize, u'a'));
    } else {
        QVERIFY(!catalogue.error().isEmpty());
    }
}

void TestMessageCatalog::fallbackFillsOnlyGaps()
{
    // A territory's catalogue ("de_AT") before its language's ("de").
    MessageCatalog austrian(QHash<QByteArray, QString>{{"1", QStringLiteral("Jänner")}});
    const MessageCatalog german(QHash<QByteArray, QString>{{"1", QStringLiteral("Januar")}, {"2", QStringLiteral("Februar")}});
    austrian.addFallback(german);
    QCOMPARE(austrian.translate("1"), QStringLiteral("Jänner"));
    QCOMPARE(austrian.translate("2"), QStringLiteral("Februar"));
    QCOMPARE(austrian.size(), 2);
}

void TestMessageCatalog::readsFilesAndTheGazetteersGermanNames()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Result<MessageCatalog> missing = MessageCatalog::read(folder.filePath(QStringLiteral("missing.mo")));
    QVERIFY(!missing.ok());
    // The system's reason in German, whatever locales the machine has.
    QCOMPARE(missing.error(), libcGerman("No such file or directory"));
    QFile file(folder.filePath(QStringLiteral("names.mo")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(MoFile::bytes({{"2761369", "Wien"}}));
    file.close();
    QCOMPARE(MessageCatalog::read(file.fileName()).value().translate("2761369"), QStringLiteral("Wien"));

    // The catalogue libgeonames ships, as the place search reads it.
    const Result<MessageCatalog> german = MessageCatalog::read(QStringLiteral("/usr/share/locale/de/LC_MESSAGES/geonames.mo"));
    QVERIFY2(german.ok(), qPrintable(german.error()));
    QCOMPARE(german.value().translate("2867714"), QStringLiteral("München"));
    QCOMPARE(german.value().translate("DE"), QStringLiteral("Deutschland"));
}

QTEST_MAIN(TestMessageCatalog)
#include "tst_messagecatalog.moc"
