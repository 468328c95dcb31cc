#include <Uuid.h>

#include <QTest>

class TestUuid final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newIdentifiersAreRandomAndCanonical();
    void parse_data();
    void parse();
};

void TestUuid::newIdentifiersAreRandomAndCanonical()
{
    const QUuid a = Uuid::make();
    const QUuid b = Uuid::make();
    QVERIFY(a != b);
    QCOMPARE(a.version(), QUuid::Random);
    const QString text = Uuid::text(a);
    QCOMPARE(text.size(), 36);
    QCOMPARE(text, text.toUpper());
    QVERIFY(!text.contains('{'));
    QCOMPARE(Uuid::parse(text), a);
}

void TestUuid::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("upper") << "E621E1F8-C36C-495A-93FC-0C247A3E6E5F" << true;
    QTest::newRow("lower") << "e621e1f8-c36c-495a-93fc-0c247a3e6e5f" << true;
    QTest::newRow("nil") << "00000000-0000-0000-0000-000000000000" << true;
    QTest::newRow("braces") << "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}" << false;
    QTest::newRow("no hyphens") << "E621E1F8C36C495A93FC0C247A3E6E5F" << false;
    QTest::newRow("too short") << "E621E1F8-C36C-495A-93FC-0C247A3E6E5" << false;
    QTest::newRow("not hex") << "G621E1F8-C36C-495A-93FC-0C247A3E6E5F" << false;
    QTest::newRow("spaces") << " E621E1F8-C36C-495A-93FC-0C247A3E6E5F" << false;
    QTest::newRow("empty") << "" << false;
}

void TestUuid::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto id = Uuid::parse(text);
    QCOMPARE(id.has_value(), valid);
    if (valid)
        QCOMPARE(Uuid::text(*id), text.toUpper());
}

QTEST_APPLESS_MAIN(TestUuid)
#include "tst_uuid.moc"
