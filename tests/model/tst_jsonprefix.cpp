#include <JsonPrefix.h>
#include <ScreenshotPlan.h>
#include <Uuid.h>

#include <QTest>

class TestJsonPrefix final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyBeginningOfAPlanIsCutShort();
    void onlyWhatMoreBytesCouldComplete_data();
    void onlyWhatMoreBytesCouldComplete();
};

// A save killed while writing leaves any beginning of the plan's text: every one of them,
// inside a string, an escape, a number or a word, counts as cut short.
void TestJsonPrefix::everyBeginningOfAPlanIsCutShort()
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault({QStringLiteral("de-DE")});
    Shot shot;
    shot.id = Uuid::make();
    shot.name = QStringLiteral("Größe \"A\"\\\t€ 😀");
    shot.steps = {ShotStepItem::make(ShotStep::wait(-0.25)), ShotStepItem::make(ShotStep::wait(1e-7)),
                  ShotStepItem::make(ShotStep::tap(QStringLiteral("knopf"), QString(), NormPoint{0, 1}))};
    shot.location = PlanLocation{-33.5, 151.25};
    plan.shots.append(shot);
    plan.flagSelections.insert(QStringLiteral("-onboarding"), QStringLiteral("true"));
    const QByteArray text = plan.encode();
    QVERIFY(text.contains("\\\"") && text.contains("e-"));
    const qsizetype whole = text.lastIndexOf('}') + 1; // only the closing line break may follow
    for (qsizetype length = 0; length < whole; ++length)
        QVERIFY2(JsonPrefix::isCutShort(text.left(length)), text.left(length).right(40).constData());
    QVERIFY(!JsonPrefix::isCutShort(text.left(whole)));
    QVERIFY(!JsonPrefix::isCutShort(text));
}

void TestJsonPrefix::onlyWhatMoreBytesCouldComplete_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("cutShort");

    QTest::newRow("whole, white space after") << QByteArray("{\"a\": [1, true, null]}\n\n") << false;
    QTest::newRow("a number alone") << QByteArray("-0.5e+3") << false;
    QTest::newRow("bytes appended after the end") << QByteArray("{\"a\": 1}\n<outside-1>\n") << false;
    QTest::newRow("a second text after the first") << QByteArray("{}{") << false;
    QTest::newRow("stray comma") << QByteArray("{\"a\": [1,], \"b\": ") << false;
    QTest::newRow("key without quotes") << QByteArray("{a") << false;
    QTest::newRow("wrong closing bracket") << QByteArray("{\"a\": [1}") << false;
    QTest::newRow("leading zero") << QByteArray("[01") << false;
    QTest::newRow("misspelt word") << QByteArray("[tru ") << false;
    QTest::newRow("unknown escape") << QByteArray("[\"\\x") << false;
    QTest::newRow("line break in a string") << QByteArray("[\"a\nb") << false;
    QTest::newRow("only white space") << QByteArray(" \n") << true;
    QTest::newRow("after a colon") << QByteArray("{\"a\":") << true;
    QTest::newRow("inside a \\u escape") << QByteArray("[\"\\u00") << true;
    QTest::newRow("after an exponent sign") << QByteArray("[1e-") << true;
}

void TestJsonPrefix::onlyWhatMoreBytesCouldComplete()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, cutShort);
    QCOMPARE(JsonPrefix::isCutShort(text), cutShort);
}

QTEST_APPLESS_MAIN(TestJsonPrefix)
#include "tst_jsonprefix.moc"
