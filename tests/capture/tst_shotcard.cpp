#include "tst_planeditor_fixture.h"

#include <InsertWaitButton.h>
#include <PlanEditorModel.h>
#include <ShotCard.h>
#include <SimulatorLocationSheet.h>
#include <StepKindEditor.h>
#include <StepRow.h>

#include <Spring.h>

#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// A saved plan in a temporary project, its editor model and one shot's card, kept up to
// date the way the lane card does it.
struct CardFixture
{
    QTemporaryDir dir;
    XcodeProject project;
    std::unique_ptr<PlanEditorModel> model;
    std::unique_ptr<ShotCard> card;

    CardFixture(const ScreenshotPlan &plan, const QUuid &shotID)
    {
        ProjectSpec spec;
        spec.shotsJson = plan.encode();
        project = makeProject(dir.path(), spec);
        model = std::make_unique<PlanEditorModel>(project);
        model->load();
        card = std::make_unique<ShotCard>(model.get(), shotID);
        QObject::connect(model.get(), &PlanEditorModel::planChanged, card.get(), [this] {
            for (const Shot &shot : model->plan().shots) {
                if (shot.id == card->shotID())
                    card->showShot(shot, model->plan().lanes);
            }
        });
    }

    Shot shot() const { return model->shotBinding(card->shotID()).get(); }
    Shot shotOnDisk() const
    {
        const std::optional<ScreenshotPlan> plan = planOnDisk(project);
        if (plan) {
            for (const Shot &shot : plan->shots) {
                if (shot.id == card->shotID())
                    return shot;
            }
        }
        return Shot{};
    }
};

// Steps A, B, C, D as taps with those selectors.
Shot abcdShot(std::optional<QUuid> laneID = std::nullopt)
{
    Shot shot = makeShot(QStringLiteral("Start"), laneID);
    for (const char *name : {"A", "B", "C", "D"})
        shot.steps.append(ShotStepItem::make(ShotStep::tap(QString::fromLatin1(name), QString())));
    return shot;
}

QString order(const Shot &shot)
{
    QString text;
    for (const ShotStepItem &item : shot.steps) {
        if (const auto *tap = item.step.as<ShotStep::Tap>())
            text += tap->selector;
        else
            text += QLatin1Char('w');
    }
    return text;
}

// Drags `from` onto `onto` as the window system delivers it: enter, then drop.
void dropRowOnto(StepRow *from, StepRow *onto)
{
    std::unique_ptr<QMimeData> data(from->makeDragData());
    QDragEnterEvent enter(QPoint(4, 4), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto, &enter);
    QDropEvent drop(QPointF(4, 4), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject *>(onto)->event(&drop);
}

void dropText(StepRow *onto, const QString &text)
{
    QMimeData data;
    data.setText(text);
    QDropEvent drop(QPointF(4, 4), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject *>(onto)->event(&drop);
}

StepRow *rowNamed(ShotCard *card, const Shot &shot, const QString &selector)
{
    for (const ShotStepItem &item : shot.steps) {
        const auto *tap = item.step.as<ShotStep::Tap>();
        if (tap && tap->selector == selector)
            return card->stepRow(item.id);
    }
    return nullptr;
}

} // namespace

class TestShotCard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Motion::setAnimationsEnabled(false); }
    void dragAndDropReordersAndSaves_data();
    void dragAndDropReordersAndSaves();
    void selfAndForeignDropsChangeNothing();
    void insertWaitAtBothEnds();
    void addStepMenuAppendsDefaults();
    void deleteStepKeepsTheOthers();
    void rowsAreKeptAcrossEdits();
    void laneMenuPresenceAndCheckmark();
    void locationButtonAndSheet();
    void trashDeletesWithoutAsking();
    void deferredRowsFollowTheLatestShot();
};

void TestShotCard::dragAndDropReordersAndSaves_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");
    QTest::newRow("A onto C") << "A" << "C" << "BCAD";
    QTest::newRow("D onto B") << "D" << "B" << "ADBC";
    QTest::newRow("A onto D") << "A" << "D" << "BCDA";
    QTest::newRow("D onto A") << "D" << "A" << "DABC";
}

void TestShotCard::dragAndDropReordersAndSaves()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(QString, expected);
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot shot = abcdShot();
    CardFixture f(planWith({lane}, {shot}), shot.id);
    QList<StepRow *> rowsBefore = f.card->stepRows();
    QCOMPARE(rowsBefore.size(), 4);

    dropRowOnto(rowNamed(f.card.get(), shot, dragged), rowNamed(f.card.get(), shot, target));

    QCOMPARE(order(f.shot()), expected);
    QCOMPARE(order(f.shotOnDisk()), expected);
    QCOMPARE(f.card->animatedChanges(), 1);
    // The same row widgets, now in the new order.
    QStringList shown;
    for (StepRow *row : f.card->stepRows()) {
        QVERIFY(rowsBefore.contains(row));
        shown << row->editor()->selectorField()->text();
    }
    QCOMPARE(shown.join(QString()), expected);
}

void TestShotCard::selfAndForeignDropsChangeNothing()
{
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot shot = abcdShot();
    const Shot other = abcdShot();
    CardFixture f(planWith({lane}, {shot, other}), shot.id);
    const QByteArray before = readBytes(planPath(f.project));
    StepRow *b = rowNamed(f.card.get(), shot, QStringLiteral("B"));

    dropRowOnto(b, b);
    dropText(b, QStringLiteral("hello"));
    dropText(b, Uuid::text(other.steps.at(0).id)); // a step of another shot's card
    dropText(b, Uuid::text(shot.steps.at(0).id).toLower());

    QCOMPARE(order(f.shot()), QStringLiteral("ABCD"));
    QCOMPARE(f.model->plan().shots.at(1), other);
    QCOMPARE(readBytes(planPath(f.project)), before);
    QCOMPARE(f.card->animatedChanges(), 0);
}

void TestShotCard::insertWaitAtBothEnds()
{
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot shot = abcdShot();
    CardFixture f(planWith({lane}, {shot}), shot.id);

    auto trigger = [&](const QString &selector, const QString &item) {
        auto *button = rowNamed(f.card.get(), f.shot(), selector)->findChild<InsertWaitButton *>();
        actionNamed(button->insertMenu(), item)->trigger();
    };
    trigger(QStringLiteral("A"), QStringLiteral("Pause davor"));
    QCOMPARE(order(f.shot()), QStringLiteral("wABCD"));
    trigger(QStringLiteral("D"), QStringLiteral("Pause danach"));
    QCOMPARE(order(f.shot()), QStringLiteral("wABCDw"));
    QCOMPARE(f.shot().steps.first().step, ShotStep::wait(1.0));
    QCOMPARE(f.shot().steps.last().step, ShotStep::wait(1.0));
    QVERIFY(f.shot().steps.first().id != f.shot().steps.last().id);
    QCOMPARE(order(f.shotOnDisk()), QStringLiteral("wABCDw"));
    QCOMPARE(f.card->stepRows().size(), 6);
    QCOMPARE(f.card->animatedChanges(), 2);
}

void TestShotCard::addStepMenuAppendsDefaults()
{
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot shot = makeShot(QStringLiteral("Leer"));
    CardFixture f(planWith({lane}, {shot}), shot.id);
    QMenu *menu = f.card->addStepMenu();
    QStringList items;
    for (QAction *action : menu->actions())
        items << action->text();
    QCOMPARE(items, (QStringList{QStringLiteral("Tippen"), QStringLiteral("Text eingeben"), QStringLiteral("Warten"), QStringLiteral("Wischen")}));
    QCOMPARE(f.card->addStepButton()->text(), QStringLiteral("Schritt hinzufügen"));

    for (QAction *action : menu->actions())
        action->trigger();
    const QList<ShotStepItem> steps = f.shot().steps;
    QCOMPARE(steps.size(), 4);
    QCOMPARE(steps.at(0).step, ShotStep::tap(QString(), QString()));
    QCOMPARE(steps.at(1).step, ShotStep::typeText(QString(), QString()));
    QCOMPARE(steps.at(2).step, ShotStep::wait(1.0));
    QCOMPARE(steps.at(3).step, ShotStep::swipe(QString(), QString(), std::nullopt, SwipeDirection::Up));
    QCOMPARE(f.card->stepRows().size(), 4);
    QCOMPARE(f.card->animatedChanges(), 0); // adding is not animated
}

void TestShotCard::deleteStepKeepsTheOthers()
{
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot shot = abcdShot();
    CardFixture f(planWith({lane}, {shot}), shot.id);
    StepRow *b = rowNamed(f.card.get(), shot, QStringLiteral("B"));
    QPointer<StepRow> guard(b);
    b->findChild<QToolButton *>(QStringLiteral("stepDeleteButton"))->click();
    QCOMPARE(order(f.shot()), QStringLiteral("ACD"));
    QCOMPARE(order(f.shotOnDisk()), QStringLiteral("ACD"));
    QCOMPARE(f.card->stepRows().size(), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
    QCOMPARE(f.card->animatedChanges(), 0);
}

void TestShotCard::rowsAreKeptAcrossEdits()
{
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot shot = abcdShot();
    CardFixture f(planWith({lane}, {shot}), shot.id);
    f.card->show();
    const QList<StepRow *> rows = f.card->stepRows();
    const int widgets = f.card->findChildren<QWidget *>().size();
    QLineEdit *field = rows.at(1)->editor()->selectorField();
    field->setFocus();
    field->setCursorPosition(1);
    QTest::keyClicks(field, QStringLiteral("xy"));
    QCOMPARE(field->text(), QStringLiteral("Bxy"));
    QCOMPARE(field->cursorPosition(), 3);
    QCOMPARE(order(f.shot()), QStringLiteral("ABxyCD"));
    QCOMPARE(f.card->stepRows(), rows);
    QCOMPARE(f.card->findChildren<QWidget *>().size(), widgets);

    QTest::keyClicks(f.card->nameField(), QStringLiteral(" 2"));
    QCOMPARE(f.shot().name, QStringLiteral("Start 2"));
    QCOMPARE(f.card->nameField()->placeholderText(), QStringLiteral("Name"));
    QCOMPARE(f.card->nameField()->maximumWidth(), 260);
}

void TestShotCard::laneMenuPresenceAndCheckmark()
{
    const Lane first = makeLane(QStringLiteral("Erste"));
    const Lane second = makeLane(QStringLiteral("Zweite"));
    const Shot shot = abcdShot(); // no laneID: shown in the first lane
    CardFixture f(planWith({first}, {shot}), shot.id);
    QVERIFY(f.card->laneButton()->isHidden());

    f.model->addLane();
    QVERIFY(!f.card->laneButton()->isHidden());
    QCOMPARE(f.card->laneButton()->toolTip(), QStringLiteral("In andere Lane verschieben"));
    QMenu *menu = f.card->laneMenu();
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Erste"));
    QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Lane 2"));
    for (QAction *action : menu->actions())
        QVERIFY(action->icon().isNull()); // no laneID: no checkmark

    menu->actions().at(0)->trigger(); // the lane it already shows in: the id is set anyway
    QCOMPARE(f.shot().laneID, std::optional<QUuid>(first.id));
    menu = f.card->laneMenu();
    QVERIFY(!menu->actions().at(0)->icon().isNull());
    QVERIFY(menu->actions().at(1)->icon().isNull());

    const QUuid secondID = f.model->plan().lanes.at(1).id;
    menu->actions().at(1)->trigger();
    QCOMPARE(f.shot().laneID, std::optional<QUuid>(secondID));
    QCOMPARE(f.shotOnDisk().laneID, std::optional<QUuid>(secondID));
    menu = f.card->laneMenu();
    QVERIFY(menu->actions().at(0)->icon().isNull());
    QVERIFY(!menu->actions().at(1)->icon().isNull());
    Q_UNUSED(second);
}

void TestShotCard::locationButtonAndSheet()
{
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot shot = abcdShot();
    CardFixture f(planWith({lane}, {shot}), shot.id);
    QToolButton *button = f.card->locationButton();
    QCOMPARE(button->toolTip(), QStringLiteral("Standort für diesen Shot setzen"));
    const PlanLocation start = ShotCard::sheetInitialLocation(f.shot());
    QCOMPARE(start.latitude, 37.3349);
    QCOMPARE(start.longitude, -122.009);

    f.card->applyLocation(48.137, 11.575);
    QCOMPARE(f.shot().location, std::optional<PlanLocation>(PlanLocation{48.137, 11.575}));
    QCOMPARE(button->toolTip(), QStringLiteral("Standort gesetzt — ändern oder entfernen"));
    QCOMPARE(ShotCard::sheetInitialLocation(f.shot()).latitude, 48.137);

    f.card->clearLocation();
    QVERIFY(!f.shot().location);
    QVERIFY(!f.shotOnDisk().location);
    QCOMPARE(button->toolTip(), QStringLiteral("Standort für diesen Shot setzen"));

    QVERIFY(!f.card->showLocation());
    button->click();
    QVERIFY(f.card->showLocation());
    auto *sheet = f.card->findChild<SimulatorLocationSheet *>();
    QVERIFY(sheet);
    sheet->reject();
    QVERIFY(!f.card->showLocation());
}

void TestShotCard::trashDeletesWithoutAsking()
{
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot keep = abcdShot();
    const Shot gone = abcdShot();
    const Shot last = abcdShot();
    CardFixture f(planWith({lane}, {keep, gone, last}), gone.id);
    f.card->setOnDelete([&] { f.model->deleteShot(gone.id); });
    f.card->deleteButton()->click();
    QCOMPARE(f.model->plan().shots, (QList<Shot>{keep, last}));
    const std::optional<ScreenshotPlan> disk = planOnDisk(f.project);
    QVERIFY(disk);
    QCOMPARE(disk->shots, (QList<Shot>{keep, last}));
    QVERIFY(!QApplication::activeModalWidget()); // nothing asked
}

void TestShotCard::deferredRowsFollowTheLatestShot()
{
    const Lane lane = makeLane(QStringLiteral("Screenshots"));
    const Shot shot = abcdShot();
    QTemporaryDir dir;
    ProjectSpec spec;
    spec.shotsJson = planWith({lane}, {shot}).encode();
    const XcodeProject project = makeProject(dir.path(), spec);
    PlanEditorModel model(project);
    model.load();
    ShotCard card(&model, shot.id, nullptr, ShotCard::Rows::Later);
    QVERIFY(!card.rowsBuilt());
    QVERIFY(card.stepRows().isEmpty());
    QCOMPARE(card.nameField()->text(), QStringLiteral("Start")); // the header shows at once

    model.updateShot(shot.id, [](Shot &edited) { edited.steps.removeFirst(); });
    card.showShot(model.plan().shots.first(), model.plan().lanes);
    QVERIFY(card.stepRows().isEmpty());

    card.buildRows();
    QVERIFY(card.rowsBuilt());
    QStringList shown;
    for (StepRow *row : card.stepRows())
        shown << row->editor()->selectorField()->text();
    QCOMPARE(shown.join(QString()), QStringLiteral("BCD"));
}

QTEST_MAIN(TestShotCard)
#include "tst_shotcard.moc"
