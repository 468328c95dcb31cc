#include "tst_planeditor_fixture.h"

#include <LaneCard.h>
#include <LanesSection.h>
#include <PlanEditorModel.h>
#include <ShotCard.h>

#include <Spring.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

struct SectionFixture
{
    QTemporaryDir dir;
    XcodeProject project;
    std::unique_ptr<PlanEditorModel> model;
    std::unique_ptr<LanesSection> section;

    explicit SectionFixture(const std::optional<ScreenshotPlan> &plan, ProjectSpec spec = {})
    {
        if (plan)
            spec.shotsJson = plan->encode();
        project = makeProject(dir.path(), spec);
        model = std::make_unique<PlanEditorModel>(project);
        model->load();
        section = std::make_unique<LanesSection>(model.get());
    }

    LaneCard *card(int index) const { return section->laneCards().value(index); }
    QStringList shotNames(int lane) const
    {
        QStringList names;
        for (ShotCard *shot : card(lane)->shotCards())
            names << shot->nameField()->text();
        return names;
    }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

const QString removeHelp = QStringLiteral("Lane entfernen (Shots wandern in die erste Lane)");
const QString lastLaneHelp = QStringLiteral("Die letzte Lane bleibt");

} // namespace

class TestLanesSection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Motion::setAnimationsEnabled(false); }
    void newPlanAndAddingALane();
    void defaultLaneNameCountsWhatExists();
    void removingTheFirstLaneMovesItsShots();
    void removingAnotherLaneMovesItsShotsToTheFirst();
    void runButtonRules_data();
    void runButtonRules();
    void addShotMenu();
    void shotCardTrashRemovesTheShot();
    void typingInALaneNameKeepsTheWidgets();
    void shotsFollowPlanOrderAndMembership();
    void largePlan();
};

void TestLanesSection::newPlanAndAddingALane()
{
    SectionFixture f(std::nullopt); // no shots.json: one lane "Screenshots"
    QCOMPARE(f.section->findChild<QLabel *>(QStringLiteral("lanesTitle"))->text(), QStringLiteral("Lanes"));
    QCOMPARE(f.section->laneCards().size(), 1);
    LaneCard *first = f.card(0);
    QCOMPARE(first->nameField()->text(), QStringLiteral("Screenshots"));
    QCOMPARE(first->nameField()->placeholderText(), QStringLiteral("Lane-Name"));
    QCOMPARE(first->nameField()->maximumWidth(), 240);
    QVERIFY(!first->removeButton()->isEnabled());
    QCOMPARE(first->removeButton()->toolTip(), lastLaneHelp);
    QCOMPARE(first->countLabel()->text(), QStringLiteral("0"));
    QCOMPARE(first->runButton()->text(), QStringLiteral("Lane starten"));

    QCOMPARE(f.section->addLaneButton()->text(), QStringLiteral("Lane hinzufügen"));
    f.section->addLaneButton()->click();
    QCOMPARE(f.section->laneCards().size(), 2);
    QCOMPARE(f.section->laneCards().first(), first); // kept, not rebuilt
    QCOMPARE(f.card(1)->nameField()->text(), QStringLiteral("Lane 2"));
    for (LaneCard *card : f.section->laneCards()) {
        QVERIFY(card->removeButton()->isEnabled());
        QCOMPARE(card->removeButton()->toolTip(), removeHelp);
    }
    const std::optional<ScreenshotPlan> disk = planOnDisk(f.project);
    QVERIFY(disk);
    QCOMPARE(disk->lanes.size(), 2);

    // An empty name is allowed; the field shows its placeholder.
    f.card(1)->nameField()->selectAll();
    QTest::keyClick(f.card(1)->nameField(), Qt::Key_Backspace);
    QCOMPARE(f.model->plan().lanes.at(1).name, QString());
    QVERIFY(f.card(1)->nameField()->text().isEmpty());
}

void TestLanesSection::defaultLaneNameCountsWhatExists()
{
    const Lane a = makeLane(QStringLiteral("A"));
    const Lane b = makeLane(QStringLiteral("B"));
    const Lane c = makeLane(QStringLiteral("C"));
    SectionFixture f(planWith({a, b, c}, {}));
    f.card(1)->removeButton()->click();
    f.flushDeletes();
    QCOMPARE(f.section->laneCards().size(), 2);
    f.section->addLaneButton()->click();
    QCOMPARE(f.card(2)->nameField()->text(), QStringLiteral("Lane 3"));
}

void TestLanesSection::removingTheFirstLaneMovesItsShots()
{
    const Lane a = makeLane(QStringLiteral("A"));
    const Lane b = makeLane(QStringLiteral("B"));
    const Shot loose = makeShot(QStringLiteral("ohne Lane"));
    const Shot inA = makeShot(QStringLiteral("in A"), a.id);
    const Shot inB = makeShot(QStringLiteral("in B"), b.id);
    SectionFixture f(planWith({a, b}, {loose, inB, inA}));
    QCOMPARE(f.shotNames(0), (QStringList{QStringLiteral("ohne Lane"), QStringLiteral("in A")}));

    f.card(0)->removeButton()->click();
    f.flushDeletes();
    QCOMPARE(f.section->laneCards().size(), 1);
    QCOMPARE(f.card(0)->laneID(), b.id);
    QCOMPARE(f.shotNames(0), (QStringList{QStringLiteral("ohne Lane"), QStringLiteral("in B"), QStringLiteral("in A")}));
    for (const Shot &shot : f.model->plan().shots)
        QCOMPARE(shot.laneID, std::optional<QUuid>(b.id));
    QVERIFY(!f.card(0)->removeButton()->isEnabled());
    QCOMPARE(f.card(0)->removeButton()->toolTip(), lastLaneHelp);
}

void TestLanesSection::removingAnotherLaneMovesItsShotsToTheFirst()
{
    const Lane a = makeLane(QStringLiteral("A"));
    const Lane b = makeLane(QStringLiteral("B"));
    const Shot loose = makeShot(QStringLiteral("ohne Lane"));
    const Shot inB = makeShot(QStringLiteral("in B"), b.id);
    const Shot inA = makeShot(QStringLiteral("in A"), a.id);
    SectionFixture f(planWith({a, b}, {loose, inB, inA}));
    f.card(1)->removeButton()->click();
    f.flushDeletes();
    QCOMPARE(f.shotNames(0), (QStringList{QStringLiteral("ohne Lane"), QStringLiteral("in B"), QStringLiteral("in A")}));
    QVERIFY(!f.model->plan().shots.at(0).laneID); // stays without
    QCOMPARE(f.model->plan().shots.at(1).laneID, std::optional<QUuid>(a.id));
    QCOMPARE(f.card(0)->countLabel()->text(), QStringLiteral("3"));
}

void TestLanesSection::runButtonRules_data()
{
    QTest::addColumn<bool>("xcodeproj");
    QTest::addColumn<bool>("bundleIdentifier");
    QTest::addColumn<bool>("withShot");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all there") << true << true << true << true;
    QTest::newRow("lane without shots") << true << true << false << false;
    QTest::newRow("no xcodeproj") << false << true << true << false;
    QTest::newRow("no bundle identifier") << true << false << true << false;
}

void TestLanesSection::runButtonRules()
{
    QFETCH(bool, xcodeproj);
    QFETCH(bool, bundleIdentifier);
    QFETCH(bool, withShot);
    QFETCH(bool, enabled);
    const Lane a = makeLane(QStringLiteral("A"));
    QList<Shot> shots;
    if (withShot)
        shots << makeShot(QStringLiteral("Start"), a.id);
    ProjectSpec spec;
    spec.xcodeproj = xcodeproj;
    spec.bundleIdentifier = bundleIdentifier;
    SectionFixture f(planWith({a}, shots), spec);
    QCOMPARE(f.card(0)->runButton()->isEnabled(), enabled);
    QCOMPARE(f.card(0)->countLabel()->text(), QString::number(shots.size()));
    if (enabled) {
        f.card(0)->runButton()->click();
        QVERIFY(f.model->showRun());
        QCOMPARE(f.model->laneToRun(), std::optional<Lane>(a));
    }
}

void TestLanesSection::addShotMenu()
{
    const Lane a = makeLane(QStringLiteral("A"));
    const Lane b = makeLane(QStringLiteral("B"));
    QList<Shot> shots;
    for (int i = 1; i <= 5; ++i)
        shots << makeShot(QStringLiteral("Shot %1").arg(i), i % 2 ? a.id : b.id);
    SectionFixture f(planWith({a, b}, shots));
    LaneCard *second = f.card(1);
    QCOMPARE(second->addShotButton()->text(), QStringLiteral("Shot hinzufügen"));
    QMenu *menu = second->addShotMenu();
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Leerer Shot"));
    QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Live aufnehmen"));

    const QList<ShotCard *> before = second->shotCards();
    actionNamed(menu, QStringLiteral("Leerer Shot"))->trigger();
    QCOMPARE(f.model->plan().shots.size(), 6);
    QCOMPARE(f.model->plan().shots.last().name, QStringLiteral("Shot 6"));
    QCOMPARE(f.model->plan().shots.last().laneID, std::optional<QUuid>(b.id));
    QCOMPARE(f.shotNames(1).last(), QStringLiteral("Shot 6"));
    QCOMPARE(second->shotCards().mid(0, before.size()), before);
    QCOMPARE(second->countLabel()->text(), QStringLiteral("3"));

    actionNamed(menu, QStringLiteral("Live aufnehmen"))->trigger();
    QVERIFY(f.model->showRecorder());
    QCOMPARE(f.model->recorderLane(), std::optional<Lane>(b));
}

void TestLanesSection::shotCardTrashRemovesTheShot()
{
    const Lane a = makeLane(QStringLiteral("A"));
    const Shot one = makeShot(QStringLiteral("Eins"), std::nullopt, 2);
    const Shot two = makeShot(QStringLiteral("Zwei"), std::nullopt, 2);
    const Shot three = makeShot(QStringLiteral("Drei"), std::nullopt, 2);
    SectionFixture f(planWith({a}, {one, two, three}));
    f.card(0)->shotCards().at(1)->deleteButton()->click();
    f.flushDeletes();
    QCOMPARE(f.shotNames(0), (QStringList{QStringLiteral("Eins"), QStringLiteral("Drei")}));
    const std::optional<ScreenshotPlan> disk = planOnDisk(f.project);
    QVERIFY(disk);
    QCOMPARE(disk->shots, (QList<Shot>{one, three}));
}

void TestLanesSection::typingInALaneNameKeepsTheWidgets()
{
    const Lane a = makeLane(QStringLiteral("Haupt"));
    const Lane b = makeLane(QStringLiteral("Neben"));
    SectionFixture f(planWith({a, b}, {makeShot(QStringLiteral("S"), a.id, 3), makeShot(QStringLiteral("T"), b.id, 3)}));
    f.section->show();
    QLineEdit *field = f.card(0)->nameField();
    field->setFocus();
    field->setCursorPosition(2);
    const int widgets = f.section->findChildren<QWidget *>().size();
    const QList<LaneCard *> cards = f.section->laneCards();

    QTest::keyClicks(field, QStringLiteral("xy"));
    QCOMPARE(f.model->plan().lanes.at(0).name, QStringLiteral("Haxyupt"));
    QCOMPARE(field->text(), QStringLiteral("Haxyupt"));
    QCOMPARE(field->cursorPosition(), 4);
    QCOMPARE(f.section->laneCards(), cards);
    QCOMPARE(f.section->findChildren<QWidget *>().size(), widgets);

    // Selection survives a change made elsewhere.
    field->setSelection(0, 2);
    f.model->setLaneName(b.id, QStringLiteral("Nebenbei"));
    QCOMPARE(field->selectedText(), QStringLiteral("Ha"));
    QCOMPARE(f.card(1)->nameField()->text(), QStringLiteral("Nebenbei"));
}

void TestLanesSection::shotsFollowPlanOrderAndMembership()
{
    const Lane a = makeLane(QStringLiteral("A"));
    const Lane b = makeLane(QStringLiteral("B"));
    const Shot s1 = makeShot(QStringLiteral("1"), b.id);
    const Shot s2 = makeShot(QStringLiteral("2"));
    const Shot s3 = makeShot(QStringLiteral("3"), Uuid::make()); // names no lane: shown nowhere
    const Shot s4 = makeShot(QStringLiteral("4"), a.id);
    SectionFixture f(planWith({a, b}, {s1, s2, s3, s4}));
    QCOMPARE(f.shotNames(0), (QStringList{QStringLiteral("2"), QStringLiteral("4")}));
    QCOMPARE(f.shotNames(1), (QStringList{QStringLiteral("1")}));

    // Moving a shot to the other lane through its card's menu.
    ShotCard *card = f.card(0)->shotCards().at(1);
    card->laneMenu()->actions().at(1)->trigger();
    f.flushDeletes();
    QCOMPARE(f.shotNames(0), (QStringList{QStringLiteral("2")}));
    QCOMPARE(f.shotNames(1), (QStringList{QStringLiteral("1"), QStringLiteral("4")}));
    QCOMPARE(f.model->plan().shots.size(), 4); // the lane-less shot stays in the plan
}

void TestLanesSection::largePlan()
{
    // 200 shots of 20 steps each over two lanes.
    const Lane a = makeLane(QStringLiteral("A"));
    const Lane b = makeLane(QStringLiteral("B"));
    QList<Shot> shots;
    for (int i = 0; i < 200; ++i) {
        Shot shot = makeShot(QStringLiteral("Shot %1").arg(i + 1), i % 2 ? b.id : a.id);
        for (int j = 0; j < 20; ++j) {
            switch (j % 4) {
            case 0:
                shot.steps << ShotStepItem::make(ShotStep::tap(QStringLiteral("button.%1").arg(j), QStringLiteral("Weiter"), NormPoint{0.5, 0.8}));
                break;
            case 1:
                shot.steps << ShotStepItem::make(ShotStep::typeText(QStringLiteral("field"), QStringLiteral("Hallo")));
                break;
            case 2:
                shot.steps << ShotStepItem::make(ShotStep::wait(1.5));
                break;
            default:
                shot.steps << ShotStepItem::make(ShotStep::swipe(QStringLiteral("list"), QString(), std::nullopt, SwipeDirection::Up));
                break;
            }
        }
        shots << shot;
    }
    ProjectSpec spec;
    spec.shotsJson = planWith({a, b}, shots).encode();
    QTemporaryDir dir;
    const XcodeProject project = makeProject(dir.path(), spec);
    PlanEditorModel model(project);
    model.load();

    QElapsedTimer timer;
    timer.start();
    QScrollArea area;
    area.setWidgetResizable(true);
    auto *section = new LanesSection(&model);
    area.setWidget(section);
    area.resize(820, 900);
    area.show();
    QCoreApplication::processEvents();
    const qint64 opened = timer.elapsed();
    QVERIFY(!section->isFullyBuilt());
    // A shot deleted while its card waits to be built is simply skipped.
    model.deleteShot(shots.last().id);
    QTRY_VERIFY_WITH_TIMEOUT(section->isFullyBuilt(), 30000);
    qInfo("200 shots x 20 steps: page shown in %lld ms, all step rows built after %lld ms", opened, timer.elapsed());
    QCOMPARE(section->laneCards().at(0)->shotCards().size(), 100);
    QCOMPARE(section->laneCards().at(1)->shotCards().size(), 99);
    for (LaneCard *lane : section->laneCards()) {
        for (ShotCard *card : lane->shotCards())
            QCOMPARE(card->stepRows().size(), 20);
    }

    // Scrolling only moves the page and paints what comes into view.
    QScrollBar *bar = area.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    timer.restart();
    const int jumps = 40;
    for (int i = 1; i <= jumps; ++i) {
        bar->setValue(bar->maximum() * i / jumps);
        area.viewport()->repaint();
    }
    qInfo("scrolling: %.1f ms per jump with repaint", double(timer.elapsed()) / jumps);

    const int widgets = section->findChildren<QWidget *>().size();
    QLineEdit *field = section->laneCards().at(0)->nameField();
    field->setFocus();
    timer.restart();
    QTest::keyClick(field, Qt::Key_X);
    qInfo("keystroke in a lane name (with autosave): %lld ms", timer.elapsed());
    QCOMPARE(model.plan().lanes.at(0).name, QStringLiteral("Ax"));
    QCOMPARE(section->findChildren<QWidget *>().size(), widgets);
}

QTEST_MAIN(TestLanesSection)
#include "tst_lanessection.moc"
