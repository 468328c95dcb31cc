#include <StepKinds.h>
#include <StepListEditing.h>

#include <Uuid.h>

#include <QtTest>

using namespace StepListEditing;

namespace {

// Four items named by their tap selector, so orders read as "ABCD".
QList<ShotStepItem> abcd()
{
    QList<ShotStepItem> steps;
    for (const char *name : {"A", "B", "C", "D"})
        steps.append(ShotStepItem::make(ShotStep::tap(QString::fromLatin1(name), QString())));
    return steps;
}

QString order(const QList<ShotStepItem> &steps)
{
    QString text;
    for (const ShotStepItem &item : steps)
        text += item.step.as<ShotStep::Wait>() ? QStringLiteral("w") : selector(item.step);
    return text;
}

int indexOfName(const QList<ShotStepItem> &steps, const QString &name)
{
    for (int i = 0; i < steps.size(); ++i) {
        if (selector(steps.at(i).step) == name)
            return i;
    }
    return -1;
}

} // namespace

class TestStepListEditing : public QObject
{
    Q_OBJECT

private slots:
    void moveStep_data();
    void moveStep();
    void moveIgnoresForeignAndSelfDrops_data();
    void moveIgnoresForeignAndSelfDrops();
    void insertWait_data();
    void insertWait();
    void insertWaitForMissingItemDoesNothing();
    void deleteRemovesEveryItemWithTheID();
    void newSteps();
    void selectorEditKeepsTheRest();
    void textEditGivesTypeText();
    void secondsEdits_data();
    void secondsEdits();
    void directionEditOnlyOnSwipes();
    void kindTable();
};

void TestStepListEditing::moveStep_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");
    QTest::newRow("A onto C lands after C") << "A" << "C" << "BCAD";
    QTest::newRow("D onto B lands before B") << "D" << "B" << "ADBC";
    QTest::newRow("A onto D goes last") << "A" << "D" << "BCDA";
    QTest::newRow("D onto A goes first") << "D" << "A" << "DABC";
    QTest::newRow("B onto C swaps") << "B" << "C" << "ACBD";
}

void TestStepListEditing::moveStep()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(QString, expected);
    QList<ShotStepItem> steps = abcd();
    const QList<QUuid> idsBefore = [&] {
        QList<QUuid> ids;
        for (const ShotStepItem &item : steps)
            ids.append(item.id);
        return ids;
    }();
    const QString text = Uuid::text(steps.at(indexOfName(steps, dragged)).id);
    QVERIFY(StepListEditing::moveStep(steps, text, steps.at(indexOfName(steps, target)).id));
    QCOMPARE(order(steps), expected);
    // Items keep their identity across the move.
    for (const QUuid &id : idsBefore)
        QVERIFY(std::any_of(steps.cbegin(), steps.cend(), [&](const ShotStepItem &item) { return item.id == id; }));
}

void TestStepListEditing::moveIgnoresForeignAndSelfDrops_data()
{
    QTest::addColumn<QString>("dropped"); // "A" stands for A's canonical text
    QTest::addColumn<QString>("target");
    QTest::newRow("onto itself") << "A" << "A";
    QTest::newRow("foreign text") << "hello" << "B";
    QTest::newRow("a step of another shot") << "other" << "B";
    QTest::newRow("lower-case identifier is not canonical") << "a-lower" << "C";
    QTest::newRow("unknown target") << "A" << "missing";
    QTest::newRow("empty text") << "" << "B";
}

void TestStepListEditing::moveIgnoresForeignAndSelfDrops()
{
    QFETCH(QString, dropped);
    QFETCH(QString, target);
    QList<ShotStepItem> steps = abcd();
    const QList<ShotStepItem> before = steps;
    QString text = dropped;
    if (dropped == QLatin1String("A"))
        text = Uuid::text(steps.at(0).id);
    else if (dropped == QLatin1String("other"))
        text = Uuid::text(Uuid::make());
    else if (dropped == QLatin1String("a-lower"))
        text = Uuid::text(steps.at(0).id).toLower();
    const QUuid targetID = target == QLatin1String("missing") ? Uuid::make() : steps.at(indexOfName(steps, target)).id;
    QVERIFY(!StepListEditing::moveStep(steps, text, targetID));
    QCOMPARE(steps, before);
}

void TestStepListEditing::insertWait_data()
{
    QTest::addColumn<QString>("at");
    QTest::addColumn<bool>("before");
    QTest::addColumn<QString>("expected");
    QTest::newRow("before the first step") << "A" << true << "wABCD";
    QTest::newRow("after the last step") << "D" << false << "ABCDw";
    QTest::newRow("after a middle step") << "B" << false << "ABwCD";
    QTest::newRow("before a middle step") << "C" << true << "ABwCD";
}

void TestStepListEditing::insertWait()
{
    QFETCH(QString, at);
    QFETCH(bool, before);
    QFETCH(QString, expected);
    QList<ShotStepItem> steps = abcd();
    const std::optional<QUuid> inserted = StepListEditing::insertWait(
        steps, steps.at(indexOfName(steps, at)).id, before ? WaitPlacement::Before : WaitPlacement::After);
    QVERIFY(inserted);
    QCOMPARE(order(steps), expected);
    const ShotStepItem &wait = steps.at(expected.indexOf(QLatin1Char('w')));
    QCOMPARE(wait.id, *inserted);
    QCOMPARE(wait.step, ShotStep::wait(1.0));
    QCOMPARE(std::count_if(steps.cbegin(), steps.cend(), [&](const ShotStepItem &item) { return item.id == wait.id; }), 1);
}

void TestStepListEditing::insertWaitForMissingItemDoesNothing()
{
    QList<ShotStepItem> steps = abcd();
    QVERIFY(!StepListEditing::insertWait(steps, Uuid::make(), WaitPlacement::After));
    QCOMPARE(order(steps), QStringLiteral("ABCD"));
    QList<ShotStepItem> empty;
    QVERIFY(!StepListEditing::insertWait(empty, Uuid::make(), WaitPlacement::Before));
    QVERIFY(empty.isEmpty());
}

void TestStepListEditing::deleteRemovesEveryItemWithTheID()
{
    QList<ShotStepItem> steps = abcd();
    steps.append(steps.at(1)); // a repeated identifier, as a hand-edited file could hold
    QVERIFY(StepListEditing::deleteStep(steps, steps.at(1).id));
    QCOMPARE(order(steps), QStringLiteral("ACD"));
    QVERIFY(!StepListEditing::deleteStep(steps, Uuid::make()));
    QCOMPARE(order(steps), QStringLiteral("ACD"));
}

void TestStepListEditing::newSteps()
{
    QCOMPARE(newStep(ShotStep::Kind::Tap), ShotStep::tap(QString(), QString()));
    QCOMPARE(newStep(ShotStep::Kind::TypeText), ShotStep::typeText(QString(), QString()));
    QCOMPARE(newStep(ShotStep::Kind::Wait), ShotStep::wait(1.0));
    const ShotStep swipe = newStep(ShotStep::Kind::Swipe);
    QVERIFY(swipe.as<ShotStep::Swipe>());
    QCOMPARE(swipe.as<ShotStep::Swipe>()->direction, SwipeDirection::Up);
    QVERIFY(!swipe.as<ShotStep::Swipe>()->at);

    QList<ShotStepItem> steps = abcd();
    const QUuid id = append(steps, newStep(ShotStep::Kind::Wait));
    QCOMPARE(steps.constLast().id, id);
    QCOMPARE(order(steps), QStringLiteral("ABCDw"));
}

void TestStepListEditing::selectorEditKeepsTheRest()
{
    const NormPoint point{0.25, 0.75};
    QCOMPARE(*withSelector(ShotStep::tap(QStringLiteral("old"), QStringLiteral("Senden"), point), QStringLiteral("send")),
             ShotStep::tap(QStringLiteral("send"), QStringLiteral("Senden"), point));
    QCOMPARE(*withSelector(ShotStep::typeText(QStringLiteral("old"), QStringLiteral("Hallo")), QStringLiteral("field")),
             ShotStep::typeText(QStringLiteral("field"), QStringLiteral("Hallo")));
    QCOMPARE(*withSelector(ShotStep::swipe(QString(), QStringLiteral("Liste"), point, SwipeDirection::Left), QStringLiteral("list")),
             ShotStep::swipe(QStringLiteral("list"), QStringLiteral("Liste"), point, SwipeDirection::Left));
    QVERIFY(!withSelector(ShotStep::wait(2.5), QStringLiteral("x")));
    QCOMPARE(selector(ShotStep::wait(2.5)), QString());
}

void TestStepListEditing::textEditGivesTypeText()
{
    QCOMPARE(*withText(ShotStep::typeText(QStringLiteral("field"), QStringLiteral("a")), QStringLiteral("ab")),
             ShotStep::typeText(QStringLiteral("field"), QStringLiteral("ab")));
    QCOMPARE(typedText(ShotStep::tap(QStringLiteral("x"), QString())), QString());
}

void TestStepListEditing::secondsEdits_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("written");
    QTest::addColumn<double>("seconds");
    QTest::newRow("German decimal comma") << "de_DE" << "1,5" << true << 1.5;
    QTest::newRow("English decimal point") << "en_US" << "2.25" << true << 2.25;
    QTest::newRow("zero is stored") << "de_DE" << "0" << true << 0.0;
    QTest::newRow("negative is stored") << "de_DE" << "-3" << true << -3.0;
    QTest::newRow("many digits are not rounded") << "en_US" << "0.123456789" << true << 0.123456789;
    QTest::newRow("letters are not written") << "de_DE" << "abc" << false << 0.0;
    QTest::newRow("empty is not written") << "de_DE" << "" << false << 0.0;
    QTest::newRow("lone minus is not written") << "de_DE" << "-" << false << 0.0;
}

void TestStepListEditing::secondsEdits()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, written);
    QFETCH(double, seconds);
    const std::optional<ShotStep> result = withSecondsText(ShotStep::wait(1.0), text, QLocale(locale));
    QCOMPARE(result.has_value(), written);
    if (written)
        QCOMPARE(*result, ShotStep::wait(seconds));
}

void TestStepListEditing::directionEditOnlyOnSwipes()
{
    const NormPoint point{0.5, 0.5};
    QCOMPARE(*withDirection(ShotStep::swipe(QStringLiteral("list"), QStringLiteral("Liste"), point, SwipeDirection::Up), SwipeDirection::Left),
             ShotStep::swipe(QStringLiteral("list"), QStringLiteral("Liste"), point, SwipeDirection::Left));
    QVERIFY(!withDirection(ShotStep::tap(QStringLiteral("x"), QString()), SwipeDirection::Down));
    QVERIFY(!withDirection(ShotStep::wait(1.0), SwipeDirection::Down));
    QCOMPARE(direction(ShotStep::wait(1.0)), SwipeDirection::Up);
}

void TestStepListEditing::kindTable()
{
    QCOMPARE(stepSystemImage(ShotStep::tap(QString(), QString())), QStringLiteral("hand.tap"));
    QCOMPARE(stepSystemImage(ShotStep::typeText(QString(), QString())), QStringLiteral("keyboard"));
    QCOMPARE(stepSystemImage(ShotStep::wait(1)), QStringLiteral("clock"));
    QCOMPARE(stepSystemImage(ShotStep::swipe(QString(), QString(), std::nullopt, SwipeDirection::Up)), QStringLiteral("hand.draw"));
    QStringList labels;
    for (SwipeDirection direction : swipeDirections())
        labels << swipeDirectionLabel(direction);
    QCOMPARE(labels, (QStringList{QStringLiteral("hoch"), QStringLiteral("runter"), QStringLiteral("links"), QStringLiteral("rechts")}));
    QCOMPARE(formatSeconds(1.5, QLocale(QStringLiteral("de_DE"))), QStringLiteral("1,5"));
    QCOMPARE(formatSeconds(1.0, QLocale(QStringLiteral("de_DE"))), QStringLiteral("1"));
}

QTEST_GUILESS_MAIN(TestStepListEditing)
#include "tst_steplistediting.moc"
