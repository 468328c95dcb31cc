#include <LaneRunModel.h>

#include <UserDefaults.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLaneRunModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        UserDefaults::useFile(m_folder.filePath(QStringLiteral("defaults.ini")));
    }

    void newRunIsIdle()
    {
        LaneRunModel run(QStringLiteral("Recorder: App"), QStringLiteral("true"), m_folder.path());
        QVERIFY(!run.id().isNull());
        QCOMPARE(run.title(), QStringLiteral("Recorder: App"));
        QVERIFY(!run.isRunning());
        QVERIFY(!run.hasTask());
        QVERIFY(run.progress().recentLines.isEmpty());
        QVERIFY(!run.progress().expectedBuildSteps);
        QVERIFY(!run.progress().exitCode);
    }

    void runsToTheEndThenCallsOnFinish()
    {
        LaneRunModel run(QStringLiteral("t"), QStringLiteral("echo a; echo 'SwiftCompile normal x'; exit 4"),
                         m_folder.path());
        QStringList order;
        std::optional<int> finishedWith;
        connect(&run, &LaneRunModel::isRunningChanged, this,
                [&](bool running) { order << (running ? QStringLiteral("running") : QStringLiteral("stopped")); });
        run.onFinish = [&](int code) {
            // The progress is complete and the run no longer running when the owner hears of it.
            QVERIFY(!run.isRunning());
            QVERIFY(run.progress().finished);
            finishedWith = code;
            order << QStringLiteral("onFinish");
        };
        run.start();
        QVERIFY(run.isRunning());
        run.start(); // ignored while running
        QTRY_VERIFY_WITH_TIMEOUT(finishedWith.has_value(), 10000);
        QCOMPARE(*finishedWith, 4);
        QCOMPARE(order, (QStringList{"running", "stopped", "onFinish"}));
        QCOMPARE(run.progress().exitCode, 4);
        QCOMPARE(run.progress().recentLines, (QStringList{"a", "SwiftCompile normal x"}));
        QCOMPARE(run.progress().buildSteps, 1);

        // A run that had its task does not start again.
        run.start();
        QVERIFY(!run.isRunning());
    }

    void cancelEndsWithoutOnFinish()
    {
        LaneRunModel run(QStringLiteral("t"), QStringLiteral("echo begin; sleep 30; echo never"), m_folder.path());
        bool called = false;
        run.onFinish = [&](int) { called = true; };
        run.start();
        QTRY_COMPARE_WITH_TIMEOUT(run.progress().recentLines, QStringList{"begin"}, 10000);
        run.cancel();
        QVERIFY(!run.isRunning());
        QVERIFY(!run.hasTask());
        QTest::qWait(200);
        QVERIFY(!called);
        QVERIFY(!run.progress().exitCode);
        QCOMPARE(run.progress().recentLines, QStringList{"begin"});
    }

    void floodOfLinesIsCoalesced()
    {
        LaneRunModel run(QStringLiteral("t"), QStringLiteral("i=0; while [ $i -lt 20000 ]; do echo line $i; i=$((i+1)); done"),
                         m_folder.path());
        QSignalSpy changes(&run, &LaneRunModel::progressChanged);
        bool done = false;
        run.onFinish = [&](int) { done = true; };
        run.start();
        QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
        QCOMPARE(run.progress().recentLines.size(), 400);
        QCOMPARE(run.progress().recentLines.last(), QStringLiteral("line 19999"));
        QVERIFY2(changes.count() < 500, qPrintable(QString::number(changes.count())));
    }

    void buildStepMemory()
    {
        const QString title = QStringLiteral("Recorder: My/App: 1");
        QCOMPARE(BuildStepMemory::key(title), QStringLiteral("buildSteps.Recorder: My/App: 1"));
        QVERIFY(!BuildStepMemory::expected(title));
        BuildStepMemory::remember(title, 1, 30);   // failed run
        BuildStepMemory::remember(title, 0, 0);    // no steps counted
        QVERIFY(!BuildStepMemory::expected(title));
        BuildStepMemory::remember(title, 0, 42);
        QCOMPARE(BuildStepMemory::expected(title), 42);
        UserDefaults::standard().setValue(BuildStepMemory::key(title), 0);
        QVERIFY(!BuildStepMemory::expected(title));
        UserDefaults::standard().setValue(BuildStepMemory::key(title), QStringLiteral("viele"));
        QVERIFY(!BuildStepMemory::expected(title));
    }

private:
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestLaneRunModel)
#include "tst_lanerunmodel.moc"
