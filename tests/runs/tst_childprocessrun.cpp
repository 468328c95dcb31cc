#include "LibcGerman.h"
#include "MessageLocale.h"

#include <ChildProcessRun.h>
#include <LineSplitter.h>
#include <ProcessGroupReaper.h>

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

namespace {
struct Outcome
{
    QStringList lines;
    int exitCode = -1;
    bool finished = false;
};

// Runs the command to its end and collects what the run reported.
Outcome runToEnd(const QString &command, const QString &workingDirectory = QDir::tempPath(),
                 const QMap<QString, QString> &extra = {}, const QString &shell = QString())
{
    Outcome outcome;
    ChildProcessRun run;
    if (!shell.isEmpty())
        run.setShellPath(shell);
    run.setExtraEnvironment(extra);
    QObject::connect(&run, &ChildProcessRun::linesReady, [&](const QStringList &lines) { outcome.lines += lines; });
    QObject::connect(&run, &ChildProcessRun::finished, [&](int code) {
        outcome.exitCode = code;
        outcome.finished = true;
    });
    run.start(command, workingDirectory);
    if (!QTest::qWaitFor([&] { return outcome.finished; }, 20000))
        outcome.lines.append(QStringLiteral("(timed out)"));
    return outcome;
}

// A process that is gone or only waits to be reaped.
bool processGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) == "Z";
}

// A grandchild that ignores SIGTERM writes its id to the file; only SIGKILL ends it.
QString stubbornGrandchild(const QString &pidFile)
{
    return QStringLiteral("sh -c 'trap \"\" TERM; echo $$ > \"%1\"; while :; do sleep 1; done' & echo started; wait")
        .arg(pidFile);
}

qint64 readPid(const QString &pidFile)
{
    QFile file(pidFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
}
} // namespace

class TestChildProcessRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitterCarriesPartialLines_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("rest");

        QTest::newRow("one chunk") << QList<QByteArray>{"a\nb\n"} << QStringList{"a", "b"} << QString();
        QTest::newRow("line across chunks") << QList<QByteArray>{"ab", "c\nd", "e\n"} << QStringList{"abc", "de"}
                                            << QString();
        QTest::newRow("partial last line") << QList<QByteArray>{"a\nlast"} << QStringList{"a"} << QStringLiteral("last");
        QTest::newRow("crlf") << QList<QByteArray>{"a\r\nb\r", "\n"} << QStringList{"a", "b"} << QString();
        QTest::newRow("empty lines kept") << QList<QByteArray>{"\n\nx\n"} << QStringList{"", "", "x"} << QString();
        // "ü" is two bytes; the chunk boundary falls between them.
        QTest::newRow("utf-8 cut in two") << QList<QByteArray>{"gr\xc3", "\xbcn\n"} << QStringList{QStringLiteral("grün")}
                                          << QString();
    }
    void splitterCarriesPartialLines()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QStringList, expected);
        QFETCH(QString, rest);
        LineSplitter splitter;
        QStringList lines;
        for (const QByteArray &chunk : chunks)
            lines += splitter.feed(chunk);
        QCOMPARE(lines, expected);
        QCOMPARE(splitter.flush().value_or(QString()), rest);
        QVERIFY(!splitter.flush());
    }

    // Output without newlines must not grow memory: the line goes out cut at the cap as soon
    // as it passes it, and the rest of it is dropped.
    void splitterCapsOverlongLines()
    {
        const qsizetype cap = LineSplitter::maxLineBytes;
        LineSplitter splitter;
        const QByteArray block(10 * 1024, 'x');
        QStringList lines;
        for (int i = 0; i < 6; ++i)
            lines += splitter.feed(block);
        QVERIFY(lines.isEmpty());
        lines += splitter.feed(block);   // passes the cap
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first(), QString(cap, u'x'));
        for (int i = 0; i < 20; ++i)
            QVERIFY(splitter.feed(block).isEmpty());
        QCOMPARE(splitter.feed("rest of it\nnext\n"), QStringList{QStringLiteral("next")});
        QVERIFY(!splitter.flush());

        // Within one chunk, and at the end of the output.
        QCOMPARE(splitter.feed(QByteArray(cap + 10, 'y') + "\nok\n" + QByteArray(cap + 1, 'z')),
                 (QStringList{QString(cap, u'y'), QStringLiteral("ok"), QString(cap, u'z')}));
        QVERIFY(!splitter.flush());
        // A line of exactly the cap is whole, also with a carriage return after it.
        QCOMPARE(splitter.feed(QByteArray(cap, 'w') + "\r\n"), QStringList{QString(cap, u'w')});
    }

    void splitterNeverCutsACharacter_data()
    {
        QTest::addColumn<QByteArray>("character");
        QTest::addColumn<int>("keptBefore");   // bytes of the character that fit before the cap

        QTest::newRow("two bytes, one fits") << QByteArray("\xc3\xbc") << 1;
        QTest::newRow("three bytes, two fit") << QByteArray("\xe2\x96\xb8") << 2;
        QTest::newRow("four bytes, three fit") << QByteArray("\xf0\x9f\x93\xb7") << 3;
        QTest::newRow("four bytes, one fits") << QByteArray("\xf0\x9f\x93\xb7") << 1;
    }
    void splitterNeverCutsACharacter()
    {
        QFETCH(QByteArray, character);
        QFETCH(int, keptBefore);
        const qsizetype filler = LineSplitter::maxLineBytes - keptBefore;
        LineSplitter splitter;
        const QStringList lines = splitter.feed(QByteArray(filler, 'a') + character + character + '\n');
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first(), QString(filler, u'a'));
    }

    void printsLinesAndExitCode_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("lines") << "echo eins; echo zwei >&2; echo drei" << QStringList{"eins", "zwei", "drei"} << 0;
        QTest::newRow("partial last line") << "echo eins; printf 'ohne Ende'" << QStringList{"eins", "ohne Ende"} << 0;
        QTest::newRow("exit 3") << "echo vorher; exit 3" << QStringList{"vorher"} << 3;
        QTest::newRow("no output") << "true" << QStringList{} << 0;
        QTest::newRow("a megabyte without newline")
            << "head -c 1048576 /dev/zero | tr '\\000' x; echo; echo next"
            << QStringList{QString(LineSplitter::maxLineBytes, u'x'), QStringLiteral("next")} << 0;
    }
    void printsLinesAndExitCode()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, lines);
        QFETCH(int, exitCode);
        const Outcome outcome = runToEnd(command);
        QCOMPARE(outcome.lines, lines);
        QCOMPARE(outcome.exitCode, exitCode);
    }

    // One line with the system's reason in German, whatever the process's locale, and without
    // the name of the call that failed.
    void shellThatCannotStart_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QByteArray>("english");

        for (const char *language : {"C", "fr"}) {
            QTest::addRow("missing, %s", language)
                << QByteArray(language) << QStringLiteral("/nonexistent/velorance-shell") << QByteArray("No such file or directory");
            QTest::addRow("below a file, %s", language)
                << QByteArray(language) << QStringLiteral("file/velorance-shell") << QByteArray("Not a directory");
            QTest::addRow("not executable, %s", language)
                << QByteArray(language) << QStringLiteral("file") << QByteArray("Permission denied");
        }
    }
    void shellThatCannotStart()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, shell);
        QFETCH(QByteArray, english);
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString german = libcGerman(english.constData());
        QVERIFY2(!german.isEmpty(), "libc-l10n's German catalogue is missing: run scripts/setup.sh");

        const MessageLocale locale(language);
        if (language != "C")
            QVERIFY2(MessageLocale::speaksOtherThanEnglish(), "libc-l10n's catalogue of this language is missing");
        const Outcome outcome = runToEnd(QStringLiteral("echo nie"), QDir::tempPath(), {},
                                         shell.startsWith(u'/') ? shell : folder.filePath(shell));
        QCOMPARE(outcome.exitCode, 127);
        QCOMPARE(outcome.lines, QStringList{QStringLiteral("Konnte den Befehl nicht starten: ") + german});
    }

    void environmentAndWorkingDirectory()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        // A tool found only on the inherited search path must still be found, although a
        // login shell's profile may reset PATH.
        QTemporaryDir tools;
        QFile tool(tools.filePath(QStringLiteral("velorance-probe")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\necho probe-ok\n");
        tool.close();
        tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", tools.path().toUtf8() + ':' + savedPath);

        const Outcome outcome = runToEnd(
            QStringLiteral("pwd; echo \"$PATH\"; echo \"$FASTLANE_SKIP_UPDATE_CHECK$FASTLANE_DISABLE_COLORS\"; "
                           "echo \"$EXTRA_VALUE\"; velorance-probe"),
            folder.path(), {{QStringLiteral("EXTRA_VALUE"), QStringLiteral("a b 'c'")}});
        qputenv("PATH", savedPath);

        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(outcome.lines.size(), 5);
        QCOMPARE(QFileInfo(outcome.lines.at(0)).canonicalFilePath(), QFileInfo(folder.path()).canonicalFilePath());
        QCOMPARE(outcome.lines.at(1), QStringLiteral("/opt/homebrew/bin:/usr/local/bin:/usr/bin:/bin:") + tools.path()
                                          + ':' + QString::fromUtf8(savedPath));
        QCOMPARE(outcome.lines.at(2), QStringLiteral("11"));
        QCOMPARE(outcome.lines.at(3), QStringLiteral("a b 'c'"));
        QCOMPARE(outcome.lines.at(4), QStringLiteral("probe-ok"));
    }

    void searchPathWithoutInheritedPath()
    {
        QCOMPARE(ChildProcessRun::searchPath(QString()), QStringLiteral("/opt/homebrew/bin:/usr/local/bin:/usr/bin:/bin"));
        QCOMPARE(ChildProcessRun::searchPath(QStringLiteral("/x")),
                 QStringLiteral("/opt/homebrew/bin:/usr/local/bin:/usr/bin:/bin:/x"));
    }

    void cancelEndsChildAndGrandchild()
    {
        QTemporaryDir folder;
        const QString pidFile = folder.filePath(QStringLiteral("grandchild.pid"));
        // The grandchild ignores SIGTERM, so only the SIGKILL after the grace time ends it.
        const QString command = stubbornGrandchild(pidFile);
        auto run = std::make_unique<ChildProcessRun>();
        run->setCancelGraceMs(300);
        bool finished = false;
        QStringList lines;
        connect(run.get(), &ChildProcessRun::finished, this, [&] { finished = true; });
        connect(run.get(), &ChildProcessRun::linesReady, this, [&](const QStringList &l) { lines += l; });
        run->start(command, folder.path());
        QTRY_COMPARE_WITH_TIMEOUT(lines, QStringList{QStringLiteral("started")}, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pidFile) && QFileInfo(pidFile).size() > 0, 10000);
        const qint64 grandchild = readPid(pidFile);
        const qint64 shell = run->processId();
        QVERIFY(grandchild > 0);
        QVERIFY(shell > 0);
        QVERIFY(!processGone(grandchild));

        run->cancel();
        run.reset();
        QTRY_VERIFY_WITH_TIMEOUT(processGone(shell), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(grandchild), 10000);
        QTest::qWait(100);
        QVERIFY(!finished);
        QCOMPARE(lines, QStringList{QStringLiteral("started")});
        // The process object is freed once the shell is gone.
        QTRY_COMPARE(ProcessGroupReaper::instance()->pendingCount(), 0);
    }

    // What the quit routine does: the grace time is waited out there and then, and no
    // process object is left for an event loop that will not run again.
    void finishingAllEndsCancelledAndRunningGroups()
    {
        QTemporaryDir folder;
        const QString cancelledPid = folder.filePath(QStringLiteral("cancelled.pid"));
        const QString runningPid = folder.filePath(QStringLiteral("running.pid"));
        ChildProcessRun cancelled;
        ChildProcessRun running;
        bool finished = false;
        connect(&running, &ChildProcessRun::finished, this, [&] { finished = true; });
        for (ChildProcessRun *run : {&cancelled, &running})
            run->setCancelGraceMs(300);
        cancelled.start(stubbornGrandchild(cancelledPid), folder.path());
        running.start(stubbornGrandchild(runningPid), folder.path());
        QTRY_VERIFY_WITH_TIMEOUT(readPid(cancelledPid) > 0 && readPid(runningPid) > 0, 10000);
        const qint64 grandchildren[] = {readPid(cancelledPid), readPid(runningPid)};

        cancelled.cancel();
        ProcessGroupReaper::instance()->finishAll();
        for (const qint64 pid : grandchildren)
            QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 2000);
        QCOMPARE(ProcessGroupReaper::instance()->pendingCount(), 0);
        QVERIFY(!running.isRunning());
        QTest::qWait(50);
        QVERIFY(!finished);
    }

    // The program quitting right after a cancel, or with a run still going, ends every
    // process group after the grace time and frees every process object (a leak makes the
    // probe fail under LeakSanitizer).
    void quittingEndsEveryProcessGroup_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("right after a cancel") << QStringLiteral("cancel");
        QTest::newRow("while running") << QStringLiteral("running");
    }
    void quittingEndsEveryProcessGroup()
    {
        QFETCH(QString, mode);
        QTemporaryDir folder;
        const QString pidFile = folder.filePath(QStringLiteral("grandchild.pid"));
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedChannels);
        probe.start(QStringLiteral(RUN_QUIT_PROBE), {mode, pidFile});
        QVERIFY(probe.waitForFinished(20000));
        const qint64 grandchild = readPid(pidFile);
        const auto cleanUp = qScopeGuard([grandchild] {
            if (grandchild > 0 && !processGone(grandchild))
                ::kill(pid_t(grandchild), SIGKILL);
        });
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        QVERIFY(grandchild > 0);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(grandchild), 2000);
    }
};

QTEST_GUILESS_MAIN(TestChildProcessRun)
#include "tst_childprocessrun.moc"
