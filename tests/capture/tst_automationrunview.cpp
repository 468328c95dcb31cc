#include "LayoutProbe.h"
#include "LogViewProbe.h"
#include "ScrollBarProbe.h"
#include "StandInRunHome.h"

#include <AppPaths.h>
#include <AppStyle.h>
#include <AutomationRunView.h>
#include <BusyIndicator.h>
#include <NodeBadge.h>
#include <NodeChainView.h>
#include <RunSheetState.h>
#include <RunnerProject.h>
#include <ScreenshotRunSession.h>
#include <Spring.h>
#include <SymbolLabel.h>
#include <ThrottledLogView.h>
#include <UserDefaults.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <memory>

using Kind = ScreenshotRunSession::Phase::Kind;
using Phase = ScreenshotRunSession::Phase;

namespace {
constexpr int runTimeoutMs = 60000;

ScreenshotPlan planWith(const QStringList &languages, const QStringList &shotNames)
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault(languages);
    plan.languages = languages;
    plan.shots.clear();
    for (const QString &name : shotNames)
        plan.shots << shot(name);
    return plan;
}

ShotNode node(const char *language, const char *shot, RunNodeState state)
{
    return ShotNode{QString::fromUtf8(language), QString::fromUtf8(shot), state};
}

template<typename T>
T *child(QWidget *view, const char *name)
{
    T *widget = view->findChild<T *>(QString::fromUtf8(name));
    if (!widget)
        qWarning("no widget %s", name);
    return widget;
}

QStringList shotNames(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << QStringLiteral("Shot %1").arg(i);
    return names;
}

// A wheel turn over whatever lies at the middle of `area`, handed up from the widget under the
// pointer to its parents until one takes it, the way the application delivers a real one.
void turnWheel(QWidget *area, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPoint centre = area->rect().center();
    const QPoint global = area->mapToGlobal(centre);
    QWidget *target = area->childAt(centre);
    for (QWidget *widget = target ? target : area; widget; widget = widget->parentWidget()) {
        const QPointF position = widget->mapFromGlobal(QPointF(global));
        QWheelEvent event(position, QPointF(global), QPoint(), angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        if (QApplication::sendEvent(widget, &event) && event.isAccepted())
            return;
        if (widget->isWindow())
            return;
    }
}

// The cell lies wholly inside the part of the chain one can see.
bool wholeInView(const NodeChainView *chain, const NodeBadge *badge)
{
    const QRect inViewport(badge->mapTo(chain->viewport(), QPoint(0, 0)), badge->size());
    return chain->viewport()->rect().contains(inViewport);
}

QList<RunNodeState> badgeStates(const AutomationRunView &view, int language)
{
    QList<RunNodeState> states;
    for (const NodeBadge *badge : view.badges(language))
        states << badge->state();
    return states;
}
} // namespace

Q_DECLARE_METATYPE(Phase)

class TestAutomationRunView final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { m_run.reset(); }
    void cleanupTestCase() { m_run.tearDown(); }

    void phaseText_data();
    void phaseText();
    void nodeStateLookup_data();
    void nodeStateLookup();
    void progressAndConnectorRules();

    void badgeTitleLines_data();
    void badgeTitleLines();
    void connectorAnimatesItsFill();
    void gridFollowsThePlan();
    void logPane();
    void wheelTarget_data();
    void wheelTarget();
    void wheelReachesEveryCell_data();
    void wheelReachesEveryCell();
    void wheelOverAShortChainScrollsTheGrid();
    void nothingOverlapsAtAnyAllowedSize();
    void gridScrollBarIsTheSharedSlimBar();
    void runShowsEveryPhaseInOrder();
    void failedRunWithRepeatedShotNames();
    void goingAwayWhileRunningCancels_data();
    void goingAwayWhileRunningCancels();
    void restartNeedsBundleIdentifier();
    void screenshot();

private:
    XcodeProject iosProject(bool withBundleIdentifier = true)
    {
        return m_run.demoProject(m_run.iosProjectFile(), withBundleIdentifier);
    }
    std::unique_ptr<AutomationRunView> sheet(const ScreenshotPlan &plan, const XcodeProject &project);

    StandInRunHome m_run;
};

void TestAutomationRunView::initTestCase()
{
    m_run.setUp();
    Motion::setAnimationsEnabled(false);
    // Dressed as the application dresses itself.
    AppStyle::install();
}

std::unique_ptr<AutomationRunView> TestAutomationRunView::sheet(const ScreenshotPlan &plan, const XcodeProject &project)
{
    auto *session = new ScreenshotRunSession(project, plan, BuildConfiguration::Debug);
    return std::make_unique<AutomationRunView>(session);
}

// --- the derived values -------------------------------------------------------------------

void TestAutomationRunView::phaseText_data()
{
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("imported");
    QTest::addColumn<QString>("text");

    QTest::newRow("idle") << Phase::idle() << 0 << 0 << QStringLiteral("Bereit.");
    QTest::newRow("building") << Phase::running() << 0 << 0
                              << QStringLiteral("App und Runner werden gebaut und im Simulator gestartet…");
    QTest::newRow("recording") << Phase::running() << 1 << 0
                               << QStringLiteral("Nimmt auf — 1 von 2400 Screenshots fertig.");
    QTest::newRow("done, no grouping") << Phase::done() << 2400 << 2400
                                       << QStringLiteral("Fertig — 2400 Screenshots liegen jetzt unter „Vorbereitet“ "
                                                         "und erscheinen in Medien.");
    QTest::newRow("done, counts the imported") << Phase::done() << 6 << 0
                                               << QStringLiteral("Fertig — 0 Screenshots liegen jetzt unter "
                                                                 "„Vorbereitet“ und erscheinen in Medien.");
    QTest::newRow("failed") << Phase::failed(QStringLiteral("Abgebrochen.")) << 3 << 0 << QStringLiteral("Abgebrochen.");
}

void TestAutomationRunView::phaseText()
{
    QFETCH(Phase, phase);
    QFETCH(int, done);
    QFETCH(int, imported);
    QFETCH(QString, text);
    QCOMPARE(RunSheetState::phaseText(phase, done, 2400, imported), text);
}

void TestAutomationRunView::nodeStateLookup_data()
{
    QTest::addColumn<QList<ShotNode>>("nodes");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("shot");
    QTest::addColumn<RunNodeState>("state");

    const QList<ShotNode> nodes{node("en", "Start", RunNodeState::Done), node("en", "Detail", RunNodeState::Running),
                                node("en", "Detail", RunNodeState::Failed), node("de", "Detail", RunNodeState::Done)};
    QTest::newRow("found") << nodes << "en" << "Start" << RunNodeState::Done;
    QTest::newRow("first of a repeated name") << nodes << "en" << "Detail" << RunNodeState::Running;
    QTest::newRow("language must match") << nodes << "de" << "Start" << RunNodeState::Pending;
    QTest::newRow("name is exact") << nodes << "en" << "detail" << RunNodeState::Pending;
    QTest::newRow("no nodes") << QList<ShotNode>() << "en" << "Start" << RunNodeState::Pending;
}

void TestAutomationRunView::nodeStateLookup()
{
    QFETCH(QList<ShotNode>, nodes);
    QFETCH(QString, language);
    QFETCH(QString, shot);
    QFETCH(RunNodeState, state);
    QCOMPARE(RunSheetState::nodeState(nodes, language, shot), state);
    QCOMPARE(RunSheetState::NodeStateLookup(nodes).state(language, shot), state);
}

void TestAutomationRunView::progressAndConnectorRules()
{
    QVERIFY(!RunSheetState::showsProgress(Phase::running(), 0.0));
    QVERIFY(RunSheetState::showsProgress(Phase::running(), 1.0 / 6));
    QVERIFY(!RunSheetState::showsProgress(Phase::done(), 1.0));
    QVERIFY(!RunSheetState::showsProgress(Phase::failed(QStringLiteral("Abgebrochen.")), 0.5));

    for (RunNodeState state : {RunNodeState::Pending, RunNodeState::Running, RunNodeState::Failed})
        QVERIFY(!RunSheetState::connectorFilled(state));
    QVERIFY(RunSheetState::connectorFilled(RunNodeState::Done));
    QVERIFY(RunSheetState::connectorColor(RunNodeState::Done) != RunSheetState::connectorColor(RunNodeState::Running));
}

void TestAutomationRunView::badgeTitleLines_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("lines");
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("short") << QStringLiteral("Start") << 1;
    QTest::newRow("two words") << QStringLiteral("Einstellungen Konto") << 2;
    QTest::newRow("elided after two lines")
        << QStringLiteral("Einstellungen und Konto verwalten mit sehr langem Namen") << 2;
}

void TestAutomationRunView::badgeTitleLines()
{
    QFETCH(QString, title);
    QFETCH(int, lines);
    NodeBadge badge(title);
    QCOMPARE(badge.width(), NodeBadge::columnWidth);
    auto *label = badge.findChild<QLabel *>(QStringLiteral("nodeTitle"));
    QCOMPARE(int(label->text().count(u'\n')) + 1, lines);
    QCOMPARE(label->height(), lines * label->fontMetrics().lineSpacing());
    QVERIFY(label->text().endsWith(u'…') == title.contains(u"langem"));
    for (const QString &line : label->text().split(u'\n'))
        QVERIFY(label->fontMetrics().horizontalAdvance(line) <= NodeBadge::columnWidth);
}

void TestAutomationRunView::connectorAnimatesItsFill()
{
    Motion::setAnimationsEnabled(true);
    NodeConnector connector;
    connector.show();
    QCOMPARE(connector.size(), QSize(26, 2));
    const QColor empty = connector.color();
    connector.setFilled(true);
    QVERIFY(connector.isFilled());
    QVERIFY(connector.color() != RunSheetState::connectorColor(RunNodeState::Done));
    QTRY_COMPARE(connector.color(), RunSheetState::connectorColor(RunNodeState::Done));
    Motion::setAnimationsEnabled(false);
    connector.setFilled(false);
    QCOMPARE(connector.color(), empty);
}

// --- the sheet ------------------------------------------------------------------------------

void TestAutomationRunView::gridFollowsThePlan()
{
    {
        auto view = sheet(planWith({}, {QStringLiteral("Start")}), iosProject());
        QCOMPARE(view->findChildren<QWidget *>(QStringLiteral("languageCard")).size(), 0);
        QVERIFY(view->badges(0).isEmpty());
    }
    {
        auto view = sheet(planWith({QStringLiteral("en-US"), QStringLiteral("fr")}, {}), iosProject());
        const QList<QWidget *> cards = view->findChildren<QWidget *>(QStringLiteral("languageCard"));
        QCOMPARE(cards.size(), 2);
        // A language without shots: only its label.
        QVERIFY(view->badges(0).isEmpty());
        QCOMPARE(cards.at(0)->findChildren<NodeBadge *>().size(), 0);
        QCOMPARE(cards.at(0)->findChild<QLabel *>(QStringLiteral("languageName"))->text().endsWith(u"(en-US)"), true);
    }
    {
        auto view = sheet(planWith({QStringLiteral("de-DE")}, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}),
                          iosProject());
        // The first cell has no connector.
        QCOMPARE(view->badges(0).size(), 3);
        QCOMPARE(view->connectors(0).size(), 2);
        QCOMPARE(child<QLabel>(view.get(), "runTitle")->text(), QStringLiteral("Automation · Demo"));
        QCOMPARE(child<QLabel>(view.get(), "phaseText")->text(), QStringLiteral("Bereit."));
        QCOMPARE(child<SymbolLabel>(view.get(), "phaseIcon")->symbolName(), QStringLiteral("camera.viewfinder"));
        QVERIFY(child<QPushButton>(view.get(), "finishButton")->isVisibleTo(view.get()));
        QVERIFY(!child<QProgressBar>(view.get(), "runProgress")->isVisibleTo(view.get()));
        QVERIFY(view->minimumWidth() >= 620 && view->minimumHeight() >= 540);
    }
}

void TestAutomationRunView::logPane()
{
    auto view = sheet(planWith({QStringLiteral("en")}, {QStringLiteral("A")}), iosProject());
    auto *toggle = child<QPushButton>(view.get(), "logToggle");
    auto *log = child<ThrottledLogView>(view.get(), "runLog");
    QCOMPARE(toggle->text(), QStringLiteral("Protokoll"));
    QVERIFY(!log->isVisibleTo(view.get()));

    toggle->click();
    QCOMPARE(toggle->text(), QStringLiteral("Protokoll aus"));
    QVERIFY(log->isVisibleTo(view.get()));
    QCOMPARE(log->height(), 160);
    QVERIFY(log->shownLines().isEmpty());
    QCOMPARE(log->placeholderText(), QStringLiteral("Noch keine Ausgabe…"));

    toggle->click();
    QCOMPARE(toggle->text(), QStringLiteral("Protokoll"));
    QVERIFY(!log->isVisibleTo(view.get()));
}

void TestAutomationRunView::wheelTarget_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("target");   // -1: the wheel goes on to the grid

    QTest::newRow("nothing to scroll") << 0 << 0 << -120 << -1;
    QTest::newRow("towards the end") << 0 << 500 << -118 << 118;
    QTest::newRow("stops at the end") << 450 << 500 << -118 << 500;
    QTest::newRow("at the end, further on") << 500 << 500 << -118 << -1;
    QTest::newRow("at the end, back") << 500 << 500 << 118 << 382;
    QTest::newRow("at the start, back") << 0 << 500 << 118 << -1;
    QTest::newRow("stops at the start") << 40 << 500 << 118 << 0;
    QTest::newRow("no movement") << 40 << 500 << 0 << -1;
}

void TestAutomationRunView::wheelTarget()
{
    QFETCH(int, value);
    QFETCH(int, maximum);
    QFETCH(int, delta);
    QFETCH(int, target);
    QCOMPARE(NodeChainView::wheelTarget(value, maximum, delta).value_or(-1), target);
}

void TestAutomationRunView::wheelReachesEveryCell_data()
{
    QTest::addColumn<QPoint>("towardsEnd");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("gridTakesOver");
    QTest::newRow("vertical wheel") << QPoint(0, -120) << Qt::KeyboardModifiers(Qt::NoModifier) << true;
    QTest::newRow("Shift+wheel") << QPoint(0, -120) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("Alt+wheel") << QPoint(0, -120) << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    // The grid has nothing to scroll sideways.
    QTest::newRow("tilt wheel") << QPoint(-120, 0) << Qt::KeyboardModifiers(Qt::NoModifier) << false;
}

void TestAutomationRunView::wheelReachesEveryCell()
{
    QFETCH(QPoint, towardsEnd);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, gridTakesOver);
    // Without a bundle identifier the run fails at once: the grid stands still.
    auto view = sheet(planWith({QStringLiteral("de-DE"), QStringLiteral("en-US"), QStringLiteral("fr-FR")}, shotNames(10)),
                      iosProject(false));
    view->resize(680, 600);
    view->setShowLog(true);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QScrollBar *grid = child<QScrollArea>(view.get(), "nodeGrid")->verticalScrollBar();
    QVERIFY(grid->maximum() > 0);

    NodeChainView *chain = view->chainView(1);
    QScrollBar *sideways = chain->horizontalScrollBar();
    const QList<NodeBadge *> cells = view->badges(1);
    QCOMPARE(cells.size(), 10);
    // Shot 6 on is out of sight at the sheet's size, the cut-off edge fades.
    QVERIFY(sideways->maximum() > 0);
    QVERIFY(!wholeInView(chain, cells.at(5)) && !wholeInView(chain, cells.last()));
    QVERIFY(!chain->fadesLeading() && chain->fadesTrailing());

    // Towards the end: the chain moves, the grid stays, until the last cell is in view.
    int notches = 0;
    while (sideways->value() < sideways->maximum() && notches < 30) {
        const int before = sideways->value();
        turnWheel(chain->viewport(), towardsEnd, modifiers);
        ++notches;
        QVERIFY(sideways->value() > before);
        QCOMPARE(grid->value(), 0);
        if (sideways->value() < sideways->maximum())
            QVERIFY(chain->fadesLeading() && chain->fadesTrailing());
    }
    QCOMPARE(sideways->value(), sideways->maximum());
    QVERIFY(wholeInView(chain, cells.last()));
    QVERIFY(chain->fadesLeading() && !chain->fadesTrailing());
    QVERIFY(notches <= 10);

    // At its end the wheel scrolls the grid as before; the other chains have not moved.
    turnWheel(chain->viewport(), towardsEnd, modifiers);
    QCOMPARE(sideways->value(), sideways->maximum());
    QCOMPARE(grid->value() > 0, gridTakesOver);
    QCOMPARE(view->chainView(0)->horizontalScrollBar()->value(), 0);
    QCOMPARE(view->chainView(2)->horizontalScrollBar()->value(), 0);

    // The other way the chain comes back first.
    const int gridValue = grid->value();
    turnWheel(chain->viewport(), -towardsEnd, modifiers);
    QVERIFY(sideways->value() < sideways->maximum());
    QCOMPARE(grid->value(), gridValue);
}

void TestAutomationRunView::wheelOverAShortChainScrollsTheGrid()
{
    const QStringList languages{QStringLiteral("de-DE"), QStringLiteral("en-US"), QStringLiteral("fr-FR"),
                                QStringLiteral("es-ES"), QStringLiteral("it-IT")};
    auto view = sheet(planWith(languages, shotNames(2)), iosProject(false));
    view->resize(680, 600);
    view->setShowLog(true);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QScrollBar *grid = child<QScrollArea>(view.get(), "nodeGrid")->verticalScrollBar();
    QVERIFY(grid->maximum() > 0);
    NodeChainView *chain = view->chainView(0);
    QCOMPARE(chain->horizontalScrollBar()->maximum(), 0);
    QVERIFY(!chain->fadesLeading() && !chain->fadesTrailing());
    turnWheel(chain->viewport(), QPoint(0, -120));
    QVERIFY(grid->value() > 0);
}

void TestAutomationRunView::nothingOverlapsAtAnyAllowedSize()
{
    auto view = sheet(planWith({QStringLiteral("de-DE"), QStringLiteral("en-US"), QStringLiteral("fr-FR")}, shotNames(10)),
                      iosProject(false));
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QCOMPARE(view->session()->phase().kind, Kind::Failed);
    for (const bool log : {false, true}) {
        view->setShowLog(log);
        QApplication::processEvents();
        const QSize minimum = view->minimumSize();
        QVERIFY(minimum.width() >= 620 && minimum.height() >= 540);
        for (const QSize &size : {minimum, minimum + QSize(0, 41), minimum + QSize(250, 120)}) {
            view->resize(size);
            QApplication::processEvents();
            QCOMPARE(view->size(), size);
            const QStringList faults = LayoutProbe::faults(view.get());
            if (!faults.isEmpty())
                qWarning() << size << faults;
            QVERIFY(faults.isEmpty());
        }
    }
}

void TestAutomationRunView::gridScrollBarIsTheSharedSlimBar()
{
    auto view = sheet(planWith({QStringLiteral("de-DE"), QStringLiteral("en-US"), QStringLiteral("fr-FR")}, shotNames(10)),
                      iosProject(false));
    view->resize(680, 600);
    view->setShowLog(true);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QScrollBar *bar = child<QScrollArea>(view.get(), "nodeGrid")->verticalScrollBar();
    QVERIFY(bar->isVisible());
    QVERIFY(isSlimBar(bar, AppStyle::scrollBarExtent));
}

void TestAutomationRunView::runShowsEveryPhaseInOrder()
{
    auto view = sheet(planWith({QStringLiteral("en-US"), QStringLiteral("de-DE")},
                               {QStringLiteral("Start"), QStringLiteral("Detail"), QStringLiteral("Settings")}),
                      iosProject());
    ScreenshotRunSession *session = view->session();
    auto *phaseText = child<QLabel>(view.get(), "phaseText");
    auto *progress = child<QProgressBar>(view.get(), "runProgress");

    // Checked after every change the sheet reacted to (its own connections come first).
    QStringList texts{phaseText->text()};
    bool progressSeen = false;
    int invariantFaults = 0;
    const auto check = [&] {
        if (texts.last() != phaseText->text())
            texts << phaseText->text();
        const bool running = session->phase().kind == Kind::Running;
        if (progress->isVisibleTo(view.get()) != (running && session->doneCount() > 0))
            ++invariantFaults;
        progressSeen = progressSeen || progress->isVisibleTo(view.get());
        for (int language = 0; language < 2; ++language) {
            const QList<NodeBadge *> badges = view->badges(language);
            const QList<NodeConnector *> connectors = view->connectors(language);
            for (int i = 1; i < badges.size(); ++i) {
                if (connectors.at(i - 1)->isFilled() != (badges.at(i - 1)->state() == RunNodeState::Done))
                    ++invariantFaults;
            }
        }
    };
    connect(session, &ScreenshotRunSession::phaseChanged, this, check);
    connect(session, &ScreenshotRunSession::nodesChanged, this, check);
    connect(session, &ScreenshotRunSession::importedCountChanged, this, check);

    view->show();   // starts the run
    QCOMPARE(session->phase().kind, Kind::Running);
    QVERIFY(child<BusyIndicator>(view.get(), "phaseBusy")->isVisible());
    QVERIFY(child<QPushButton>(view.get(), "cancelRunButton")->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(session->phase().kind, Kind::Done, runTimeoutMs);

    QStringList expected{QStringLiteral("Bereit."),
                         QStringLiteral("App und Runner werden gebaut und im Simulator gestartet…")};
    for (int done = 1; done <= 6; ++done)
        expected << QStringLiteral("Nimmt auf — %1 von 6 Screenshots fertig.").arg(done);
    expected << QStringLiteral("Fertig — 6 Screenshots liegen jetzt unter „Vorbereitet“ und erscheinen in Medien.");
    QCOMPARE(texts, expected);
    QVERIFY(progressSeen);
    QCOMPARE(invariantFaults, 0);

    QCOMPARE(badgeStates(*view, 1), (QList<RunNodeState>{RunNodeState::Done, RunNodeState::Done, RunNodeState::Done}));
    for (NodeConnector *connector : view->connectors(0))
        QCOMPARE(connector->color(), RunSheetState::connectorColor(RunNodeState::Done));
    QVERIFY(!progress->isVisible());
    QCOMPARE(child<SymbolLabel>(view.get(), "phaseIcon")->symbolName(), QStringLiteral("checkmark.circle.fill"));
    QVERIFY(!child<QPushButton>(view.get(), "cancelRunButton")->isVisible());

    // The log holds the run's output once opened.
    child<QPushButton>(view.get(), "logToggle")->click();
    auto *log = child<ThrottledLogView>(view.get(), "runLog");
    QVERIFY(!log->hasPendingLines());
    QCOMPARE(log->shownLines(), session->recentLines());
    QApplication::processEvents();
    QVERIFY(overflows(*log));
    QCOMPARE(bottomVisibleLine(*log), session->recentLines().last());

    // "Fertig" dismisses the sheet.
    QPushButton *finish = child<QPushButton>(view.get(), "finishButton");
    QVERIFY(finish->isVisible());
    finish->click();
    QVERIFY(!view->isVisible());
    QCOMPARE(session->phase().kind, Kind::Done);
}

void TestAutomationRunView::failedRunWithRepeatedShotNames()
{
    // The third shot fails in the first language; its node is the second "Detail" node.
    qputenv("VELORANCE_STANDIN_FAIL_AT", "en-US:2");
    auto view = sheet(planWith({QStringLiteral("en-US"), QStringLiteral("de-DE")},
                               {QStringLiteral("Start"), QStringLiteral("Detail"), QStringLiteral("Detail")}),
                      iosProject());
    view->show();
    QTRY_COMPARE_WITH_TIMEOUT(view->session()->phase().kind, Kind::Failed, runTimeoutMs);

    QCOMPARE(view->session()->nodes().at(2).state, RunNodeState::Failed);
    // Both "Detail" cells show the first "Detail" node.
    QCOMPARE(badgeStates(*view, 0), (QList<RunNodeState>{RunNodeState::Done, RunNodeState::Done, RunNodeState::Done}));
    QCOMPARE(badgeStates(*view, 1),
             (QList<RunNodeState>{RunNodeState::Pending, RunNodeState::Pending, RunNodeState::Pending}));
    QVERIFY(view->connectors(0).at(1)->isFilled());
    QVERIFY(!view->connectors(1).at(0)->isFilled());

    QCOMPARE(child<QLabel>(view.get(), "phaseText")->text(),
             QStringLiteral("Lauf fehlgeschlagen (Code 65). Siehe Protokoll."));
    QCOMPARE(child<SymbolLabel>(view.get(), "phaseIcon")->symbolName(), QStringLiteral("xmark.octagon.fill"));
    auto *restart = child<QPushButton>(view.get(), "restartButton");
    QVERIFY(restart->isVisible() && restart->isEnabled());
    QVERIFY(child<QPushButton>(view.get(), "dismissButton")->isVisible());
    QVERIFY(!child<QPushButton>(view.get(), "finishButton")->isVisible());

    // "Erneut starten" runs the same session again, from the states the failed attempt left.
    qunsetenv("VELORANCE_STANDIN_FAIL_AT");
    restart->click();
    QCOMPARE(view->session()->phase().kind, Kind::Running);
    QCOMPARE(badgeStates(*view, 0), (QList<RunNodeState>{RunNodeState::Done, RunNodeState::Done, RunNodeState::Done}));
    QTRY_COMPARE_WITH_TIMEOUT(view->session()->phase().kind, Kind::Done, runTimeoutMs);
    QCOMPARE(badgeStates(*view, 1), (QList<RunNodeState>{RunNodeState::Done, RunNodeState::Done, RunNodeState::Done}));
}

void TestAutomationRunView::goingAwayWhileRunningCancels_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("Abbrechen") << QStringLiteral("cancel");
    QTest::newRow("close button") << QStringLiteral("close");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("presenter closes it") << QStringLiteral("presenter");
    QTest::newRow("presenter hides it") << QStringLiteral("hide");
    QTest::newRow("destroyed") << QStringLiteral("destroy");
}

void TestAutomationRunView::goingAwayWhileRunningCancels()
{
    QFETCH(QString, path);
    const QString pidFile = m_run.support->filePath(QStringLiteral("runner.pid"));
    qputenv("VELORANCE_STANDIN_PIDFILE", pidFile.toUtf8());
    qputenv("VELORANCE_STANDIN_SHOT_DELAY", "1");
    auto view = sheet(planWith({QStringLiteral("en-US")}, {QStringLiteral("Start"), QStringLiteral("Detail")}),
                      iosProject());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    ScreenshotRunSession *session = view->session();
    QTRY_VERIFY_WITH_TIMEOUT(session->nodes().first().state == RunNodeState::Running, runTimeoutMs);
    QTRY_VERIFY(!readAll(pidFile).trimmed().isEmpty());
    const qint64 pid = readAll(pidFile).trimmed().toLongLong();

    if (path == u"cancel") {
        child<QPushButton>(view.get(), "cancelRunButton")->click();
    } else if (path == u"close") {
        child<QToolButton>(view.get(), "closeButton")->click();
    } else if (path == u"escape") {
        QTest::keyClick(view.get(), Qt::Key_Escape);
    } else if (path == u"presenter") {
        view->close();
    } else if (path == u"hide") {
        view->hide();
    } else {
        view.reset();
        QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 5000);
        return;
    }

    QCOMPARE(session->phase(), Phase::failed(QStringLiteral("Abgebrochen.")));
    QCOMPARE(child<QLabel>(view.get(), "phaseText")->text(), QStringLiteral("Abgebrochen."));
    QCOMPARE(badgeStates(*view, 0), (QList<RunNodeState>{RunNodeState::Failed, RunNodeState::Pending}));
    QCOMPARE(view->isVisible(), path == u"cancel");
    if (path == u"cancel") {
        QVERIFY(child<QPushButton>(view.get(), "restartButton")->isVisible());
        QVERIFY(!child<QPushButton>(view.get(), "cancelRunButton")->isVisible());
        QVERIFY(!child<QProgressBar>(view.get(), "runProgress")->isVisible());
    }
    QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 5000);
}

void TestAutomationRunView::restartNeedsBundleIdentifier()
{
    auto view = sheet(planWith({QStringLiteral("en-US")}, {QStringLiteral("Start")}), iosProject(false));
    view->show();
    QCOMPARE(view->session()->phase().kind, Kind::Failed);
    QCOMPARE(child<QLabel>(view.get(), "phaseText")->text(), QStringLiteral("Dem Projekt fehlt .xcodeproj oder Bundle-ID."));
    auto *restart = child<QPushButton>(view.get(), "restartButton");
    auto *dismiss = child<QPushButton>(view.get(), "dismissButton");
    QVERIFY(restart->isVisible() && !restart->isEnabled());
    QVERIFY(dismiss->isVisible() && dismiss->isEnabled());
    dismiss->click();
    QVERIFY(!view->isVisible());
}

// Writes a picture of a finished run of ten shots in three languages, the first chain scrolled
// to its last cell and the log open, for a look by eye; only when asked for.
void TestAutomationRunView::screenshot()
{
    const QString folder = qEnvironmentVariable("VELORANCE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set VELORANCE_SCREENSHOT_DIR to write screenshots");
    const QStringList names{QStringLiteral("Start"),     QStringLiteral("Tourenliste"), QStringLiteral("Karte"),
                            QStringLiteral("Details"),   QStringLiteral("Suche"),       QStringLiteral("Favoriten"),
                            QStringLiteral("Profil"),    QStringLiteral("Einstellungen"), QStringLiteral("Statistik"),
                            QStringLiteral("Teilen")};
    auto view = sheet(planWith({QStringLiteral("de-DE"), QStringLiteral("en-US"), QStringLiteral("fr-FR")}, names),
                      iosProject());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QTRY_COMPARE_WITH_TIMEOUT(view->session()->phase().kind, Kind::Done, runTimeoutMs);
    view->setShowLog(true);
    NodeChainView *chain = view->chainView(0);
    QScrollBar *sideways = chain->horizontalScrollBar();
    for (int notch = 0; notch < 12 && sideways->value() < sideways->maximum(); ++notch)
        turnWheel(chain->viewport(), QPoint(0, -120));
    QCOMPARE(sideways->value(), sideways->maximum());
    QTest::qWait(100);
    QVERIFY(view->grab().save(folder + QStringLiteral("/run-sheet.png")));
}

QTEST_MAIN(TestAutomationRunView)
#include "tst_automationrunview.moc"
