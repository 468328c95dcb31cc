#include "StandInRunHome.h"

#include <AppPaths.h>
#include <AutomationRunView.h>
#include <PlanEditorModel.h>
#include <PlanEditorSheets.h>
#include <RecorderModel.h>
#include <RecorderView.h>
#include <SimulatorLocationSheet.h>
#include <ScreenshotRunSession.h>
#include <ShotPlanEditorView.h>
#include <ShotStore.h>
#include <Spring.h>
#include <UserDefaults.h>
#include <Uuid.h>
#include <XcodeProjectInspector.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Kind = ScreenshotRunSession::Phase::Kind;

namespace {
constexpr int runTimeoutMs = 60000;

// The sheets open synchronously from the model's flags.
template<typename T>
T *visibleChild(QObject *parent)
{
    for (T *candidate : parent->findChildren<T *>()) {
        if (candidate->isVisible())
            return candidate;
    }
    return nullptr;
}
} // namespace

class TestEndToEnd final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { m_run.reset(); }
    void cleanupTestCase() { m_run.tearDown(); }

    void sheetsFollowTheEditorFlags();
    void recordAShotAndRunItsLane();

private:
    XcodeProject wanderlust();
    std::unique_ptr<ShotPlanEditorView> showEditor(const XcodeProject &project);

    StandInRunHome m_run;
};

void TestEndToEnd::initTestCase()
{
    m_run.setUp();
    // The stand-in app taps quickly and leaves soon.
    qputenv("VELORANCE_STANDIN_TAP_DELAY", "0.05");
    qputenv("VELORANCE_STANDIN_APP_LINGER", "1");
    Motion::setAnimationsEnabled(false);
}

// A copy of a small iOS app with English and German localisations and a fastlane folder,
// described as the project scan would describe it.
XcodeProject TestEndToEnd::wanderlust()
{
    const QDir source(QStringLiteral(VELORANCE_TEST_DATA_DIR "/wanderlust"));
    const QString folder = m_run.projects->filePath(QStringLiteral("Wanderlust"));
    for (const QString &file : {QStringLiteral("Wanderlust.xcodeproj/project.pbxproj"),
                                QStringLiteral("Wanderlust/WanderlustApp.swift"), QStringLiteral("fastlane/Fastfile")}) {
        if (!writeAll(QDir(folder).filePath(file), readAll(source.filePath(file))))
            qWarning("could not copy %s", qPrintable(file));
    }

    const QString xcodeproj = folder + QStringLiteral("/Wanderlust.xcodeproj");
    const QString pbxproj = XcodeProjectInspector::readProjectFile(xcodeproj);
    XcodeProject project;
    project.id = folder;
    project.name = QStringLiteral("Wanderlust");
    project.url = folder;
    project.xcodeprojPath = xcodeproj;
    project.bundleIdentifier = XcodeProjectInspector::applicationBundleIdentifier(pbxproj);
    project.hasFastlane = true;
    project.fastlaneDirectory = folder + QStringLiteral("/fastlane");
    return project;
}

std::unique_ptr<ShotPlanEditorView> TestEndToEnd::showEditor(const XcodeProject &project)
{
    auto editor = std::make_unique<ShotPlanEditorView>(project);
    editor->resize(900, 700);
    editor->show();
    if (!QTest::qWaitForWindowExposed(editor.get()))
        qWarning("editor not exposed");
    return editor;
}

void TestEndToEnd::sheetsFollowTheEditorFlags()
{
    const XcodeProject project = wanderlust();
    auto editor = showEditor(project);
    PlanEditorModel *model = editor->model();
    QVERIFY(model->hasLoaded());
    model->addLane();
    ScreenshotPlan plan = model->plan();
    plan.launchVariables = {LaunchVariable{Uuid::make(), QStringLiteral("  KEY "), QStringLiteral("1")},
                            LaunchVariable{Uuid::make(), QStringLiteral(" "), QStringLiteral("x")}};
    plan.launchArguments = {QStringLiteral("-a  b")};
    plan.location = PlanLocation{52.52, 13.405};
    model->setPlan(plan);
    PlanEditorSheets *sheets = PlanEditorSheets::of(editor.get(), model);
    QCOMPARE(PlanEditorSheets::of(editor.get(), model), sheets);

    // The recorder gets the plan's launch values; closing it clears the flag and saves nothing.
    const ScreenshotPlan before = model->plan();
    model->recordShot(model->plan().lanes.at(1));
    RecorderView *recorder = sheets->recorderSheet();
    QVERIFY(recorder);
    QCOMPARE(recorder->model()->launchEnvironment(), (QMap<QString, QString>{{QStringLiteral("KEY"), QStringLiteral("1")}}));
    QCOMPARE(recorder->model()->launchArguments(), (QStringList{QStringLiteral("-a"), QStringLiteral("b")}));
    QCOMPARE(recorder->model()->initialLocation(), plan.location);
    QCOMPARE(recorder->model()->configuration(), model->buildConfig());
    recorder->reject();
    QVERIFY(!model->showRecorder());
    QVERIFY(!sheets->recorderSheet());
    QCOMPARE(model->plan(), before);

    // Every opening of the run sheet gets a session of its own, for the plan to run.
    model->startAll();
    AutomationRunView *first = sheets->runSheet();
    QVERIFY(first);
    QCOMPARE(first->session()->plan(), model->planForRun());
    QCOMPARE(first->session()->configuration(), model->buildConfig());
    QPointer<ScreenshotRunSession> firstSession = first->session();
    QCOMPARE(firstSession->phase().kind, Kind::Running);   // started when shown
    first->reject();
    QVERIFY(!model->showRun());
    QCOMPARE(firstSession->phase().message, QStringLiteral("Abgebrochen."));

    model->runLane(model->plan().lanes.at(0));
    AutomationRunView *second = sheets->runSheet();
    QVERIFY(second && second != first);
    QVERIFY(second->session() != firstSession.data());
    // The presenter closing the flag closes the sheet, which ends its run.
    model->setShowRun(false);
    QVERIFY(!second->isVisible());
    QCOMPARE(second->session()->phase().message, QStringLiteral("Abgebrochen."));
    QTRY_VERIFY(firstSession.isNull());   // the closed sheets go with their sessions
}

void TestEndToEnd::recordAShotAndRunItsLane()
{
    const XcodeProject project = wanderlust();
    QCOMPARE(project.bundleIdentifier, QStringLiteral("de.example.wanderlust"));
    auto editor = showEditor(project);
    PlanEditorModel *model = editor->model();
    QVERIFY(model->hasLoaded());
    QCOMPARE(model->plan().languages, (QStringList{QStringLiteral("en"), QStringLiteral("de")}));
    model->addLane();
    QCOMPARE(model->plan().lanes.size(), 2);
    const Lane laneB = model->plan().lanes.at(1);

    // "Live aufnehmen" in lane B: the recorder listens, the app is started with the recorder
    // library and its taps become steps.
    model->recordShot(laneB);
    auto *recorder = visibleChild<RecorderView>(editor.get());
    QVERIFY(recorder);
    RecorderModel *recording = recorder->model();
    QVERIFY(recording->canStartApp());
    recording->startAppWithRecorder();
    QTRY_COMPARE_WITH_TIMEOUT(recording->steps().size(), qsizetype(3), runTimeoutMs);
    QCOMPARE(recording->steps().first().step.kind(), ShotStep::Kind::Tap);

    auto *nameField = recorder->findChild<QLineEdit *>(QStringLiteral("recorderShotNameField"));
    QVERIFY(nameField);
    nameField->clear();
    QTest::keyClicks(nameField, QStringLiteral("Anmeldung"));
    auto *save = recorder->findChild<QPushButton *>(QStringLiteral("recorderSaveButton"));
    QVERIFY(save && save->isEnabled());
    save->click();
    QTRY_VERIFY(!model->showRecorder());

    // Saved as the last shot of lane B, on disk as well.
    const std::optional<ScreenshotPlan> stored = ShotStore(*project.fastlaneDirectory).load();
    QVERIFY(stored.has_value());
    QCOMPARE(stored->shots.size(), 1);
    const Shot recorded = stored->shots.last();
    QCOMPARE(recorded.name, QStringLiteral("Anmeldung"));
    QCOMPARE(recorded.laneID, std::optional<QUuid>(laneB.id));
    QCOMPARE(recorded.steps.size(), 3);

    // "Lane starten" on lane B runs that shot in every language and imports the screenshots.
    model->runLane(laneB);
    AutomationRunView *run = visibleChild<AutomationRunView>(editor.get());
    QVERIFY(run);
    QCOMPARE(run->session()->plan().shots.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(run->session()->phase().kind, Kind::Done, runTimeoutMs);
    QCOMPARE(run->session()->importedCount(), 2);
    const QDir prepared(*project.fastlaneDirectory + QStringLiteral("/velorancestudio/screenshots"));
    for (const QString &language : {QStringLiteral("en"), QStringLiteral("de")}) {
        const QStringList files = QDir(prepared.filePath(language)).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY2(files.first().contains(QStringLiteral("Anmeldung")), qPrintable(files.first()));
    }

    run->findChild<QPushButton *>(QStringLiteral("finishButton"))->click();
    QTRY_VERIFY(!model->showRun());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
