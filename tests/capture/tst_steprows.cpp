#include <InsertWaitButton.h>
#include <StepEditorRow.h>
#include <StepKindEditor.h>
#include <StepRow.h>
#include <StepTargetBadges.h>

#include <Spring.h>
#include <Uuid.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

namespace {

// A step that lives in the test, bound the way the shot card binds a plan's step.
struct BoundStep
{
    ShotStep value;
    int writes = 0;
    Binding<ShotStep> binding()
    {
        return makeBinding<ShotStep>([this] { return value; },
                                     [this](const ShotStep &step) {
                                         value = step;
                                         ++writes;
                                     });
    }
};

QAction *menuAction(InsertWaitButton *button, const QString &text)
{
    for (QAction *action : button->insertMenu()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Delivers a drag entering the row and the drop, as the window system does.
bool sendDrop(QWidget *target, QMimeData *data)
{
    QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction | Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::MoveAction | Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    // Straight to the row: also a drop the entering drag did not announce must be refused.
    static_cast<QObject *>(target)->event(&drop);
    return drop.isAccepted();
}

} // namespace

class TestStepRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void tapWithoutTargetShowsNoTargetText();
    void identifierEditsKeepTheRest_data();
    void identifierEditsKeepTheRest();
    void secondsField_data();
    void secondsField();
    void unreadableSecondsRevertWhenLeaving();
    void directionChoiceKeepsTarget();
    void insertWaitMenu();
    void dropsCallOnDropWithTheFirstItem_data();
    void dropsCallOnDropWithTheFirstItem();
    void dragPayloadAndHelp();
    void updatesInPlaceWhileTyping();
    void recorderRowLayout();
};

void TestStepRows::initTestCase()
{
    Motion::setAnimationsEnabled(false);
}

void TestStepRows::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void TestStepRows::tapWithoutTargetShowsNoTargetText()
{
    BoundStep step{ShotStep::tap(QString(), QString())};
    StepRow row(step.binding(), Uuid::text(Uuid::make()));
    row.show();
    auto *badges = row.findChild<StepTargetBadges *>();
    QVERIFY(badges);
    auto *noTarget = badges->findChild<QLabel *>(QStringLiteral("noTargetLabel"));
    QVERIFY(noTarget && noTarget->isVisible());
    QCOMPARE(noTarget->text(), QStringLiteral("kein Ziel erfasst"));
    QLineEdit *identifier = row.editor()->selectorField();
    QVERIFY(identifier);
    QVERIFY(identifier->text().isEmpty());
    QCOMPARE(identifier->placeholderText(), QStringLiteral("Identifier (optional)"));
    QCOMPARE(identifier->maximumWidth(), 280);
    QVERIFY(!row.editor()->textField());
    QVERIFY(!row.findChild<QLabel *>(QStringLiteral("stepKindTitle"))); // only the recorder row has a title
}

void TestStepRows::identifierEditsKeepTheRest_data()
{
    const NormPoint point{0.25, 0.75};
    QTest::addColumn<ShotStep>("before");
    QTest::addColumn<ShotStep>("after");
    QTest::newRow("tap keeps label and point")
        << ShotStep::tap(QString(), QStringLiteral("Senden"), point)
        << ShotStep::tap(QStringLiteral("send"), QStringLiteral("Senden"), point);
    QTest::newRow("swipe keeps label, point and direction")
        << ShotStep::swipe(QString(), QStringLiteral("Liste"), point, SwipeDirection::Right)
        << ShotStep::swipe(QStringLiteral("send"), QStringLiteral("Liste"), point, SwipeDirection::Right);
    QTest::newRow("typeText keeps its text")
        << ShotStep::typeText(QString(), QStringLiteral("Hallo"))
        << ShotStep::typeText(QStringLiteral("send"), QStringLiteral("Hallo"));
}

void TestStepRows::identifierEditsKeepTheRest()
{
    QFETCH(ShotStep, before);
    QFETCH(ShotStep, after);
    BoundStep step{before};
    StepRow row(step.binding(), Uuid::text(Uuid::make()));
    QTest::keyClicks(row.editor()->selectorField(), QStringLiteral("send"));
    QCOMPARE(step.value, after);
    QCOMPARE(step.writes, 4); // every keystroke writes
}

void TestStepRows::secondsField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("written");
    QTest::addColumn<double>("seconds");
    QTest::newRow("German decimal") << "1,5" << true << 1.5;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("negative") << "-2" << true << -2.0;
    QTest::newRow("unreadable") << "abc" << false << 3.0;
}

void TestStepRows::secondsField()
{
    QFETCH(QString, typed);
    QFETCH(bool, written);
    QFETCH(double, seconds);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    BoundStep step{ShotStep::wait(3.0)};
    StepRow row(step.binding(), Uuid::text(Uuid::make()));
    QLineEdit *field = row.editor()->secondsField();
    QVERIFY(field);
    QCOMPARE(field->width(), 80);
    QCOMPARE(field->placeholderText(), QStringLiteral("Sekunden"));
    QCOMPARE(field->text(), QStringLiteral("3"));
    QVERIFY(row.findChild<QLabel *>(QStringLiteral("waitWord")));
    QCOMPARE(row.findChild<QLabel *>(QStringLiteral("secondsUnit"))->text(), QStringLiteral("s"));

    field->clear();
    QTest::keyClicks(field, typed);
    QCOMPARE(step.value, ShotStep::wait(seconds));
    QCOMPARE(step.writes > 0, written);
}

void TestStepRows::unreadableSecondsRevertWhenLeaving()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    BoundStep step{ShotStep::wait(1.5)};
    StepRow row(step.binding(), Uuid::text(Uuid::make()));
    QLineEdit *field = row.editor()->secondsField();
    QCOMPARE(field->text(), QStringLiteral("1,5"));
    field->setText(QStringLiteral("x"));
    Q_EMIT field->editingFinished();
    QCOMPARE(field->text(), QStringLiteral("1,5"));
    QCOMPARE(step.writes, 0);
}

void TestStepRows::directionChoiceKeepsTarget()
{
    const NormPoint point{0.5, 0.4};
    BoundStep step{ShotStep::swipe(QStringLiteral("list"), QStringLiteral("Liste"), point, SwipeDirection::Up)};
    StepRow row(step.binding(), Uuid::text(Uuid::make()));
    QComboBox *picker = row.editor()->directionPicker();
    QVERIFY(picker);
    QCOMPARE(picker->width(), 110);
    QCOMPARE(picker->accessibleName(), QStringLiteral("Richtung"));
    QStringList labels;
    for (int i = 0; i < picker->count(); ++i)
        labels << picker->itemText(i);
    QCOMPARE(labels, (QStringList{QStringLiteral("hoch"), QStringLiteral("runter"), QStringLiteral("links"), QStringLiteral("rechts")}));
    Q_EMIT picker->activated(picker->findText(QStringLiteral("links")));
    QCOMPARE(step.value, ShotStep::swipe(QStringLiteral("list"), QStringLiteral("Liste"), point, SwipeDirection::Left));
}

void TestStepRows::insertWaitMenu()
{
    BoundStep step{ShotStep::wait(1.0)};
    StepRow row(step.binding(), Uuid::text(Uuid::make()));
    auto *button = row.findChild<InsertWaitButton *>();
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Pause einfügen"));
    QStringList items;
    for (QAction *action : button->insertMenu()->actions())
        items << action->text();
    QCOMPARE(items, (QStringList{QStringLiteral("Pause davor"), QStringLiteral("Pause danach")}));

    // An absent action does nothing.
    menuAction(button, QStringLiteral("Pause danach"))->trigger();
    menuAction(button, QStringLiteral("Pause davor"))->trigger();
    QCOMPARE(step.writes, 0);

    int before = 0;
    int after = 0;
    row.setOnInsertWaitBefore([&] { ++before; });
    row.setOnInsertWaitAfter([&] { ++after; });
    menuAction(button, QStringLiteral("Pause danach"))->trigger();
    QCOMPARE(before, 0);
    QCOMPARE(after, 1);
    menuAction(button, QStringLiteral("Pause davor"))->trigger();
    QCOMPARE(before, 1);
}

void TestStepRows::dropsCallOnDropWithTheFirstItem_data()
{
    QTest::addColumn<bool>("hasText");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("no items") << false << QString() << QStringList();
    QTest::newRow("empty text") << true << QString() << QStringList();
    QTest::newRow("one item") << true << QStringLiteral("ABC") << QStringList{QStringLiteral("ABC")};
    QTest::newRow("two items call once with the first") << true << QStringLiteral("first\nsecond") << QStringList{QStringLiteral("first")};
}

void TestStepRows::dropsCallOnDropWithTheFirstItem()
{
    QFETCH(bool, hasText);
    QFETCH(QString, text);
    QFETCH(QStringList, calls);
    BoundStep step{ShotStep::tap(QString(), QString())};
    StepRow row(step.binding(), Uuid::text(Uuid::make()));
    QStringList received;
    row.setOnDrop([&](const QString &item) { received << item; });
    QMimeData data;
    if (hasText)
        data.setText(text);
    else
        data.setData(QStringLiteral("application/octet-stream"), QByteArray("x"));
    const bool accepted = sendDrop(&row, &data);
    QCOMPARE(received, calls);
    QCOMPARE(accepted, !calls.isEmpty());
    QCOMPARE(step.writes, 0);
}

void TestStepRows::dragPayloadAndHelp()
{
    const QUuid id = Uuid::make();
    BoundStep step{ShotStep::tap(QStringLiteral("login.button"), QString())};
    StepRow row(step.binding(), Uuid::text(id));
    QCOMPARE(row.toolTip(), QStringLiteral("Zum Umsortieren ziehen"));
    QVERIFY(row.acceptDrops());
    QCOMPARE(row.kindSymbol(), QStringLiteral("hand.tap"));
    std::unique_ptr<QMimeData> data(row.makeDragData());
    QCOMPARE(data->text(), Uuid::text(id));
    QCOMPARE(data->text().size(), 36);
    QVERIFY(!row.dragPreview().isNull());
    // The fields leave drops to the row, so a dropped identifier never lands in a field.
    QVERIFY(!row.editor()->selectorField()->acceptDrops());
}

void TestStepRows::updatesInPlaceWhileTyping()
{
    BoundStep step{ShotStep::typeText(QStringLiteral("email"), QStringLiteral("hallo"))};
    StepRow row(step.binding(), Uuid::text(Uuid::make()));
    row.show();
    QLineEdit *text = row.editor()->textField();
    QVERIFY(text);
    QCOMPARE(text->placeholderText(), QStringLiteral("Text"));
    QCOMPARE(text->maximumWidth(), 320);
    text->setFocus();
    text->setCursorPosition(2);
    const int widgets = row.findChildren<QWidget *>().size();

    row.showStep(step.value); // same value: nothing moves
    QCOMPARE(text->cursorPosition(), 2);
    row.showStep(ShotStep::typeText(QStringLiteral("mail"), QStringLiteral("hallo")));
    QCOMPARE(row.editor()->selectorField()->text(), QStringLiteral("mail"));
    QCOMPARE(text->cursorPosition(), 2);
    QCOMPARE(row.editor()->textField(), text);
    QCOMPARE(row.findChildren<QWidget *>().size(), widgets);

    // A step of another kind (a reloaded plan) gets that kind's fields.
    row.showStep(ShotStep::wait(2));
    QVERIFY(row.editor()->secondsField());
    QVERIFY(!row.editor()->textField());
    QCOMPARE(row.kindSymbol(), QStringLiteral("clock"));
}

void TestStepRows::recorderRowLayout()
{
    BoundStep typeText{ShotStep::typeText(QStringLiteral("email"), QStringLiteral("a"))};
    StepEditorRow row(typeText.binding());
    auto *title = row.findChild<QLabel *>(QStringLiteral("stepKindTitle"));
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Text"));
    QCOMPARE(row.editor()->selectorField()->placeholderText(), QStringLiteral("Identifier"));
    QCOMPARE(row.editor()->textField()->placeholderText(), QStringLiteral("Eingabe"));
    QTest::keyClicks(row.editor()->textField(), QStringLiteral("b"));
    QCOMPARE(typeText.value, ShotStep::typeText(QStringLiteral("email"), QStringLiteral("ab")));

    BoundStep swipe{ShotStep::swipe(QString(), QString(), std::nullopt, SwipeDirection::Down)};
    StepEditorRow swipeRow(swipe.binding());
    QCOMPARE(swipeRow.editor()->selectorField()->maximumWidth(), 220);
    QVERIFY(swipeRow.editor()->directionPicker()->accessibleName().isEmpty());
    QCOMPARE(swipeRow.editor()->directionPicker()->currentText(), QStringLiteral("runter"));
    QCOMPARE(swipeRow.findChild<QLabel *>(QStringLiteral("stepKindTitle"))->text(), QStringLiteral("Wischen"));

    BoundStep wait{ShotStep::wait(1)};
    StepEditorRow waitRow(wait.binding());
    QCOMPARE(waitRow.editor()->secondsField()->width(), 80);
    QVERIFY(!waitRow.findChild<QLabel *>(QStringLiteral("waitWord")));
    QVERIFY(!waitRow.findChild<QWidget *>(QStringLiteral("stepDeleteButton")));
}

QTEST_MAIN(TestStepRows)
#include "tst_steprows.moc"
