#include <PlanEncoder.h>
#include <ScreenshotPlan.h>
#include <Uuid.h>

#include <QJsonDocument>
#include <QTest>

#include <functional>

namespace {

using Edit = std::function<void(Shot &)>;


// A plan whose second shot holds every kind of step, each field set.
ScreenshotPlan samplePlan()
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault({"de-DE", "en-US"});
    plan.lanes.append(Lane{Uuid::make(), "iPad"});
    plan.location = PlanLocation{52.52, 13.405};
    for (int i = 0; i < 3; ++i) {
        Shot shot{Uuid::make(), QStringLiteral("Shot %1").arg(i), {}, std::nullopt, std::nullopt};
        shot.steps = {ShotStepItem::make(ShotStep::tap("button.weiter", "Weiter", NormPoint{0.25, 0.75})),
                      ShotStepItem::make(ShotStep::typeText("search", "Café „am“ Markt")),
                      ShotStepItem::make(ShotStep::wait(1.5)),
                      ShotStepItem::make(ShotStep::swipe("list", "Liste", NormPoint{0.5, 0.5}, SwipeDirection::Up))};
        plan.shots.append(shot);
    }
    plan.shots[1].laneID = plan.lanes[1].id;
    plan.shots[1].location = PlanLocation{48.137, 11.575};
    return plan;
}

ShotStep rebuilt(const ShotStep::Tap &t) { return ShotStep::tap(t.selector, t.label, t.at); }
ShotStep rebuilt(const ShotStep::TypeText &t) { return ShotStep::typeText(t.selector, t.text); }
ShotStep rebuilt(const ShotStep::Wait &w) { return ShotStep::wait(w.seconds); }
ShotStep rebuilt(const ShotStep::Swipe &s) { return ShotStep::swipe(s.selector, s.label, s.at, s.direction); }

// Changes one field of the step at index, which is of kind T.
template <typename T>
void editStep(Shot &shot, int index, const std::function<void(T &)> &edit)
{
    T value = *shot.steps[index].step.as<T>();
    edit(value);
    shot.steps[index].step = rebuilt(value);
}

} // namespace

class TestPlanEncoder final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changedShotIsNeverTakenFromTheCache_data();
    void changedShotIsNeverTakenFromTheCache();
    void unchangedShotsComeFromTheCache();
    void plansWithRepeatedOrMovedShots();
};

void TestPlanEncoder::changedShotIsNeverTakenFromTheCache_data()
{
    QTest::addColumn<Edit>("edit");
    const auto tap = [](std::function<void(ShotStep::Tap &)> f) { return Edit([f](Shot &s) { editStep<ShotStep::Tap>(s, 0, f); }); };
    const auto type = [](std::function<void(ShotStep::TypeText &)> f) { return Edit([f](Shot &s) { editStep<ShotStep::TypeText>(s, 1, f); }); };
    const auto wait = [](std::function<void(ShotStep::Wait &)> f) { return Edit([f](Shot &s) { editStep<ShotStep::Wait>(s, 2, f); }); };
    const auto swipe = [](std::function<void(ShotStep::Swipe &)> f) { return Edit([f](Shot &s) { editStep<ShotStep::Swipe>(s, 3, f); }); };

    // The shot's own fields.
    QTest::newRow("id") << Edit([](Shot &s) { s.id = Uuid::make(); });
    QTest::newRow("name") << Edit([](Shot &s) { s.name += "x"; });
    QTest::newRow("name, same length") << Edit([](Shot &s) { s.name[0] = 'T'; });
    QTest::newRow("laneID cleared") << Edit([](Shot &s) { s.laneID.reset(); });
    QTest::newRow("laneID changed") << Edit([](Shot &s) { s.laneID = Uuid::make(); });
    QTest::newRow("location cleared") << Edit([](Shot &s) { s.location.reset(); });
    QTest::newRow("location latitude") << Edit([](Shot &s) { s.location->latitude = 1; });
    QTest::newRow("location longitude") << Edit([](Shot &s) { s.location->longitude = -1; });
    QTest::newRow("step added") << Edit([](Shot &s) { s.steps.append(ShotStepItem::make(ShotStep::wait(2))); });
    QTest::newRow("step removed") << Edit([](Shot &s) { s.steps.removeLast(); });
    QTest::newRow("steps moved") << Edit([](Shot &s) { s.steps.move(0, 3); });
    QTest::newRow("step id") << Edit([](Shot &s) { s.steps[2].id = Uuid::make(); });
    QTest::newRow("step kind") << Edit([](Shot &s) {
        const auto t = *s.steps[0].step.as<ShotStep::Tap>();
        s.steps[0].step = ShotStep::swipe(t.selector, t.label, t.at, SwipeDirection::Up);
    });
    // Every field of every step kind.
    QTest::newRow("tap selector") << tap([](auto &t) { t.selector = "other"; });
    QTest::newRow("tap label") << tap([](auto &t) { t.label = "Zurück"; });
    QTest::newRow("tap point cleared") << tap([](auto &t) { t.at.reset(); });
    QTest::newRow("tap x") << tap([](auto &t) { t.at->x = 0.26; });
    QTest::newRow("tap y") << tap([](auto &t) { t.at->y = 0.76; });
    QTest::newRow("typeText selector") << type([](auto &t) { t.selector = "field"; });
    QTest::newRow("typeText text") << type([](auto &t) { t.text = "Café am Markt"; });
    QTest::newRow("wait seconds") << wait([](auto &w) { w.seconds = 2.5; });
    QTest::newRow("wait negative zero") << wait([](auto &w) { w.seconds = -0.0; });
    QTest::newRow("wait not a number") << wait([](auto &w) { w.seconds = std::nan(""); });
    QTest::newRow("swipe selector") << swipe([](auto &w) { w.selector = "grid"; });
    QTest::newRow("swipe label") << swipe([](auto &w) { w.label = "Raster"; });
    QTest::newRow("swipe point cleared") << swipe([](auto &w) { w.at.reset(); });
    QTest::newRow("swipe x") << swipe([](auto &w) { w.at->x = 0.1; });
    QTest::newRow("swipe y") << swipe([](auto &w) { w.at->y = 0.9; });
    QTest::newRow("swipe direction") << swipe([](auto &w) { w.direction = SwipeDirection::Left; });
}

void TestPlanEncoder::changedShotIsNeverTakenFromTheCache()
{
    QFETCH(Edit, edit);
    ScreenshotPlan plan = samplePlan();
    PlanEncoder encoder;
    QCOMPARE(encoder.encode(plan), plan.encode());
    QCOMPARE(encoder.shotsWrittenLastTime(), 3);

    edit(plan.shots[1]);
    const QByteArray cached = encoder.encode(plan);
    QCOMPARE(cached, plan.encode());
    QCOMPARE(cached, QJsonDocument(plan.toJson()).toJson(QJsonDocument::Indented));
    QVERIFY(encoder.shotsWrittenLastTime() <= 1);
}

void TestPlanEncoder::unchangedShotsComeFromTheCache()
{
    ScreenshotPlan plan = samplePlan();
    PlanEncoder encoder;
    encoder.encode(plan);
    // Everything outside the shots is written afresh every time.
    plan.languages.append("fr-FR");
    plan.lanes[0].name = "Alle";
    plan.location.reset();
    plan.flagSelections.insert("-theme", "dark");
    QCOMPARE(encoder.encode(plan), plan.encode());
    QCOMPARE(encoder.shotsWrittenLastTime(), 0);
    // A value equal to the cached one, though read back separately, counts as unchanged.
    const ScreenshotPlan reread = *ScreenshotPlan::decode(plan.encode());
    QCOMPARE(encoder.encode(reread), plan.encode());
    QCOMPARE(encoder.shotsWrittenLastTime(), 0);
    plan.shots[2].name = "Neu";
    QCOMPARE(encoder.encode(plan), plan.encode());
    QCOMPARE(encoder.shotsWrittenLastTime(), 1);
}

void TestPlanEncoder::plansWithRepeatedOrMovedShots()
{
    ScreenshotPlan plan = samplePlan();
    PlanEncoder encoder;
    encoder.encode(plan);
    plan.shots.move(0, 2);
    QCOMPARE(encoder.encode(plan), plan.encode());
    // Two shots with one identifier (an in-memory plan may hold that): each keeps its own text.
    plan.shots[1].id = plan.shots[0].id;
    QCOMPARE(encoder.encode(plan), plan.encode());
    QCOMPARE(encoder.encode(plan), plan.encode());
    plan.shots.removeFirst();
    QCOMPARE(encoder.encode(plan), plan.encode());
    plan.shots.clear();
    QCOMPARE(encoder.encode(plan), plan.encode());
}

QTEST_APPLESS_MAIN(TestPlanEncoder)
#include "tst_planencoder.moc"
