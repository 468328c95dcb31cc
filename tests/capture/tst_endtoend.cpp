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

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An Xcode 15 project file of a small iOS app with English and German localisations.
const QByteArray kProjectFile = R"pbx(// !$*UTF8*$!
{
	archiveVersion = 1;
	classes = {
	};
	objectVersion = 56;
	objects = {

/* Begin PBXBuildFile section */
		7A10000000000000000000A1 /* WanderlustApp.swift in Sources */ = {isa = PBXBuildFile; fileRef = 7A10000000000000000000B1 /* WanderlustApp.swift */; };
/* End PBXBuildFile section */

/* Begin PBXFileReference section */
		7A10000000000000000000B0 /* Wanderlust.app */ = {isa = PBXFileReference; explicitFileType = wrapper.application; includeInIndex = 0; path = Wanderlust.app; sourceTree = BUILT_PRODUCTS_DIR; };
		7A10000000000000000000B1 /* WanderlustApp.swift */ = {isa = PBXFileReference; lastKnownFileType = sourcecode.swift; path = WanderlustApp.swift; sourceTree = "<group>"; };
/* End PBXFileReference section */

/* Begin PBXGroup section */
		7A10000000000000000000C0 = {
			isa = PBXGroup;
			children = (
				7A10000000000000000000C1 /* Wanderlust */,
				7A10000000000000000000C2 /* Products */,
			);
			sourceTree = "<group>";
		};
		7A10000000000000000000C1 /* Wanderlust */ = {
			isa = PBXGroup;
			children = (
				7A10000000000000000000B1 /* WanderlustApp.swift */,
			);
			path = Wanderlust;
			sourceTree = "<group>";
		};
		7A10000000000000000000C2 /* Products */ = {
			isa = PBXGroup;
			children = (
				7A10000000000000000000B0 /* Wanderlust.app */,
			);
			name = Products;
			sourceTree = "<group>";
		};
/* End PBXGroup section */

/* Begin PBXNativeTarget section */
		7A10000000000000000000D0 /* Wanderlust */ = {
			isa = PBXNativeTarget;
			buildConfigurationList = 7A10000000000000000000E1 /* Build configuration list for PBXNativeTarget "Wanderlust" */;
			buildPhases = (
				7A10000000000000000000F0 /* Sources */,
			);
			buildRules = (
			);
			dependencies = (
			);
			name = Wanderlust;
			productName = Wanderlust;
			productReference = 7A10000000000000000000B0 /* Wanderlust.app */;
			productType = "com.apple.product-type.application";
		};
/* End PBXNativeTarget section */

/* Begin PBXProject section */
		7A10000000000000000000D1 /* Project object */ = {
			isa = PBXProject;
			buildConfigurationList = 7A10000000000000000000E0 /* Build configuration list for PBXProject "Wanderlust" */;
			compatibilityVersion = "Xcode 14.0";
			developmentRegion = en;
			hasScannedForEncodings = 0;
			knownRegions = (
				en,
				Base,
				de,
			);
			mainGroup = 7A10000000000000000000C0;
			productRefGroup = 7A10000000000000000000C2 /* Products */;
			projectDirPath = "";
			projectRoot = "";
			targets = (
				7A10000000000000000000D0 /* Wanderlust */,
			);
		};
/* End PBXProject section */

/* Begin PBXSourcesBuildPhase section */
		7A10000000000000000000F0 /* Sources */ = {
			isa = PBXSourcesBuildPhase;
			buildActionMask = 2147483647;
			files = (
				7A10000000000000000000A1 /* WanderlustApp.swift in Sources */,
			);
			runOnlyForDeploymentPostprocessing = 0;
		};
/* End PBXSourcesBuildPhase section */

/* Begin XCBuildConfiguration section */
		7A10000000000000000000E2 /* Debug */ = {
			isa = XCBuildConfiguration;
			buildSettings = {
				IPHONEOS_DEPLOYMENT_TARGET = 16.0;
				SDKROOT = iphoneos;
			};
			name = Debug;
		};
		7A10000000000000000000E3 /* Release */ = {
			isa = XCBuildConfiguration;
			buildSettings = {
				IPHONEOS_DEPLOYMENT_TARGET = 16.0;
				SDKROOT = iphoneos;
				VALIDATE_PRODUCT = YES;
			};
			name = Release;
		};
		7A10000000000000000000E4 /* Debug */ = {
			isa = XCBuildConfiguration;
			buildSettings = {
				MARKETING_VERSION = 2.1;
				PRODUCT_BUNDLE_IDENTIFIER = de.example.wanderlust;
				PRODUCT_NAME = "$(TARGET_NAME)";
				TARGETED_DEVICE_FAMILY = "1,2";
			};
			name = Debug;
		};
		7A10000000000000000000E5 /* Release */ = {
			isa = XCBuildConfiguration;
			buildSettings = {
				MARKETING_VERSION = 2.1;
				PRODUCT_BUNDLE_IDENTIFIER = de.example.wanderlust;
				PRODUCT_NAME = "$(TARGET_NAME)";
				TARGETED_DEVICE_FAMILY = "1,2";
			};
			name = Release;
		};
/* End XCBuildConfiguration section */

/* Begin XCConfigurationList section */
		7A10000000000000000000E0 /* Build configuration list for PBXProject "Wanderlust" */ = {
			isa = XCConfigurationList;
			buildConfigurations = (
				7A10000000000000000000E2 /* Debug */,
				7A10000000000000000000E3 /* Release */,
			);
			defaultConfigurationIsVisible = 0;
			defaultConfigurationName = Release;
		};
		7A10000000000000000000E1 /* Build configuration list for PBXNativeTarget "Wanderlust" */ = {
			isa = XCConfigurationList;
			buildConfigurations = (
				7A10000000000000000000E4 /* Debug */,
				7A10000000000000000000E5 /* Release */,
			);
			defaultConfigurationIsVisible = 0;
			defaultConfigurationName = Release;
		};
/* End XCConfigurationList section */
	};
	rootObject = 7A10000000000000000000D1 /* Project object */;
}
)pbx";

const QByteArray kFastfile = R"(default_platform(:ios)

platform :ios do
  lane :screenshots do
    capture_screenshots(scheme: "Wanderlust")
  end
end
)";

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
    void init();
    void cleanupTestCase() { AppPaths::overrideApplicationSupport(QString()); }

    void sheetsFollowTheEditorFlags();
    void recordAShotAndRunItsLane();

private:
    XcodeProject wanderlust();
    std::unique_ptr<ShotPlanEditorView> showEditor(const XcodeProject &project);

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_support;
    std::unique_ptr<QTemporaryDir> m_projects;
};

void TestEndToEnd::initTestCase()
{
    QVERIFY(m_home.isValid());
    const QByteArray standins = VELORANCE_STANDIN_DIR;
    qputenv("PATH", standins + ':' + qgetenv("PATH"));
    // The stand-in app taps quickly and leaves soon.
    qputenv("VELORANCE_STANDIN_TAP_DELAY", "0.05");
    qputenv("VELORANCE_STANDIN_APP_LINGER", "1");
    UserDefaults::useFile(m_home.filePath(QStringLiteral("defaults.ini")));
    Motion::setAnimationsEnabled(false);
}

void TestEndToEnd::init()
{
    m_support = std::make_unique<QTemporaryDir>();
    m_projects = std::make_unique<QTemporaryDir>();
    AppPaths::overrideApplicationSupport(m_support->path());
}

// A project folder as the project scan would describe it.
XcodeProject TestEndToEnd::wanderlust()
{
    const QString folder = m_projects->filePath(QStringLiteral("Wanderlust"));
    const QString xcodeproj = folder + QStringLiteral("/Wanderlust.xcodeproj");
    writeAll(xcodeproj + QStringLiteral("/project.pbxproj"), kProjectFile);
    writeAll(folder + QStringLiteral("/Wanderlust/WanderlustApp.swift"), "import SwiftUI\n");
    writeAll(folder + QStringLiteral("/fastlane/Fastfile"), kFastfile);

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
