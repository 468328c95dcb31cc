#include "LibcGerman.h"
#include "MessageLocale.h"
#include "StandInCalls.h"
#include "StandInRunHome.h"

#include <AppPaths.h>
#include <NotificationHub.h>
#include <RunnerProject.h>
#include <ScreenshotRunSession.h>
#include <UserDefaults.h>
#include <XcodeProjectInspector.h>
#include <XcodeWorkspace.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Kind = ScreenshotRunSession::Phase::Kind;

namespace {
constexpr int runTimeoutMs = 60000;

} // namespace

class ScreenshotRunSessionTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_run.setUp(); }
    void init() { m_run.reset(); }
    void cleanupTestCase() { m_run.tearDown(); }

    void runsEveryLanguageAndShotAndImports()
    {
        const QString callLog = m_run.support->filePath(QStringLiteral("calls.jsonl"));
        qputenv("VELORANCE_STANDIN_LOG", callLog.toUtf8());
        ScreenshotPlan withLocations = plan();
        withLocations.location = PlanLocation{52.52, 13.405};
        withLocations.shots[1].location = PlanLocation{48.137, 11.575};
        ScreenshotRunSession session(iosProject(), withLocations, BuildConfiguration::Debug);
        QCOMPARE(session.nodes().size(), 6);
        QCOMPARE(session.phase().kind, Kind::Idle);
        QCOMPARE(session.progress(), 0.0);

        // The first node must pass through running before it is done.
        QList<RunNodeState> firstNodeStates;
        connect(&session, &ScreenshotRunSession::nodesChanged, this, [&] {
            const RunNodeState state = session.nodes().first().state;
            if (firstNodeStates.isEmpty() || firstNodeStates.last() != state)
                firstNodeStates << state;
        });
        QSignalSpy posted(&NotificationHub::instance(), &NotificationHub::posted);

        session.start();
        QCOMPARE(session.phase().kind, Kind::Running);
        session.start();   // ignored while running
        QTRY_COMPARE_WITH_TIMEOUT(session.phase().kind, Kind::Done, runTimeoutMs);

        QCOMPARE(firstNodeStates, (QList<RunNodeState>{RunNodeState::Running, RunNodeState::Done}));
        QCOMPARE(session.doneCount(), 6);
        QCOMPARE(session.progress(), 1.0);
        QCOMPARE(session.importedCount(), 6);
        const QString prepared = m_run.projects->filePath(QStringLiteral("Demo/fastlane/velorancestudio/screenshots/"));
        for (const QString &language : {QStringLiteral("en-US"), QStringLiteral("de-DE")}) {
            QCOMPARE(QDir(prepared + language).entryList(QDir::Files),
                     (QStringList{"01-Start.png", "02-Detail.png", "03-Detail.png"}));
            QVERIFY(readAll(prepared + language + QStringLiteral("/02-Detail.png")).startsWith("\x89PNG"));
        }

        QCOMPARE(posted.size(), 1);
        QCOMPARE(posted.at(0).at(0).toString(), QStringLiteral("veloranceScreenshotsUpdated"));
        QCOMPARE(posted.at(0).at(1).toMap().value(QStringLiteral("projectID")).toString(), session.project().id);

        // The runner's location requests were answered on the chosen simulator and acknowledged.
        QStringList locations;
        QStringList testCall;
        int testCalls = 0;
        const QList<QByteArray> calls = readAll(callLog).split('\n');
        for (const QByteArray &call : calls) {
            const QJsonObject record = QJsonDocument::fromJson(call).object();
            const QStringList argv = record.value(QStringLiteral("argv")).toVariant().toStringList();
            const QString tool = record.value(QStringLiteral("tool")).toString();
            if (tool == u"xcrun" && argv.mid(0, 2) == QStringList{"simctl", "location"})
                locations << argv.mid(2).join(u' ');
            if (tool == u"xcodebuild" && argv.value(0) == u"test") {
                testCall = argv;
                ++testCalls;
            }
        }
        const QString device = QStringLiteral("3F2504E0-4F89-41D3-9A0C-0305E82C3303");
        const QString plan = device + QStringLiteral(" set 52.52,13.405");
        const QString own = device + QStringLiteral(" set 48.137,11.575");
        QCOMPARE(locations, (QStringList{plan, own, plan, plan, own, plan}));
        const QString documents = session.derivedDataFolder() + QStringLiteral("/StandinDevice/Documents/");
        for (int request = 1; request <= 6; ++request)
            QVERIFY(QFile::exists(documents + QStringLiteral("location-%1.ack").arg(request)));
        QCOMPARE(testCalls, 1);
        QCOMPARE(testCall, (QStringList{"test", "-project", session.projectFolder() + "/UIDump.xcodeproj", "-scheme",
                                        "UIDumpUITests", "-destination", "id=" + device, "-derivedDataPath",
                                        session.derivedDataFolder()}));

        QVERIFY(session.recentLines().contains(QStringLiteral("SHOT-DONE de-DE")));
        for (const QString &line : session.recentLines())
            QCOMPARE(line, line.trimmed());
        QVERIFY(UserDefaults::standard().integer(QStringLiteral("buildSteps.Screenshots: Demo")).value_or(0) >= 1);
    }

    void failsAtShotThenStartsAgainKeepingState()
    {
        qputenv("VELORANCE_STANDIN_FAIL_AT", "de-DE:1");
        ScreenshotRunSession session(iosProject(), plan(), BuildConfiguration::Release);
        QSignalSpy posted(&NotificationHub::instance(), &NotificationHub::posted);
        session.start();
        QTRY_COMPARE_WITH_TIMEOUT(session.phase().kind, Kind::Failed, runTimeoutMs);

        QCOMPARE(session.phase().message, QStringLiteral("Lauf fehlgeschlagen (Code 65). Siehe Protokoll."));
        QCOMPARE(states(session), (QList<RunNodeState>{RunNodeState::Done, RunNodeState::Done, RunNodeState::Done,
                                                       RunNodeState::Done, RunNodeState::Failed, RunNodeState::Pending}));
        QCOMPARE(session.importedCount(), 0);
        QCOMPARE(posted.size(), 0);
        QVERIFY(!QDir(m_run.projects->filePath(QStringLiteral("Demo/fastlane/velorancestudio"))).exists());

        // Starting again keeps what the failed attempt left until the new run reports.
        const QStringList linesBefore = session.recentLines();
        const QList<RunNodeState> statesBefore = states(session);
        qunsetenv("VELORANCE_STANDIN_FAIL_AT");
        session.start();
        QCOMPARE(session.phase().kind, Kind::Running);
        QCOMPARE(session.recentLines(), linesBefore);
        QCOMPARE(states(session), statesBefore);

        QTRY_COMPARE_WITH_TIMEOUT(session.phase().kind, Kind::Done, runTimeoutMs);
        QCOMPARE(session.doneCount(), 6);
        QCOMPARE(session.importedCount(), 6);
        QVERIFY(session.recentLines().size() > linesBefore.size() || linesBefore.size() == 400);
    }

    void cancelEndsTheChild()
    {
        const QString pidFile = m_run.support->filePath(QStringLiteral("runner.pid"));
        qputenv("VELORANCE_STANDIN_SHOT_DELAY", "1");
        qputenv("VELORANCE_STANDIN_PIDFILE", pidFile.toUtf8());
        ScreenshotRunSession session(iosProject(), plan(), BuildConfiguration::Debug);
        session.start();
        QTRY_VERIFY_WITH_TIMEOUT(session.nodes().first().state == RunNodeState::Running, runTimeoutMs);
        const qint64 pid = readAll(pidFile).trimmed().toLongLong();
        QVERIFY(pid > 0);

        session.cancel();
        QCOMPARE(session.phase(), ScreenshotRunSession::Phase::failed(QStringLiteral("Abgebrochen.")));
        QCOMPARE(session.nodes().first().state, RunNodeState::Failed);
        QCOMPARE(session.nodes().last().state, RunNodeState::Pending);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 5000);

        // Nothing of the ended run arrives later; a second cancel changes nothing.
        const QList<RunNodeState> after = states(session);
        QTest::qWait(300);
        session.cancel();
        QCOMPARE(states(session), after);
        QCOMPARE(session.phase().message, QStringLiteral("Abgebrochen."));
    }

    void refusesUnsuitableProjects_data()
    {
        QTest::addColumn<QString>("pbxproj");
        QTest::addColumn<bool>("withBundleID");
        QTest::addColumn<bool>("withXcodeproj");
        QTest::addColumn<QString>("message");

        const QString ios = QStringLiteral("ios");
        QTest::newRow("no bundle id") << ios << false << true << "Dem Projekt fehlt .xcodeproj oder Bundle-ID.";
        QTest::newRow("no xcodeproj") << ios << true << false << "Dem Projekt fehlt .xcodeproj oder Bundle-ID.";
        QTest::newRow("tvOS target") << QStringLiteral("tvos-app.pbxproj") << true << true
                                     << "Der Screenshot-Lauf unterstützt bisher nur iOS-Apps (dieses Target: tvOS).";
        QTest::newRow("visionOS target") << QStringLiteral("visionos-app.pbxproj") << true << true
                                         << "Der Screenshot-Lauf unterstützt bisher nur iOS-Apps (dieses Target: visionOS).";
        QTest::newRow("macOS target") << QStringLiteral("macos-app.pbxproj") << true << true
                                      << "Der Screenshot-Lauf unterstützt bisher nur iOS-Apps (dieses Target: macOS).";
    }

    void refusesUnsuitableProjects()
    {
        QFETCH(QString, pbxproj);
        QFETCH(bool, withBundleID);
        QFETCH(bool, withXcodeproj);
        QFETCH(QString, message);

        XcodeProject project = pbxproj == u"ios" ? iosProject()
                                                 : projectWith(readAll(QStringLiteral(VELORANCE_TEST_DATA_DIR "/pbxproj/") + pbxproj));
        if (!withBundleID)
            project.bundleIdentifier = QString();
        if (!withXcodeproj)
            project.xcodeprojPath.reset();
        ScreenshotRunSession session(project, plan(), BuildConfiguration::Debug);
        session.start();
        QCOMPARE(session.phase(), ScreenshotRunSession::Phase::failed(message));
        QCOMPARE(session.doneCount(), 0);
        QVERIFY(!QDir(session.projectFolder()).exists());
    }

    // A hand-edited plan may hold a code that the runner would split or break its markers
    // with; such a run used to end "done" with nothing imported.
    void refusesLanguageCodesThatBreakTheRun_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("shown");

        QTest::newRow("newline") << QStringLiteral("de\nDE") << QStringLiteral("de\\nDE");
        QTest::newRow("carriage return") << QStringLiteral("de-DE\r") << QStringLiteral("de-DE\\r");
        QTest::newRow("NUL") << QString::fromUtf16(u"de\0DE", 5) << QStringLiteral("de\\0DE");
        QTest::newRow("escape") << QStringLiteral("de\x1b[31m") << QStringLiteral("de\\u{1B}[31m");
        QTest::newRow("delete") << QStringLiteral("de\x7f") << QStringLiteral("de\\u{7F}");
        QTest::newRow("comma") << QStringLiteral("de,fr") << QStringLiteral("de,fr");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("long code is shortened") << QStringLiteral("\n") + QString(100, u'x')
                                                << QStringLiteral("\\n") + QString(39, u'x') + QStringLiteral("…");
    }
    void refusesLanguageCodesThatBreakTheRun()
    {
        QFETCH(QString, language);
        QFETCH(QString, shown);
        ScreenshotPlan p = plan();
        p.languages.insert(1, language);
        ScreenshotRunSession session(iosProject(), p, BuildConfiguration::Debug);
        session.start();
        QTRY_VERIFY_WITH_TIMEOUT(session.phase().kind != Kind::Running, runTimeoutMs);
        const QString reason = language.isEmpty() ? QStringLiteral("ein leerer Sprachcode ist nicht erlaubt")
                                                  : QStringLiteral("Steuerzeichen und Kommas sind nicht erlaubt");
        QCOMPARE(session.phase(), ScreenshotRunSession::Phase::failed(
                                      QStringLiteral("Ungültiger Sprachcode im Plan: \"%1\" (%2).").arg(shown, reason)));
        QVERIFY(!QDir(session.projectFolder()).exists());
        QCOMPARE(session.plan().languages.at(1), language);
        QCOMPARE(session.nodes().size(), 9);
    }

    void buildsThroughWorkspaceAndTheSchemeThatRunsTheApp_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("projectFolder"); // inside the fixture's repository
        QTest::addColumn<QStringList>("build");
        QTest::newRow("CocoaPods workspace")
            << "Beacon" << "" << QStringList{"-workspace", "@/Beacon.xcworkspace", "-scheme", "Beacon"};
        // Pods and the workspace at the repository's top, the app's project in a folder below.
        QTest::newRow("CocoaPods workspace at the repository's top")
            << "Bazaar" << "Bazaar" << QStringList{"-workspace", "@/Bazaar.xcworkspace", "-scheme", "Bazaar"};
        QTest::newRow("no scheme named like the target")
            << "Kestrel" << "" << QStringList{"-project", "@/Kestrel.xcodeproj", "-scheme", "Kestrel-Production"};
        // A UI-test scheme with an empty build action and an extension's scheme come first by
        // name; xcodebuild refuses to build the first.
        QTest::newRow("schemes that run the app but do not build it for running")
            << "Lookout" << "" << QStringList{"-project", "@/Lookout.xcodeproj", "-scheme", "iOS Lookout"};
        // "Trellis AdHoc Debug" and "Trellis-Staging" come before "Trellis" by file name.
        QTest::newRow("a scheme's name before the longer names it begins")
            << "Trellis" << "" << QStringList{"-project", "@/Trellis.xcodeproj", "-scheme", "Trellis"};
        // The workspace lists a macOS sample, whose app target bears the app's name, before the
        // app's project; the scheme runs the app of the project it names.
        QTest::newRow("a macOS sample first in the workspace")
            << "Meadow" << "" << QStringList{"-workspace", "@/Meadow.xcworkspace", "-scheme", "Meadow"};
    }

    void buildsThroughWorkspaceAndTheSchemeThatRunsTheApp()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, projectFolder);
        QFETCH(QStringList, build);
        XcodeProject project = fixtureProject(fixture, projectFolder);
        const QString repository = m_run.projects->filePath(fixture);
        project.workspacePath = XcodeWorkspace::find(project.url, *project.xcodeprojPath, repository);
        project.bundleIdentifier = QStringLiteral("org.example.app");
        ScreenshotRunSession session(project, plan(), BuildConfiguration::Release);
        session.start();
        QTRY_VERIFY_WITH_TIMEOUT(session.phase().kind != Kind::Running, runTimeoutMs);
        QCOMPARE(session.phase(), ScreenshotRunSession::Phase::done());

        build.replaceInStrings(QStringLiteral("@/") + project.name + QStringLiteral(".xcodeproj"), *project.xcodeprojPath);
        build.replaceInStrings(QStringLiteral("@"), repository);
        QCOMPARE(lastStandInCall(callLog(), QStringLiteral("xcodebuild"), {"build"}).mid(1, 4), build);
    }

    // The identifier launched and handed to the runner is the one of the configuration built;
    // the app of a configuration for the Mac beside Release runs as the iOS app it is.
    void launchesTheAppOfTheConfigurationBuilt_data()
    {
        addConfigurationBuiltRows();
        QTest::newRow("Mac configuration beside Release") << "Prism" << BuildConfiguration::Release << "Release"
                                                          << "org.example.prism";
    }

    void launchesTheAppOfTheConfigurationBuilt()
    {
        QFETCH(QString, fixture);
        QFETCH(BuildConfiguration, configuration);
        QFETCH(QString, built);
        QFETCH(QString, launched);
        XcodeProject project = fixtureProject(fixture);
        // As the scan shows it: the Release identifier.
        project.bundleIdentifier = XcodeProjectInspector::resolvedBundleIdentifier(
            XcodeProjectInspector::readProjectFile(*project.xcodeprojPath), project.url);
        ScreenshotRunSession session(project, plan(), configuration);
        session.start();
        QTRY_VERIFY_WITH_TIMEOUT(session.phase().kind != Kind::Running, runTimeoutMs);
        QCOMPARE(session.phase(), ScreenshotRunSession::Phase::done());

        const QString log = callLog();
        QCOMPARE(optionValue(lastStandInCall(log, QStringLiteral("xcodebuild"), {"build"}), QStringLiteral("-configuration")),
                 built);
        QCOMPARE(lastStandInCall(log, QStringLiteral("xcrun"), {"simctl", "launch"}).value(4), launched);
    }

    // A repository's fastlane folder above the project's: the screenshots land there.
    void importsIntoAFastlaneFolderAboveTheProject()
    {
        const QString repository = m_run.projects->filePath(QStringLiteral("Harbor"));
        copyFolder(QStringLiteral(VELORANCE_TEST_DATA_DIR "/xcode/Harbor"), repository);
        XcodeProject project;
        project.id = project.url = repository + QStringLiteral("/App");
        project.name = QStringLiteral("Harbor");
        project.xcodeprojPath = project.url + QStringLiteral("/Harbor.xcodeproj");
        project.bundleIdentifier = QStringLiteral("org.example.harbor");
        project.hasFastlane = true;
        project.fastlaneDirectory = repository + QStringLiteral("/fastlane");
        ScreenshotRunSession session(project, plan(), BuildConfiguration::Debug);
        session.start();
        QTRY_COMPARE_WITH_TIMEOUT(session.phase().kind, Kind::Done, runTimeoutMs);
        QCOMPARE(session.importedCount(), 6);
        QCOMPARE(QDir(repository + QStringLiteral("/fastlane/velorancestudio/screenshots/de-DE")).entryList(QDir::Files),
                 (QStringList{"01-Start.png", "02-Detail.png", "03-Detail.png"}));
    }

    void reportsUnwritableWorkFolder_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::newRow("C") << QByteArray("C");
        QTest::newRow("fr") << QByteArray("fr");
    }
    void reportsUnwritableWorkFolder()
    {
        QFETCH(QByteArray, language);
        // Running as root ignores permissions, so the work folder is made a plain file.
        QVERIFY(writeAll(AppPaths::workFolder(QStringLiteral("ScreenshotRun")), "not a folder"));
        const QString german = libcGerman("Not a directory");
        QVERIFY(!german.isEmpty());
        const MessageLocale locale(language);
        if (language != "C")
            QVERIFY2(MessageLocale::speaksOtherThanEnglish(), "libc-l10n's catalogue of this language is missing");
        ScreenshotRunSession session(iosProject(), plan(), BuildConfiguration::Debug);
        session.start();
        QCOMPARE(session.phase().kind, Kind::Failed);
        QVERIFY2(session.phase().message.startsWith(QStringLiteral("Runner-Projekt konnte nicht geschrieben werden: ")),
                 qPrintable(session.phase().message));
        QVERIFY(session.phase().message.size() > 48);
        // The system's reason in German.
        QVERIFY2(session.phase().message.contains(german), qPrintable(session.phase().message));
        QVERIFY2(!session.phase().message.contains(MessageLocale::systemText(ENOTDIR)) || language == "C",
                 qPrintable(session.phase().message));
    }

    void writesRunnerProjectForThePlan()
    {
        ScreenshotPlan p = plan();
        p.languages = {QStringLiteral("de\"DE"), QStringLiteral("../x")};
        p.shots.first().name = QStringLiteral("A \"quoted\"/name\\");
        p.location = PlanLocation{52.52, 13.0};
        p.launchVariables = {{QUuid::createUuid(), QStringLiteral(" MODE "), QStringLiteral("de\"mo")}};
        p.launchArguments = {QStringLiteral("-flag  on")};

        const QString folder = m_run.support->filePath(QStringLiteral("runner"));
        QVERIFY(RunnerProject::writeScreenshotRunner(folder, p));
        const QString source = QString::fromUtf8(readAll(folder + QStringLiteral("/UIDumpUITests/UIDumpUITests.swift")));
        QVERIFY(!source.contains(QStringLiteral("{{")));
        QVERIFY(source.contains(QStringLiteral(R"("de\"DE": "de\"DE", "../x": "_.._x")")));
        QVERIFY(source.contains(QStringLiteral(R"(["MODE": "de\"mo"])")));
        QVERIFY(source.contains(QStringLiteral(R"(["-flag", "on"])")));
        QVERIFY(source.contains(QStringLiteral(R"(file: "01-A \"quoted\"_name_.png")")));
        QVERIFY(source.contains(QStringLiteral(R"(location: "52.52,13.0")")));
        QCOMPARE(source.count(QStringLiteral("vrsTap(app, selector: \"start\"")), 3);
        QVERIFY(source.contains(QStringLiteral("private func vrsTap(")));

        // The runner's project file names an iOS application target, as the launch script expects.
        const auto target = XcodeProjectInspector::launchTarget(
            QString::fromUtf8(readAll(folder + QStringLiteral("/UIDump.xcodeproj/project.pbxproj"))));
        QCOMPARE(target, (std::optional<XcodeProjectInspector::LaunchTarget>({QStringLiteral("UIDump"), SimPlatform::iOS})));
        QVERIFY(QFile::exists(folder + QStringLiteral("/UIDump.xcodeproj/xcshareddata/xcschemes/UIDumpUITests.xcscheme")));
        QVERIFY(QFile::exists(folder + QStringLiteral("/UIDump/UIDumpApp.swift")));
    }

private:
    static ScreenshotPlan plan()
    {
        ScreenshotPlan p = ScreenshotPlan::makeDefault({QStringLiteral("en-US"), QStringLiteral("de-DE")});
        p.shots = {shot(QStringLiteral("Start")), shot(QStringLiteral("Detail")), shot(QStringLiteral("Detail"))};
        return p;
    }

    static void copyFolder(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        for (const QFileInfo &entry : QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            const QString target = QDir(to).filePath(entry.fileName());
            if (entry.isDir())
                copyFolder(entry.filePath(), target);
            else
                QFile::copy(entry.filePath(), target);
        }
    }

    static QList<RunNodeState> states(const ScreenshotRunSession &session)
    {
        QList<RunNodeState> result;
        for (const ShotNode &node : session.nodes())
            result << node.state;
        return result;
    }

    XcodeProject iosProject() { return m_run.demoProject(m_run.iosProjectFile()); }

    // A copy of the launch fixture among the projects, with the call log switched on;
    // the project "<fixture>.xcodeproj" lies in `folder` inside the copy.
    XcodeProject fixtureProject(const QString &fixture, const QString &folder = QString())
    {
        const QString repository = m_run.projects->filePath(fixture);
        XcodeProject project;
        project.id = project.url = folder.isEmpty() ? repository : repository + u'/' + folder;
        project.name = fixture;
        project.xcodeprojPath = project.url + u'/' + fixture + QStringLiteral(".xcodeproj");
        copyFolder(launchFixtureFolder(fixture), repository);
        qputenv("VELORANCE_STANDIN_LOG", callLog().toUtf8());
        return project;
    }

    QString callLog() const { return m_run.support->filePath(QStringLiteral("calls.jsonl")); }
    XcodeProject projectWith(const QByteArray &pbxproj) { return m_run.demoProject(pbxproj); }

    StandInRunHome m_run;
};

QTEST_GUILESS_MAIN(ScreenshotRunSessionTest)
#include "tst_screenshotrunsession.moc"
