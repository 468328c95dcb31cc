#include <LaneRunProgress.h>

#include <TimeBudget.h>

#include <QTest>

class TestLaneRunProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsTheLast400Lines()
    {
        LaneRunProgress progress;
        for (int i = 0; i < 1000; ++i)
            progress.ingest(QString::number(i));
        QCOMPARE(progress.recentLines.size(), 400);
        QCOMPARE(progress.recentLines.first(), QStringLiteral("600"));
        QCOMPARE(progress.recentLines.last(), QStringLiteral("999"));
    }

    void countsBuildSteps_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("counted");

        QTest::newRow("SwiftCompile") << "SwiftCompile normal arm64 /p/A.swift (in target 'A' from project 'A')" << true;
        QTest::newRow("CompileC") << "CompileC /dd/x.o /p/x.m normal arm64 objective-c" << true;
        QTest::newRow("Ld") << "Ld /dd/A.app/A normal (in target 'A' from project 'A')" << true;
        QTest::newRow("CodeSign") << "CodeSign /dd/A.app (in target 'A' from project 'A')" << true;
        QTest::newRow("PhaseScriptExecution") << "PhaseScriptExecution Run\\ Script /dd/x.sh" << true;
        QTest::newRow("xcpretty via fastlane") << "[10:41:02]: ▸ Compiling AppDelegate.swift" << true;
        QTest::newRow("indented command") << "    cd /Users/me/App" << false;
        QTest::newRow("word without blank") << "Ld" << false;
        QTest::newRow("lower case") << "ld: warning: something" << false;
        QTest::newRow("result line") << "** BUILD SUCCEEDED **" << false;
        QTest::newRow("plain prose") << "Compiling is fun" << false;
        QTest::newRow("empty") << "" << false;
    }
    void countsBuildSteps()
    {
        QFETCH(QString, line);
        QFETCH(bool, counted);
        LaneRunProgress progress;
        progress.ingest(line);
        QCOMPARE(progress.buildSteps, counted ? 1 : 0);
    }

    void followsLanguageMarkers()
    {
        LaneRunProgress progress;
        progress.ingest(QStringLiteral("SHOT-START de-DE"));
        progress.ingest(QStringLiteral("SHOT-START en-US"));
        QCOMPARE(progress.languagesActive, (QStringList{"de-DE", "en-US"}));
        progress.ingest(QStringLiteral("    t =     4.20s SHOT-DONE de-DE"));
        QCOMPARE(progress.languagesActive, QStringList{"en-US"});
        QCOMPARE(progress.languagesDone, QStringList{"de-DE"});
        progress.ingest(QStringLiteral("SHOT-DONE de-DE"));
        progress.ingest(QStringLiteral("SHOT-STARTED nothing"));
        QCOMPARE(progress.languagesDone, QStringList{"de-DE"});
        QCOMPARE(progress.languagesActive, QStringList{"en-US"});
        QCOMPARE(progress.buildSteps, 0);
    }

    void manyDistinctLanguages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("withDone");

        QTest::newRow("60,000 starts") << 60000 << false;
        QTest::newRow("200,000 starts") << 200000 << false;
        QTest::newRow("100,000 starts and dones") << 100000 << true;
    }
    // Console output is not trusted: a flood of distinct markers is followed in linear time
    // and the lists stop growing at the cap.
    void manyDistinctLanguages()
    {
        QFETCH(int, count);
        QFETCH(bool, withDone);
        QStringList lines;
        lines.reserve(withDone ? 2 * count : count);
        for (int i = 0; i < count; ++i) {
            lines.append(QStringLiteral("SHOT-START l%1").arg(i));
            if (withDone)
                lines.append(QStringLiteral("SHOT-DONE l%1").arg(i));
        }

        LaneRunProgress progress;
        const double ms = TimeBudget::bestMs(QTest::currentDataTag(), [&] {
            progress = LaneRunProgress();
            for (const QString &line : std::as_const(lines))
                progress.ingest(line);
        });
        // A microsecond a line leaves room for a busy machine; the quadratic parser took
        // seconds to minutes here.
        QVERIFY2(ms < TimeBudget::scaled(lines.size() / 1000), qPrintable(QString::number(ms)));

        const qsizetype cap = LaneRunProgress::maxLanguages;
        QCOMPARE(progress.languagesActive.size() + progress.languagesDone.size(), cap);
        const QStringList &kept = withDone ? progress.languagesDone : progress.languagesActive;
        QCOMPARE(kept.first(), QStringLiteral("l0"));
        QCOMPARE(kept.last(), QStringLiteral("l%1").arg(cap - 1));
        if (withDone)
            QVERIFY(progress.languagesActive.isEmpty());
        QCOMPARE(progress.recentLines.size(), LaneRunProgress::maxRecentLines);
    }

    void summary_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("expected");   // 0: none
        QTest::addColumn<QString>("summary");

        const QString step = QStringLiteral("SwiftCompile normal arm64 /p/A.swift");
        QTest::newRow("nothing yet") << QStringList{"Building…", "Prepare packages"} << 40 << QString();
        QTest::newRow("steps without expectation") << QStringList{step, step, step} << 0 << "3 Schritte";
        QTest::newRow("steps with expectation") << QStringList{step, step} << 40 << "2 / ~40 Schritte";
        QTest::newRow("more than expected") << QStringList{step, step, step} << 2 << "3 / ~2 Schritte";
        QTest::newRow("one language running") << QStringList{step, "SHOT-START de-DE"} << 40
                                              << "Sprachen: 0 fertig, 1 läuft (de-DE)";
        QTest::newRow("languages done and running")
            << QStringList{"SHOT-START de-DE", "SHOT-DONE de-DE", "SHOT-START en-US", "SHOT-START fr-FR"} << 0
            << "Sprachen: 1 fertig, 2 laufen (en-US, fr-FR)";
        QTest::newRow("all languages done") << QStringList{"SHOT-START de", "SHOT-DONE de"} << 0 << "Sprachen: 1 fertig";
    }
    void summary()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, expected);
        QFETCH(QString, summary);
        LaneRunProgress progress;
        if (expected > 0)
            progress.expectedBuildSteps = expected;
        for (const QString &line : lines)
            progress.ingest(line);
        QCOMPARE(progress.summary(), summary);
    }

    void finishRecordsExitCode()
    {
        LaneRunProgress progress;
        QVERIFY(!progress.exitCode);
        progress.finish(65);
        QVERIFY(progress.finished);
        QCOMPARE(progress.exitCode, 65);
    }
};

QTEST_GUILESS_MAIN(TestLaneRunProgress)
#include "tst_lanerunprogress.moc"
