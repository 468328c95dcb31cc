#include "LayoutProbe.h"
#include "LogViewProbe.h"
#include "StandInCalls.h"
#include "tst_recorder_fixture.h"

#include <LaunchBanner.h>
#include <LocationSheetModel.h>
#include <RecorderModel.h>
#include <RecorderStepList.h>
#include <RecorderView.h>
#include <SimulatorLocationSheet.h>
#include <StepEditorRow.h>
#include <ThrottledLogView.h>

#include <AppStyle.h>
#include <LaneRunModel.h>
#include <SimulatorLocation.h>
#include <StepResolver.h>
#include <SymbolLabel.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTcpServer>
#include <QToolButton>

namespace {
template <typename T>
T *child(QWidget *root, const char *name)
{
    return root->findChild<T *>(QString::fromLatin1(name));
}
} // namespace

class TestRecorderView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_home.setUp();
        SimulatorLocation::setXcrunPath(QStringLiteral(VELORANCE_STANDIN_DIR "/xcrun"));
        // Dressed as the application dresses itself.
        AppStyle::install();
    }
    void cleanupTestCase() { m_home.tearDown(); }
    void init()
    {
        qputenv("PATH", QByteArray(VELORANCE_STANDIN_DIR) + ':' + m_home.savedPath);
        qunsetenv("VELORANCE_STANDIN_BUILD_FAIL");
        m_saved.clear();
    }

    void headerPlaceholderAndDisabledActions_data();
    void headerPlaceholderAndDisabledActions();
    void namesTheAppOfTheConfigurationChosen_data();
    void namesTheAppOfTheConfigurationChosen();
    void closingNeverSavesAndStopsEverything_data();
    void closingNeverSavesAndStopsEverything();
    void toolbarFollowsConnectionAndPause();
    void bindFailureHidesPauseAndCount();
    void failedLaunchBanner_data();
    void failedLaunchBanner();
    void sheetGrowsWithItsContent();
    void secondLaunchShowsProgressBar();
    void stepListUpdatesInPlaceAndDeletes();
    void saveFromFooter_data();
    void saveFromFooter();
    void chosenLocationIsSavedOnTheShot();
    void savingWaitsForTheResolver_data();
    void savingWaitsForTheResolver();
    void logViewAppliesOncePerFrame();
    void screenshot();

private:
    std::unique_ptr<RecorderView> makeView(const XcodeProject &project, std::optional<PlanLocation> initial = std::nullopt)
    {
        auto view = std::make_unique<RecorderView>(project, BuildConfiguration::Debug, QMap<QString, QString>{},
                                                   QStringList{}, initial,
                                                   [this](const Shot &shot) { m_saved.append(shot); });
        return view;
    }

    RecorderTestHome m_home;
    QList<Shot> m_saved;
};

void TestRecorderView::headerPlaceholderAndDisabledActions_data()
{
    QTest::addColumn<bool>("xcodeproj");
    QTest::addColumn<bool>("bundleID");
    QTest::newRow("complete") << true << true;
    QTest::newRow("no bundle identifier") << true << false;
    QTest::newRow("no xcodeproj") << false << true;
}

void TestRecorderView::headerPlaceholderAndDisabledActions()
{
    QFETCH(bool, xcodeproj);
    QFETCH(bool, bundleID);
    XcodeProject project = m_home.project(QStringLiteral("Demo"), bundleID);
    if (!xcodeproj)
        project.xcodeprojPath.reset();
    auto view = makeView(project);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));

    QVERIFY(view->minimumWidth() >= 560 && view->minimumHeight() >= 520);
    QCOMPARE(child<QLabel>(view.get(), "recorderTitle")->text(), QStringLiteral("Live-Recorder · Demo"));
    QCOMPARE(child<QToolButton>(view.get(), "recorderCloseButton")->toolTip(), QStringLiteral("Schließen (ohne zu speichern)"));
    QCOMPARE(child<QPushButton>(view.get(), "recorderStartButton")->isEnabled(), xcodeproj && bundleID);
    QCOMPARE(child<QCheckBox>(view.get(), "recorderStabilizeBox")->isEnabled(), bundleID);
    QVERIFY(!child<QPushButton>(view.get(), "recorderSaveButton")->isEnabled());
    QVERIFY(!child<QPushButton>(view.get(), "recorderClearButton")->isEnabled());
    QVERIFY(!view->launchBanner()->isVisible());

    QWidget *placeholder = child<QWidget>(view.get(), "recorderPlaceholder");
    QVERIFY(placeholder->isVisible());
    QLabel *bundleLabel = child<QLabel>(view.get(), "recorderPlaceholderBundleID");
    QCOMPARE(bundleLabel != nullptr, bundleID);
    if (bundleLabel)
        QCOMPARE(bundleLabel->text(), QStringLiteral("de.example.demo"));
    QCOMPARE(child<QLineEdit>(view.get(), "recorderShotNameField")->text(), QStringLiteral("home"));
    QCOMPARE(child<QLineEdit>(view.get(), "recorderShotNameField")->placeholderText(), QStringLiteral("Shot-Name"));
}

void TestRecorderView::namesTheAppOfTheConfigurationChosen_data()
{
    addConfigurationBuiltRows();
}

// The sheet names the app the launch starts, though the project shows its Release identifier.
void TestRecorderView::namesTheAppOfTheConfigurationChosen()
{
    QFETCH(QString, fixture);
    QFETCH(BuildConfiguration, configuration);
    QFETCH(QString, launched);
    const XcodeProject project = launchFixtureProject(fixture);

    RecorderView view(project, configuration, {}, {}, std::nullopt, [](const Shot &) {});
    QCOMPARE(child<QLabel>(&view, "recorderPlaceholderBundleID")->text(), launched);
}

void TestRecorderView::closingNeverSavesAndStopsEverything_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close button") << QStringLiteral("button");
    QTest::newRow("escape") << QStringLiteral("escape");
    QTest::newRow("window close") << QStringLiteral("close");
    QTest::newRow("destroyed") << QStringLiteral("destroy");
}

void TestRecorderView::closingNeverSavesAndStopsEverything()
{
    QFETCH(QString, how);
    qputenv("PATH", m_home.hangingToolsFolder().toUtf8() + ':' + QByteArray(VELORANCE_STANDIN_DIR) + ':' + m_home.savedPath);
    auto view = makeView(m_home.project(QStringLiteral("Closing")));
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    RecorderModel *model = view->model();
    QCOMPARE(model->listener()->status(), RecorderListener::Status::listening());
    QPointer<RecorderListener> listener = model->listener();
    model->addStep(ShotStep::Kind::Tap);

    QTest::mouseClick(child<QPushButton>(view.get(), "recorderStartButton"), Qt::LeftButton);
    QPointer<LaneRunModel> run = model->launchRun();
    QVERIFY(run && run->isRunning());
    QVERIFY(view->launchBanner()->isVisible());

    if (how == u"button") {
        QTest::mouseClick(child<QToolButton>(view.get(), "recorderCloseButton"), Qt::LeftButton);
    } else if (how == u"escape") {
        QTest::keyClick(view.get(), Qt::Key_Escape);
    } else if (how == u"close") {
        view->close();
    } else {
        view.reset();
    }

    QVERIFY(m_saved.isEmpty());
    if (view) {
        QVERIFY(!view->isVisible());
        QCOMPARE(view->result(), int(QDialog::Rejected));
        QCOMPARE(model->listener()->status(), RecorderListener::Status::idle());
        QVERIFY(run);
        QVERIFY(!run->isRunning());
        QVERIFY(!run->progress().exitCode);
    } else {
        QVERIFY(!run);
        QVERIFY(!listener);
    }
}

void TestRecorderView::toolbarFollowsConnectionAndPause()
{
    auto view = makeView(m_home.project());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    RecorderModel *model = view->model();
    auto *pause = child<QPushButton>(view.get(), "recorderPauseButton");
    auto *count = child<QWidget>(view.get(), "recorderStepCount");
    auto *statusLine = child<QLabel>(view.get(), "recorderStatusLine");
    auto *icon = child<SymbolLabel>(view.get(), "recorderStatusIcon");
    QVERIFY(!pause->isVisible());
    QVERIFY(count->isVisible());
    QCOMPARE(child<QLabel>(view.get(), "recorderStepCountText")->text(), QStringLiteral("0 Schritte"));
    QCOMPARE(icon->symbolName(), QStringLiteral("dot.radiowaves.left.and.right"));

    TapClient client;
    QVERIFY(client.connectTo(model->listener()));
    QVERIFY(pause->isVisible());
    QCOMPARE(pause->text(), QStringLiteral("Pause"));
    QCOMPARE(pause->toolTip(), QStringLiteral("Aufnahme pausieren (Sim weiter nutzbar, ohne aufzunehmen)"));
    QCOMPARE(statusLine->text(), QStringLiteral("Nimmt auf — jeder Tap im Simulator wird als Schritt gespeichert"));
    QCOMPARE(icon->symbolName(), QStringLiteral("record.circle.fill"));

    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("a")) + tapLine(QStringLiteral("b")), 2));
    QTRY_COMPARE(child<QLabel>(view.get(), "recorderStepCountText")->text(), QStringLiteral("2 Schritte"));
    QVERIFY(view->stepList()->isVisible());

    QTest::mouseClick(pause, Qt::LeftButton);
    QCOMPARE(pause->text(), QStringLiteral("Aufnahme"));
    QCOMPARE(pause->toolTip(), QStringLiteral("Aufnahme fortsetzen"));
    QCOMPARE(statusLine->text(), QStringLiteral("Angehalten — Taps im Simulator werden ignoriert"));
    QCOMPARE(icon->symbolName(), QStringLiteral("pause.circle.fill"));
    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("ignored")), 3));
    QTRY_COMPARE(model->consumed(), 3);
    QCOMPARE(model->steps().size(), 2);

    client.socket.disconnectFromHost();
    QTRY_VERIFY(!pause->isVisible());
}

void TestRecorderView::bindFailureHidesPauseAndCount()
{
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
    auto view = makeView(m_home.project());
    view->model()->listener()->setRequestedPort(taken.serverPort());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));

    const QString message = view->model()->listener()->status().message;
    QCOMPARE(child<QLabel>(view.get(), "recorderStatusLine")->text(), QStringLiteral("Listener-Fehler: ") + message);
    QCOMPARE(child<SymbolLabel>(view.get(), "recorderStatusIcon")->symbolName(), QStringLiteral("exclamationmark.triangle.fill"));
    QVERIFY(!child<QPushButton>(view.get(), "recorderPauseButton")->isVisible());
    QVERIFY(!child<QWidget>(view.get(), "recorderStepCount")->isVisible());
    // Hand-made steps still work.
    view->model()->addStep(ShotStep::Kind::Wait);
    QVERIFY(child<QPushButton>(view.get(), "recorderSaveButton")->isEnabled());
}

void TestRecorderView::failedLaunchBanner_data()
{
    QTest::addColumn<bool>("openWhileRunning");
    QTest::newRow("log opened after the failure") << false;
    QTest::newRow("log opened while it runs") << true;
}

void TestRecorderView::failedLaunchBanner()
{
    QFETCH(bool, openWhileRunning);
    qputenv("VELORANCE_STANDIN_BUILD_FAIL", "1");
    auto view = makeView(m_home.project(QStringLiteral("Broken")));
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QTest::mouseClick(child<QPushButton>(view.get(), "recorderStartButton"), Qt::LeftButton);

    LaunchBanner *banner = view->launchBanner();
    ThrottledLogView *log = banner->logView();
    auto *title = child<QLabel>(banner, "launchTitle");
    auto *logButton = child<QPushButton>(banner, "launchLogButton");
    QVERIFY(banner->isVisible());
    QCOMPARE(title->text(), QStringLiteral("App wird gebaut und im Simulator gestartet…"));
    QVERIFY(child<QPushButton>(banner, "launchCancelButton")->isVisible());
    QVERIFY(!child<QProgressBar>(banner, "launchProgressBar")->isVisible());
    QCOMPARE(logButton->text(), QStringLiteral("Protokoll"));
    QVERIFY(!log->isVisible());
    if (openWhileRunning) {
        QTRY_VERIFY_WITH_TIMEOUT(!log->shownLines().isEmpty(), 30000);
        QTest::mouseClick(logButton, Qt::LeftButton);
    }

    QTRY_COMPARE_WITH_TIMEOUT(title->text(), QStringLiteral("Start fehlgeschlagen (Code 65)"), 30000);
    QCOMPARE(child<SymbolLabel>(banner, "launchResultIcon")->symbolName(), QStringLiteral("xmark.octagon.fill"));
    QVERIFY(!child<QPushButton>(banner, "launchCancelButton")->isVisible());
    auto *hide = child<QToolButton>(banner, "launchHideButton");
    QVERIFY(hide->isVisible());
    QCOMPARE(hide->toolTip(), QStringLiteral("Ausblenden"));

    if (!openWhileRunning)
        QTest::mouseClick(logButton, Qt::LeftButton);
    QCOMPARE(logButton->text(), QStringLiteral("Protokoll aus"));
    QVERIFY(log->isVisible());
    QCOMPARE(log->height(), 150);
    // The failure is in view, not the run's first lines.
    QTRY_VERIFY(!log->hasPendingLines());
    QApplication::processEvents();
    QVERIFY(log->shownLines().contains(QStringLiteral("** BUILD FAILED **")));
    QVERIFY(overflows(*log));
    QCOMPARE(bottomVisibleLine(*log), log->shownLines().last());

    QTest::mouseClick(hide, Qt::LeftButton);
    QVERIFY(!banner->isVisible());
    QVERIFY(!view->model()->launchRun());
}

void TestRecorderView::sheetGrowsWithItsContent()
{
    qputenv("VELORANCE_STANDIN_BUILD_FAIL", "1");
    auto view = makeView(m_home.project(QStringLiteral("Squeezed")));
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    const QSize bare = view->minimumSize();
    QVERIFY(bare.width() >= 560 && bare.height() >= 520);

    // Every size the sheet allows, from its minimum up: nothing drawn over anything else.
    const auto checkSizes = [&view](const char *state) {
        const QSize minimum = view->minimumSize();
        for (const QSize &size : {minimum, minimum + QSize(0, 37), minimum + QSize(180, 0), minimum + QSize(300, 200)}) {
            view->resize(size);
            QApplication::processEvents();
            QCOMPARE(view->size(), size);
            const QStringList faults = LayoutProbe::faults(view.get());
            if (!faults.isEmpty())
                qWarning() << state << size << faults;
            QVERIFY(faults.isEmpty());
        }
        // Smaller is not allowed.
        view->resize(minimum - QSize(40, 40));
        QApplication::processEvents();
        QCOMPARE(view->size(), minimum);
    };
    checkSizes("placeholder");
    if (QTest::currentTestFailed())
        return;
    QVERIFY(child<QLabel>(view.get(), "recorderPlaceholderBundleID")->isVisible());

    // The failed launch with its log open: the sheet's minimum grows, the log shows whole.
    QTest::mouseClick(child<QPushButton>(view.get(), "recorderStartButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!view->model()->launchRun()->isRunning(), 30000);
    QTest::mouseClick(child<QPushButton>(view->launchBanner(), "launchLogButton"), Qt::LeftButton);
    QApplication::processEvents();
    QVERIFY(view->minimumHeight() > bare.height());
    checkSizes("banner with log");
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(view->launchBanner()->logView()->height(), 150);
    // At the smallest size the placeholder keeps its padding of 32 above and below.
    auto *placeholder = child<QWidget>(view.get(), "recorderPlaceholder");
    const QList<QWidget *> columns = placeholder->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(columns.size(), 1);
    QVERIFY(columns.first()->y() >= 32);
    QVERIFY(placeholder->height() - columns.first()->geometry().bottom() - 1 >= 32);

    // The same with recorded steps in place of the placeholder.
    for (int i = 0; i < 3; ++i)
        view->model()->addStep(ShotStep::Kind::Tap);
    QApplication::processEvents();
    checkSizes("steps with log");
    if (QTest::currentTestFailed())
        return;

    // Hiding the banner gives the room back.
    QTest::mouseClick(child<QToolButton>(view->launchBanner(), "launchHideButton"), Qt::LeftButton);
    QApplication::processEvents();
    QCOMPARE(view->minimumSize(), bare);
    checkSizes("steps");
    if (QTest::currentTestFailed())
        return;
}

void TestRecorderView::secondLaunchShowsProgressBar()
{
    auto view = makeView(m_home.project(QStringLiteral("Bar")));
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    auto *start = child<QPushButton>(view.get(), "recorderStartButton");
    auto *bar = child<QProgressBar>(view->launchBanner(), "launchProgressBar");

    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(view->launchBanner()->isVisible());
    QVERIFY(!bar->isVisible());
    // The stand-in app connects when the launch is through; the banner goes away by itself.
    QTRY_VERIFY_WITH_TIMEOUT(view->model()->listener()->isConnected(), 30000);
    QVERIFY(!view->launchBanner()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(BuildStepMemory::expected(QStringLiteral("Recorder: Bar")).has_value(), 30000);

    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(view->launchBanner()->isVisible());
    QVERIFY(bar->isVisible());
    QVERIFY(bar->maximumWidth() <= 320);
    QTRY_VERIFY_WITH_TIMEOUT(!view->model()->launchRun() || !view->model()->launchRun()->isRunning(), 30000);
    view->reject();
}

void TestRecorderView::stepListUpdatesInPlaceAndDeletes()
{
    auto view = makeView(m_home.project());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    RecorderModel *model = view->model();
    auto *menu = child<QMenu>(view.get(), "recorderAddStepMenu");
    QStringList titles;
    for (QAction *action : menu->actions())
        titles.append(action->text());
    QCOMPARE(titles, (QStringList{"Tippen", "Text eingeben", "Warten", "Wischen"}));

    menu->actions().at(0)->trigger();
    menu->actions().at(2)->trigger();
    RecorderStepList *list = view->stepList();
    QVERIFY(list->isVisible());
    QCOMPARE(list->rowCount(), 2);
    const QUuid tapID = model->steps().at(0).id;
    StepEditorRow *tapRow = list->row(tapID);
    QVERIFY(tapRow);

    // Inserting and editing keep the existing row widgets.
    model->insertWait(tapID, StepListEditing::WaitPlacement::Before);
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(list->row(tapID), tapRow);
    QCOMPARE(list->shownOrder().at(1), tapID);
    model->setStep(tapID, ShotStep::tap(QStringLiteral("edited"), QString()));
    QCOMPARE(list->row(tapID), tapRow);
    model->moveSteps({1}, 3);
    QCOMPARE(list->shownOrder().last(), tapID);
    QCOMPARE(list->row(tapID), tapRow);

    // Dropping a dragged row below the last one moves it to the end.
    QCoreApplication::processEvents();
    const QUuid firstID = list->shownOrder().first();
    auto *mime = new QMimeData;
    mime->setData(QString::fromLatin1(RecorderStepList::mimeType), firstID.toByteArray(QUuid::WithoutBraces));
    const QPointF below(20, list->viewport()->height() - 2);
    QDragEnterEvent enter(below.toPoint(), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(below, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &drop);
    QCOMPARE(model->steps().last().id, firstID);
    QCOMPARE(list->shownOrder().last(), firstID);
    delete mime;

    list->selectRow(int(list->shownOrder().indexOf(tapID)));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(model->steps().size(), 2);
    QVERIFY(!model->step(tapID));
    QTRY_COMPARE(list->rowCount(), 2);

    QTest::mouseClick(child<QPushButton>(view.get(), "recorderClearButton"), Qt::LeftButton);
    QVERIFY(model->steps().isEmpty());
    QVERIFY(child<QWidget>(view.get(), "recorderPlaceholder")->isVisible());
}

void TestRecorderView::saveFromFooter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QStringLiteral("shot");
    QTest::newRow("two blanks") << QStringLiteral("  ") << QStringLiteral("  ");
    QTest::newRow("name") << QStringLiteral("Startseite") << QStringLiteral("Startseite");
}

void TestRecorderView::saveFromFooter()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    auto view = makeView(m_home.project());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    view->model()->addStep(ShotStep::Kind::Tap);
    auto *field = child<QLineEdit>(view.get(), "recorderShotNameField");
    field->clear();
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(view->isVisible());
    QVERIFY(m_saved.isEmpty());

    QTest::mouseClick(child<QPushButton>(view.get(), "recorderSaveButton"), Qt::LeftButton);
    QCOMPARE(m_saved.size(), 1);
    QCOMPARE(m_saved.first().name, expected);
    QVERIFY(!view->isVisible());
    QCOMPARE(view->result(), int(QDialog::Accepted));
    QCOMPARE(view->model()->listener()->status(), RecorderListener::Status::idle());
}

void TestRecorderView::chosenLocationIsSavedOnTheShot()
{
    auto view = makeView(m_home.project());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    auto *button = child<QPushButton>(view.get(), "recorderLocationButton");
    QCOMPARE(button->text(), QStringLiteral("Standort"));
    QTest::mouseClick(button, Qt::LeftButton);
    SimulatorLocationSheet *sheet = view->locationSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->model()->latitude(), 37.3349);
    QCOMPARE(sheet->model()->longitude(), -122.009);

    sheet->model()->setLatitude(52.52);
    sheet->model()->setLongitude(13.405);
    sheet->model()->apply();
    QTRY_COMPARE_WITH_TIMEOUT(view->model()->location(), std::optional<PlanLocation>(PlanLocation{52.52, 13.405}), 10000);
    sheet->close();

    view->model()->addStep(ShotStep::Kind::Tap);
    QTest::mouseClick(child<QPushButton>(view.get(), "recorderSaveButton"), Qt::LeftButton);
    QCOMPARE(m_saved.size(), 1);
    QCOMPARE(m_saved.first().location, std::optional<PlanLocation>(PlanLocation{52.52, 13.405}));
}

void TestRecorderView::savingWaitsForTheResolver_data()
{
    QTest::addColumn<bool>("closeWhileResolving");
    QTest::newRow("resolver finishes") << false;
    QTest::newRow("closed while resolving") << true;
}

void TestRecorderView::savingWaitsForTheResolver()
{
    QFETCH(bool, closeWhileResolving);
    qputenv("VELORANCE_STANDIN_TREE", VELORANCE_TEST_DATA_DIR "/driver/login-screen.txt");
    auto view = makeView(m_home.project());
    view->model()->resolver()->setXcrunPath(QStringLiteral(VELORANCE_STANDIN_DIR "/xcrun"));
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    TapClient client;
    QVERIFY(client.connectTo(view->model()->listener()));
    QVERIFY(client.send(view->model()->listener(), tapLine(QString(), QStringLiteral("Anmelden"), 0.5, 0.14), 1));
    QTRY_COMPARE(view->model()->steps().size(), 1);

    QTest::mouseClick(child<QCheckBox>(view.get(), "recorderStabilizeBox"), Qt::LeftButton);
    QVERIFY(view->model()->stabilize());
    auto *save = child<QPushButton>(view.get(), "recorderSaveButton");
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(view->model()->resolver()->isRunning());
    QVERIFY(view->isVisible());
    QVERIFY(!save->isEnabled());
    QVERIFY(!child<QPushButton>(view.get(), "recorderPauseButton")->isEnabled());
    QVERIFY(child<QLabel>(view.get(), "recorderResolverMessage")->isVisible());
    QVERIFY(child<QLabel>(view.get(), "recorderResolverMessage")->text().startsWith(QStringLiteral("XCUITest-Treiber")));

    if (closeWhileResolving)
        QTest::mouseClick(child<QToolButton>(view.get(), "recorderCloseButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!view->model()->resolver()->isRunning(), 60000);
    QTest::qWait(50);
    if (closeWhileResolving) {
        QVERIFY(m_saved.isEmpty());
        QCOMPARE(view->result(), int(QDialog::Rejected));
    } else {
        QCOMPARE(m_saved.size(), 1);
        QCOMPARE(m_saved.first().steps.size(), 1);
        QCOMPARE(view->result(), int(QDialog::Accepted));
    }
    QVERIFY(!view->isVisible());
}

void TestRecorderView::logViewAppliesOncePerFrame()
{
    ThrottledLogView log;
    log.setFixedSize(400, 150);
    log.show();
    QVERIFY(QTest::qWaitForWindowExposed(&log));

    QStringList lines;
    for (int i = 0; i < 500; ++i) {
        lines.append(QStringLiteral("line %1").arg(i));
        log.setLines(lines);
    }
    QCOMPARE(log.appliedUpdates(), 0);
    QTRY_COMPARE(log.appliedUpdates(), 1);
    QCOMPARE(log.shownLines(), lines);
    QScrollBar *bar = log.verticalScrollBar();
    QCOMPARE(bar->value(), bar->maximum());

    // Scrolled up by the user: new lines do not pull the view down.
    bar->setValue(10);
    lines.append(QStringLiteral("newest"));
    log.setLines(lines);
    QTRY_COMPARE(log.appliedUpdates(), 2);
    QCOMPARE(bar->value(), 10);

    bar->setValue(bar->maximum());
    lines = QStringList{QStringLiteral("fresh start")};
    log.setLines(lines);
    QTRY_COMPARE(log.appliedUpdates(), 3);
    QCOMPARE(log.toPlainText(), QStringLiteral("fresh start"));
}

// Writes a picture of the sheet with a failed launch and its log open, for a look by eye;
// only when asked for.
void TestRecorderView::screenshot()
{
    const QString folder = qEnvironmentVariable("VELORANCE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set VELORANCE_SCREENSHOT_DIR to write screenshots");
    qputenv("VELORANCE_STANDIN_BUILD_FAIL", "1");
    auto view = makeView(m_home.project(QStringLiteral("Gipfelbuch")));
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QTest::mouseClick(child<QPushButton>(view.get(), "recorderStartButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!view->model()->launchRun()->isRunning(), 30000);
    QTest::mouseClick(child<QPushButton>(view->launchBanner(), "launchLogButton"), Qt::LeftButton);
    QTest::qWait(100);
    QVERIFY(view->grab().save(folder + QStringLiteral("/recorder.png")));
    view->reject();
}

QTEST_MAIN(TestRecorderView)
#include "tst_recorderview.moc"
