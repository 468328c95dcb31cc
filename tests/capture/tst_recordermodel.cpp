#include "tst_recorder_fixture.h"

#include <StandInCalls.h>

#include <RecorderModel.h>

#include <LaneRunModel.h>
#include <ShellQuote.h>
#include <RecorderListener.h>
#include <StepResolver.h>

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using Kind = ShotStep::Kind;

class TestRecorderModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_home.setUp(); }
    void cleanupTestCase() { m_home.tearDown(); }
    void init()
    {
        qputenv("PATH", QByteArray(VELORANCE_STANDIN_DIR) + ':' + m_home.savedPath);
        qunsetenv("VELORANCE_STANDIN_BUILD_FAIL");
        m_saved.clear();
    }

    void waitRule_data();
    void waitRule();
    void eventsOfOnePacketEachGetTheirOwnCheck();
    void pausedTapsAreSkippedForGood();
    void clearingStartsAFreshSequence();
    void tapWithoutIdentifierOrLabelKeepsItsPoint();
    void statusFollowsListenerAndRecording();
    void bindFailureShowsTheListenerError();
    void handMadeStepsAndWaits_data();
    void handMadeStepsAndWaits();
    void moveAndDeleteLeaveTheEventCursorAlone();
    void launchUsesDefaultPortWithoutBoundPort();
    void launchFailureTitleAndNoStoredCount();
    void launchGoesThroughWorkspaceAndTheAppsScheme_data();
    void launchGoesThroughWorkspaceAndTheAppsScheme();
    void launchesTheIdentifierOfTheConfigurationBuilt_data();
    void launchesTheIdentifierOfTheConfigurationBuilt();
    void standInAppConnectsAndItsTapsBecomeSteps();
    void secondLaunchExpectsTheStoredStepCount();
    void stoppingCancelsTheShownLaunch();
    void shotNameRule_data();
    void shotNameRule();
    void saveHandsOverOnceWithLocation();
    void saveWithFailingResolverKeepsTheSteps();

private:
    // A model listening with a fixed clock, and one tap client connected to it.
    struct Recording
    {
        std::unique_ptr<RecorderModel> model;
        FixedClock clock;
        TapClient client;
    };

    bool startRecording(Recording &recording)
    {
        recording.model = makeModel(m_home.project());
        recording.clock.install(recording.model->listener());
        recording.model->startListening();
        return recording.client.connectTo(recording.model->listener());
    }

    std::unique_ptr<RecorderModel> makeModel(const XcodeProject &project, std::optional<PlanLocation> initial = std::nullopt)
    {
        return std::make_unique<RecorderModel>(project, BuildConfiguration::Debug, QMap<QString, QString>{},
                                               QStringList{}, initial,
                                               [this](const Shot &shot) { m_saved.append(shot); });
    }

    RecorderTestHome m_home;
    QList<Shot> m_saved;
};

void TestRecorderModel::waitRule_data()
{
    QTest::addColumn<qint64>("gapMs");
    QTest::addColumn<QStringList>("expected");
    const QStringList none{QStringLiteral("tap a"), QStringLiteral("tap b")};
    QTest::newRow("4.0 s") << qint64(4000) << none;
    QTest::newRow("exactly 5.0 s") << qint64(5000) << none;
    QTest::newRow("5.001 s") << qint64(5001) << QStringList{"tap a", "wait 5", "tap b"};
    QTest::newRow("6.04 s") << qint64(6040) << QStringList{"tap a", "wait 6", "tap b"};
    QTest::newRow("6.25 s rounds up") << qint64(6250) << QStringList{"tap a", "wait 6.3", "tap b"};
    QTest::newRow("7.34 s") << qint64(7340) << QStringList{"tap a", "wait 7.3", "tap b"};
    QTest::newRow("a minute") << qint64(60000) << QStringList{"tap a", "wait 60", "tap b"};
}

void TestRecorderModel::waitRule()
{
    QFETCH(qint64, gapMs);
    QFETCH(QStringList, expected);
    Recording recording;
    QVERIFY(startRecording(recording));
    auto &[model, clock, client] = recording;

    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("a")), 1));
    QTRY_COMPARE(describeSteps(model->steps()), QStringList{QStringLiteral("tap a")});
    clock.advanceMs(gapMs);
    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("b")), 2));
    QTRY_COMPARE(describeSteps(model->steps()), expected);
    QCOMPARE(model->consumed(), 2);
    QVERIFY(model->listener()->pendingEvents().isEmpty());
    QCOMPARE(model->lastEventAt(), clock.now);
}

void TestRecorderModel::eventsOfOnePacketEachGetTheirOwnCheck()
{
    Recording recording;
    QVERIFY(startRecording(recording));
    auto &[model, clock, client] = recording;
    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("first")), 1));
    QTRY_COMPARE(model->steps().size(), 1);

    clock.advanceMs(6040);
    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("second")) + tapLine(QStringLiteral("third")), 3));
    QTRY_COMPARE(model->consumed(), 3);
    // Both arrived at the same moment: only the first waited.
    QCOMPARE(describeSteps(model->steps()),
             (QStringList{"tap first", "wait 6", "tap second", "tap third"}));
}

void TestRecorderModel::pausedTapsAreSkippedForGood()
{
    Recording recording;
    QVERIFY(startRecording(recording));
    auto &[model, clock, client] = recording;
    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("before")), 1));
    QTRY_COMPARE(model->steps().size(), 1);

    model->togglePause();
    QVERIFY(!model->isRecording());
    for (int i = 0; i < 3; ++i) {
        clock.advanceMs(10000);
        QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("paused%1").arg(i)), 2 + i));
    }
    QTRY_COMPARE(model->consumed(), 4);
    QCOMPARE(model->steps().size(), 1);
    // Consumed events, skipped ones included, are not kept by the listener.
    QVERIFY(model->listener()->pendingEvents().isEmpty());

    model->togglePause();
    QVERIFY(model->isRecording());
    QVERIFY(!model->lastEventAt());
    clock.advanceMs(20000);
    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("after")), 5));
    QTRY_COMPARE(describeSteps(model->steps()), (QStringList{"tap before", "tap after"}));
}

void TestRecorderModel::clearingStartsAFreshSequence()
{
    Recording recording;
    QVERIFY(startRecording(recording));
    auto &[model, clock, client] = recording;
    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("old")), 1));
    QTRY_COMPARE(model->steps().size(), 1);

    model->clearSteps();
    QVERIFY(model->steps().isEmpty());
    clock.advanceMs(30000);
    QVERIFY(client.send(model->listener(), tapLine(QStringLiteral("new")), 2));
    QTRY_COMPARE(describeSteps(model->steps()), QStringList{QStringLiteral("tap new")});
}

void TestRecorderModel::tapWithoutIdentifierOrLabelKeepsItsPoint()
{
    Recording recording;
    QVERIFY(startRecording(recording));
    auto &[model, clock, client] = recording;
    QVERIFY(client.send(model->listener(), tapLine(QString(), QString(), 0.25, 0.75), 1));
    QTRY_COMPARE(model->steps().size(), 1);
    QCOMPARE(model->steps().first().step, ShotStep::tap(QString(), QString(), NormPoint{0.25, 0.75}));
}

void TestRecorderModel::statusFollowsListenerAndRecording()
{
    auto model = makeModel(m_home.project());
    QCOMPARE(model->statusText(), QStringLiteral("Listener startet…"));
    QCOMPARE(model->statusIcon().symbol, QStringLiteral("circle.dashed"));

    model->startListening();
    QCOMPARE(model->statusText(), QStringLiteral("Warte auf die App — klick oben auf App mit Recorder starten"));
    QCOMPARE(model->statusIcon().symbol, QStringLiteral("dot.radiowaves.left.and.right"));

    TapClient client;
    QVERIFY(client.connectTo(model->listener()));
    QCOMPARE(model->statusText(), QStringLiteral("Nimmt auf — jeder Tap im Simulator wird als Schritt gespeichert"));
    const RecorderModel::StatusIcon recording = model->statusIcon();
    QCOMPARE(recording.symbol, QStringLiteral("record.circle.fill"));
    QVERIFY(recording.pulsing);

    model->togglePause();
    QCOMPARE(model->statusText(), QStringLiteral("Angehalten — Taps im Simulator werden ignoriert"));
    QCOMPARE(model->statusIcon().symbol, QStringLiteral("pause.circle.fill"));
    QVERIFY(!model->statusIcon().pulsing);

    client.socket.disconnectFromHost();
    QTRY_VERIFY(!model->listener()->isConnected());
    QCOMPARE(model->statusText(), QStringLiteral("Warte auf die App — klick oben auf App mit Recorder starten"));
}

void TestRecorderModel::bindFailureShowsTheListenerError()
{
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
    auto model = makeModel(m_home.project());
    model->listener()->setRequestedPort(taken.serverPort());
    model->startListening();

    const QString message = model->listener()->status().message;
    QVERIFY(!message.isEmpty());
    QCOMPARE(model->statusText(), QStringLiteral("Listener-Fehler: ") + message);
    QCOMPARE(model->statusIcon().symbol, QStringLiteral("exclamationmark.triangle.fill"));
    QVERIFY(!model->statusIcon().pulsing);

    // Still usable: steps by hand can be saved.
    model->addStep(Kind::Tap);
    model->save();
    QCOMPARE(m_saved.size(), 1);
}

void TestRecorderModel::handMadeStepsAndWaits_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<ShotStep>("expected");
    QTest::newRow("Tippen") << int(Kind::Tap) << ShotStep::tap(QString(), QString());
    QTest::newRow("Text eingeben") << int(Kind::TypeText) << ShotStep::typeText(QString(), QString());
    QTest::newRow("Warten") << int(Kind::Wait) << ShotStep::wait(1.0);
    QTest::newRow("Wischen") << int(Kind::Swipe) << ShotStep::swipe(QString(), QString(), std::nullopt, SwipeDirection::Up);
}

void TestRecorderModel::handMadeStepsAndWaits()
{
    QFETCH(int, kind);
    QFETCH(ShotStep, expected);
    auto model = makeModel(m_home.project());
    model->addStep(Kind::TypeText);
    model->addStep(Kind(kind));
    QCOMPARE(model->steps().size(), 2);
    QCOMPARE(model->steps().last().step, expected);

    // A wait after the last row lands at the end, one before the first at the start.
    const QUuid last = model->steps().last().id;
    model->insertWait(last, StepListEditing::WaitPlacement::After);
    QCOMPARE(model->steps().last().step, ShotStep::wait(1.0));
    model->insertWait(model->steps().first().id, StepListEditing::WaitPlacement::Before);
    QCOMPARE(model->steps().first().step, ShotStep::wait(1.0));
    QCOMPARE(model->steps().size(), 4);
    model->insertWait(QUuid::createUuid(), StepListEditing::WaitPlacement::After);
    QCOMPARE(model->steps().size(), 4);
}

void TestRecorderModel::moveAndDeleteLeaveTheEventCursorAlone()
{
    Recording recording;
    QVERIFY(startRecording(recording));
    auto &[model, clock, client] = recording;
    QByteArray lines;
    for (const char *name : {"a", "b", "c", "d"})
        lines += tapLine(QString::fromLatin1(name));
    QVERIFY(client.send(model->listener(), lines, 4));
    QTRY_COMPARE(model->steps().size(), 4);
    const auto lastEventAt = model->lastEventAt();

    model->moveSteps({0}, 3);
    QCOMPARE(describeSteps(model->steps()), (QStringList{"tap b", "tap c", "tap a", "tap d"}));
    model->moveSteps({3}, 0);
    QCOMPARE(describeSteps(model->steps()), (QStringList{"tap d", "tap b", "tap c", "tap a"}));
    model->moveSteps({0, 2}, 4);
    QCOMPARE(describeSteps(model->steps()), (QStringList{"tap b", "tap a", "tap d", "tap c"}));
    model->moveSteps({7}, 0);
    QCOMPARE(model->steps().size(), 4);
    model->deleteSteps({3, 0, 9});
    QCOMPARE(describeSteps(model->steps()), (QStringList{"tap a", "tap d"}));
    QCOMPARE(model->consumed(), 4);
    QCOMPARE(model->lastEventAt(), lastEventAt);
}

void TestRecorderModel::launchUsesDefaultPortWithoutBoundPort()
{
    qputenv("PATH", m_home.hangingToolsFolder().toUtf8() + ':' + qgetenv("PATH"));
    auto model = makeModel(m_home.project());
    model->startAppWithRecorder();
    QVERIFY(model->launchRun());
    QVERIFY(model->launchRun()->shellCommand().contains(QStringLiteral("SIMCTL_CHILD_VRR_PORT=52673")));
    QCOMPARE(model->launchRun()->title(), QStringLiteral("Recorder: Demo"));
    QCOMPARE(model->launchTitle(), QStringLiteral("App wird gebaut und im Simulator gestartet…"));
    model->cancelLaunch();
    QVERIFY(!model->launchRun());

    model->startListening();
    model->startAppWithRecorder();
    const QString port = QString::number(*model->listener()->boundPort());
    QVERIFY(model->launchRun()->shellCommand().contains(QStringLiteral("SIMCTL_CHILD_VRR_PORT=") + port));
    model->stopListening();
}

void TestRecorderModel::launchFailureTitleAndNoStoredCount()
{
    qputenv("VELORANCE_STANDIN_BUILD_FAIL", "1");
    auto model = makeModel(m_home.project(QStringLiteral("Broken")));
    model->startListening();
    model->startAppWithRecorder();
    QPointer<LaneRunModel> run = model->launchRun();
    QVERIFY(run);
    QTRY_VERIFY_WITH_TIMEOUT(!run->isRunning(), 30000);
    QCOMPARE(run->progress().exitCode, std::optional<int>(65));
    QCOMPARE(model->launchTitle(), QStringLiteral("Start fehlgeschlagen (Code 65)"));
    QVERIFY(!BuildStepMemory::expected(QStringLiteral("Recorder: Broken")));
    model->hideLaunch();
    QVERIFY(!model->launchRun());
}

void TestRecorderModel::launchGoesThroughWorkspaceAndTheAppsScheme_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<bool>("workspace");
    QTest::addColumn<QString>("scheme");
    QTest::newRow("CocoaPods workspace") << "Beacon" << true << "Beacon";
    QTest::newRow("no scheme named like the target") << "Kestrel" << false << "Kestrel-Production";
}

void TestRecorderModel::launchGoesThroughWorkspaceAndTheAppsScheme()
{
    QFETCH(QString, fixture);
    QFETCH(bool, workspace);
    QFETCH(QString, scheme);
    qputenv("PATH", m_home.hangingToolsFolder().toUtf8() + ':' + qgetenv("PATH"));
    const QString folder = QStringLiteral(VELORANCE_TEST_DATA_DIR "/xcode/") + fixture;
    XcodeProject project;
    project.id = project.url = folder;
    project.name = fixture;
    project.xcodeprojPath = folder + u'/' + fixture + QStringLiteral(".xcodeproj");
    project.bundleIdentifier = QStringLiteral("org.example.app");
    if (workspace)
        project.workspacePath = folder + u'/' + fixture + QStringLiteral(".xcworkspace");

    auto model = makeModel(project);
    model->startAppWithRecorder();
    QVERIFY(model->launchRun());
    const QString script = model->launchRun()->shellCommand();
    model->cancelLaunch();
    QVERIFY(script.contains(QStringLiteral("\nSCHEME=") + ShellQuote::quote(scheme) + u'\n'));
    QCOMPARE(script.contains(QStringLiteral("xcodebuild build -workspace \"$WORKSPACE\"")), workspace);
    QCOMPARE(script.contains(QStringLiteral("\nWORKSPACE=") + ShellQuote::quote(project.workspacePath.value_or(QString())) + u'\n'),
             workspace);
}

void TestRecorderModel::launchesTheIdentifierOfTheConfigurationBuilt_data()
{
    addConfigurationBuiltRows();
}

// The app that a Debug build installs is the one launched: the stand-in simulator, like a
// real one, refuses to launch an identifier that was never installed.
void TestRecorderModel::launchesTheIdentifierOfTheConfigurationBuilt()
{
    QFETCH(QString, fixture);
    QFETCH(BuildConfiguration, configuration);
    QFETCH(QString, built);
    QFETCH(QString, launched);
    const QString callLog = m_home.dir.filePath(QStringLiteral("calls-%1.log").arg(QString::fromUtf8(QTest::currentDataTag())));
    qputenv("VELORANCE_STANDIN_LOG", callLog.toUtf8());
    const XcodeProject project = launchFixtureProject(fixture);

    RecorderModel model(project, configuration, {}, {}, std::nullopt, [](const Shot &) {});
    model.startAppWithRecorder();
    QPointer<LaneRunModel> run = model.launchRun();
    QVERIFY(run);
    QTRY_VERIFY_WITH_TIMEOUT(!run->isRunning(), 30000);
    qputenv("VELORANCE_STANDIN_LOG", m_home.dir.filePath(QStringLiteral("calls.log")).toUtf8());

    QCOMPARE(optionValue(lastStandInCall(callLog, QStringLiteral("xcodebuild"), {"build"}), QStringLiteral("-configuration")),
             built);
    QCOMPARE(lastStandInCall(callLog, QStringLiteral("xcrun"), {"simctl", "launch"}).value(4), launched);
    QCOMPARE(run->progress().exitCode, std::optional<int>(0));
}

void TestRecorderModel::standInAppConnectsAndItsTapsBecomeSteps()
{
    auto model = makeModel(m_home.project(QStringLiteral("Connects")));
    FixedClock clock;
    clock.install(model->listener());
    model->startListening();
    model->setShowLaunchLog(true);
    TapClient early;
    QVERIFY(early.connectTo(model->listener()));
    QVERIFY(early.send(model->listener(), tapLine(QStringLiteral("early")), 1));
    QTRY_COMPARE(model->steps().size(), 1);
    early.socket.disconnectFromHost();
    QTRY_VERIFY(!model->listener()->isConnected());
    model->togglePause();

    // Starting resumes recording, and the first tap of the launch gets no wait however late.
    clock.advanceMs(60000);
    model->startAppWithRecorder();
    QVERIFY(model->isRecording());
    QVERIFY(!model->showLaunchLog());
    QVERIFY(model->launchRun());
    QTRY_VERIFY_WITH_TIMEOUT(model->listener()->isConnected(), 30000);
    // The app is up: the run leaves the view but is not cancelled, so it still stores its count.
    QVERIFY(!model->launchRun());
    QTRY_VERIFY_WITH_TIMEOUT(BuildStepMemory::expected(QStringLiteral("Recorder: Connects")).has_value(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(model->steps().size() >= 4, 10000);
    QCOMPARE(describeSteps(model->steps()), (QStringList{"tap early", "tap loginButton", "tap ", "tap "}));
    QCOMPARE(model->steps().at(2).step, ShotStep::tap(QString(), QStringLiteral("Einstellungen"), NormPoint{0.84, 0.95}));
    model->stopListening();
}

void TestRecorderModel::secondLaunchExpectsTheStoredStepCount()
{
    const XcodeProject project = m_home.project(QStringLiteral("Twice"));
    auto model = makeModel(project);
    model->startAppWithRecorder();
    QPointer<LaneRunModel> first = model->launchRun();
    QVERIFY(first);
    QVERIFY(!first->progress().expectedBuildSteps);
    QTRY_VERIFY_WITH_TIMEOUT(!first->isRunning(), 30000);
    QCOMPARE(model->launchTitle(), QStringLiteral("App gestartet — warte auf Verbindung…"));
    const std::optional<int> stored = BuildStepMemory::expected(QStringLiteral("Recorder: Twice"));
    QVERIFY(stored && *stored >= 1);
    QCOMPARE(*stored, first->progress().buildSteps);

    model->startAppWithRecorder();
    QVERIFY(model->launchRun() != first);
    QCOMPARE(model->launchRun()->progress().expectedBuildSteps, stored);
    model->cancelLaunch();
}

void TestRecorderModel::stoppingCancelsTheShownLaunch()
{
    qputenv("PATH", m_home.hangingToolsFolder().toUtf8() + ':' + qgetenv("PATH"));
    auto model = makeModel(m_home.project(QStringLiteral("Hangs")));
    model->startListening();
    model->startAppWithRecorder();
    QPointer<LaneRunModel> first = model->launchRun();
    QTRY_VERIFY(first->progress().buildSteps > 0 || first->isRunning());

    // A new start cancels the previous run first.
    model->startAppWithRecorder();
    QPointer<LaneRunModel> second = model->launchRun();
    QVERIFY(second != first);
    QVERIFY(!first || !first->isRunning());

    model->stopListening();
    QVERIFY(!second->isRunning());
    QVERIFY(!second->progress().exitCode);
    QCOMPARE(model->listener()->status(), RecorderListener::Status::idle());
}

void TestRecorderModel::shotNameRule_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("initial") << QStringLiteral("home") << QStringLiteral("home");
    QTest::newRow("empty") << QString() << QStringLiteral("shot");
    QTest::newRow("two blanks") << QStringLiteral("  ") << QStringLiteral("  ");
    QTest::newRow("untrimmed") << QStringLiteral(" Start ") << QStringLiteral(" Start ");
}

void TestRecorderModel::shotNameRule()
{
    QFETCH(QString, field);
    QFETCH(QString, expected);
    auto model = makeModel(m_home.project());
    model->addStep(Kind::Wait);
    model->setShotName(field);
    model->save();
    QCOMPARE(m_saved.size(), 1);
    QCOMPARE(m_saved.first().name, expected);
}

void TestRecorderModel::saveHandsOverOnceWithLocation()
{
    auto model = makeModel(m_home.project(), PlanLocation{48.1, 11.5});
    QSignalSpy finished(model.get(), &RecorderModel::finished);
    model->save();
    QVERIFY(m_saved.isEmpty()); // nothing to save yet

    model->startListening();
    QCOMPARE(model->location(), std::optional<PlanLocation>(PlanLocation{48.1, 11.5}));
    model->setLocation(PlanLocation{52.52, 13.405});
    model->addStep(Kind::Tap);
    model->addStep(Kind::Wait);
    const QList<ShotStepItem> steps = model->steps();
    model->save();
    model->save();
    QCOMPARE(m_saved.size(), 1);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!model->isRecording());
    const Shot &shot = m_saved.first();
    QVERIFY(!shot.id.isNull());
    QCOMPARE(shot.steps, steps);
    QVERIFY(!shot.laneID);
    QCOMPARE(shot.location, std::optional<PlanLocation>(PlanLocation{52.52, 13.405}));

    // Cleared in the sheet: the next shot has no location.
    auto other = makeModel(m_home.project());
    other->setLocation(std::nullopt);
    other->addStep(Kind::Tap);
    other->save();
    QCOMPARE(m_saved.size(), 2);
    QVERIFY(!m_saved.last().location);
}

void TestRecorderModel::saveWithFailingResolverKeepsTheSteps()
{
    auto model = makeModel(m_home.project());
    model->resolver()->setXcrunPath(QStringLiteral(VELORANCE_TEST_DATA_DIR "/driver/xcrun-no-devices"));
    model->setStabilize(true);
    model->addStep(Kind::Tap);
    model->addStep(Kind::Swipe);
    const QList<ShotStepItem> steps = model->steps();
    model->save();
    QTRY_COMPARE_WITH_TIMEOUT(m_saved.size(), 1, 10000);
    QCOMPARE(m_saved.first().steps, steps);
    QCOMPARE(model->resolver()->status().kind, StepResolver::Status::Kind::Failed);
    QCOMPARE(model->resolver()->status().message, QStringLiteral("Kein passendes Simulator-Gerät gefunden"));
}

QTEST_MAIN(TestRecorderModel)
#include "tst_recordermodel.moc"
