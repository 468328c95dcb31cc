#include "LibcGerman.h"
#include "MessageLocale.h"

#include <SimulatorLaunch.h>

#include <AppPaths.h>
#include <LaneRunModel.h>
#include <RecorderListener.h>
#include <ShellQuote.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString standins = QStringLiteral(VELORANCE_STANDIN_DIR);
const QString iphoneUdid = QStringLiteral("3F2504E0-4F89-41D3-9A0C-0305E82C3303");

struct Call
{
    QString tool;
    QStringList argv;
    QJsonObject env;
};

QList<Call> readLog(const QString &path)
{
    QList<Call> calls;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        Call call{object.value(QStringLiteral("tool")).toString(), {}, object.value(QStringLiteral("env")).toObject()};
        for (const QJsonValue &value : object.value(QStringLiteral("argv")).toArray())
            call.argv.append(value.toString());
        calls.append(call);
    }
    return calls;
}

QStringList summary(const QList<Call> &calls)
{
    QStringList lines;
    for (const Call &call : calls)
        lines.append(call.tool + QLatin1Char(' ') + call.argv.join(QLatin1Char(' ')));
    return lines;
}

const Call *findCall(const QList<Call> &calls, const QString &tool, const QString &first, const QString &second = {})
{
    for (const Call &call : calls) {
        if (call.tool == tool && call.argv.value(0) == first && (second.isEmpty() || call.argv.value(1) == second))
            return &call;
    }
    return nullptr;
}
} // namespace

class TestSimulatorLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        AppPaths::overrideApplicationSupport(m_home.filePath(QStringLiteral("support")));
        m_savedPath = qgetenv("PATH");
        qputenv("PATH", standins.toUtf8() + ':' + m_savedPath);
        qputenv("VELORANCE_STANDIN_DERIVED_DATA", m_home.filePath(QStringLiteral("dd")).toUtf8());
        qputenv("VELORANCE_STANDIN_APP_LINGER", "0.5");
        qputenv("VELORANCE_STANDIN_TAP_DELAY", "0");
        // A folder whose name would run commands if the script ever let the shell read it.
        m_projectFolder = m_home.filePath(QStringLiteral("My \"Proj\" $(touch %1) 'x' `touch %2`")
                                              .arg(canary(1), canary(2)));
        QVERIFY(QDir().mkpath(m_projectFolder));
        m_project = QDir(m_projectFolder).filePath(QStringLiteral("My App.xcodeproj"));
        QVERIFY(QDir().mkpath(m_project));
    }

    void cleanupTestCase()
    {
        qputenv("PATH", m_savedPath);
        AppPaths::overrideApplicationSupport(QString());
    }

    void init()
    {
        m_log = m_home.filePath(QStringLiteral("calls-%1.log").arg(++m_logNumber));
        qputenv("VELORANCE_STANDIN_LOG", m_log.toUtf8());
        qunsetenv("VELORANCE_STANDIN_SCHEMES");
    }

    void quotingKeepsEveryValueOneWord_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "a b  c";
        QTest::newRow("single quotes") << "it's 'quoted'";
        QTest::newRow("double quotes and dollar") << "\"$HOME\" ${PATH}";
        QTest::newRow("command substitution") << "$(echo hacked) `echo hacked`";
        QTest::newRow("separators") << "a; echo b | cat && c\nnext line";
        QTest::newRow("glob and tilde") << "~/* ?";
        QTest::newRow("leading dash") << "-n";
        QTest::newRow("umlauts") << "Grüße — ok";
    }
    void quotingKeepsEveryValueOneWord()
    {
        QFETCH(QString, value);
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"), QStringLiteral("printf '[%s]' ") + ShellQuote::quote(value)
                                               + QStringLiteral(" ; printf '%s' \"$#\"") });
        QVERIFY(shell.waitForFinished(5000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), QLatin1Char('[') + value + QStringLiteral("]0"));
    }

    void plainLaunch()
    {
        const QMap<QString, QString> environment{
            {QStringLiteral("API_MODE"), QStringLiteral("a b \"c\" $(touch %1) 'd'").arg(canary(3))},
            {QStringLiteral("EMPTY"), QString()},
        };
        const QStringList arguments{QStringLiteral("-demo"), QStringLiteral("two words"),
                                    QStringLiteral("$(touch %1)").arg(canary(4))};
        const QString script = SimulatorLaunch::makeScript(m_project, QStringLiteral("My App"),
                                                           QStringLiteral("de.example.app"), SimPlatform::iOS,
                                                           BuildConfiguration::Release, environment, arguments,
                                                           std::nullopt, std::nullopt);
        const int exitCode = runScript(script);
        QCOMPARE(exitCode, 0);
        const QList<Call> calls = readLog(m_log);

        QStringList expected{
            QStringLiteral("xcodebuild -list -project ") + m_project,
            QStringLiteral("xcrun simctl list devices available"),
            QStringLiteral("xcrun simctl boot ") + iphoneUdid,
            QStringLiteral("open -a Simulator --args -CurrentDeviceUDID ") + iphoneUdid,
            QStringLiteral("xcrun simctl bootstatus %1 -b").arg(iphoneUdid),
            QStringLiteral("xcodebuild build -project %1 -scheme My App -configuration Release -destination id=%2").arg(m_project, iphoneUdid),
            QStringLiteral("xcodebuild -showBuildSettings -project %1 -scheme My App -configuration Release -destination id=%2").arg(m_project, iphoneUdid),
            QStringLiteral("xcrun simctl install %1 %2").arg(iphoneUdid, appPath(QStringLiteral("Release"))),
            QStringLiteral("xcrun simctl launch --terminate-running-process %1 de.example.app -demo two words $(touch %2)")
                .arg(iphoneUdid, canary(4)),
        };
        QCOMPARE(summary(calls), expected);

        const Call &launch = calls.last();
        QCOMPARE(launch.argv.mid(5), arguments);
        QCOMPARE(launch.env.value(QStringLiteral("SIMCTL_CHILD_API_MODE")).toString(), environment.value("API_MODE"));
        QCOMPARE(launch.env.value(QStringLiteral("SIMCTL_CHILD_EMPTY")).toString(), QString());
        QVERIFY(launch.env.contains(QStringLiteral("SIMCTL_CHILD_EMPTY")));
        QCOMPARE(launch.env.size(), 2);
        verifyNoCanary();
    }

    void launchWithLocationPicksSchemeAndDebug()
    {
        qputenv("VELORANCE_STANDIN_SCHEMES", "Other Scheme,Second");
        const QString script = SimulatorLaunch::makeScript(
            m_project, QStringLiteral("Missing"), QStringLiteral("de.example.app"), SimPlatform::iOS,
            BuildConfiguration::Debug, {}, {}, SimulatorLaunch::Location{37.3349, -122.0}, std::nullopt);
        QCOMPARE(runScript(script), 0);
        const QList<Call> calls = readLog(m_log);
        const Call *build = findCall(calls, QStringLiteral("xcodebuild"), QStringLiteral("build"));
        QVERIFY(build);
        QCOMPARE(build->argv.mid(4, 4), (QStringList{"Other Scheme", "-configuration", "Debug", "-destination"}));
        const QStringList lines = summary(calls);
        const qsizetype install = lines.indexOf(QRegularExpression(QStringLiteral("xcrun simctl install .*")));
        const qsizetype location = lines.indexOf(QStringLiteral("xcrun simctl location %1 set 37.3349,-122.0").arg(iphoneUdid));
        const qsizetype launch = lines.indexOf(QRegularExpression(QStringLiteral("xcrun simctl launch .*")));
        QVERIFY(install >= 0);
        QVERIFY2(location > install, qPrintable(lines.join('\n')));
        QVERIFY(launch > location);
        QVERIFY(calls.at(launch).env.isEmpty());
    }

    void recorderLaunch()
    {
        QVERIFY(SimulatorLaunch::installRecorderTemplate().ok());
        const QString directory = SimulatorLaunch::recorderDirectory();
        QCOMPARE(directory, m_home.filePath(QStringLiteral("support/VeloranceStudio/RecorderDylib")));
        const QString library = QDir(directory).filePath(QStringLiteral("libVeloranceRecorder.dylib"));

        RecorderListener listener;
        listener.start();
        QVERIFY(listener.boundPort());
        SimulatorLaunch::RecorderSettings recorder{directory, library, *listener.boundPort(),
                                                   QStringLiteral("arm64-apple-ios15.0-simulator")};
        const QString script = SimulatorLaunch::makeScript(
            m_project, QStringLiteral("My App"), QStringLiteral("de.example.app"), SimPlatform::iOS,
            BuildConfiguration::Debug, {{QStringLiteral("MODE"), QStringLiteral("x y")}}, {}, std::nullopt, recorder);
        QCOMPARE(runScript(script), 0);
        QVERIFY(QFile::exists(library));

        const QList<Call> calls = readLog(m_log);
        const QStringList lines = summary(calls);
        QCOMPARE(lines.first(), QStringLiteral("xcrun -sdk iphonesimulator clang -target arm64-apple-ios15.0-simulator -c %1/ctor.c -o ")
                                    .arg(directory)
                 + calls.first().argv.last());
        QVERIFY2(lines.at(1).startsWith(QStringLiteral("xcrun -sdk iphonesimulator swiftc -target arm64-apple-ios15.0-simulator -emit-library")),
                 qPrintable(lines.at(1)));
        QVERIFY(calls.at(1).argv.contains(library));
        const Call *launch = findCall(calls, QStringLiteral("xcrun"), QStringLiteral("simctl"), QStringLiteral("launch"));
        QVERIFY(launch);
        QCOMPARE(launch->env.value(QStringLiteral("SIMCTL_CHILD_DYLD_INSERT_LIBRARIES")).toString(), library);
        QCOMPARE(launch->env.value(QStringLiteral("SIMCTL_CHILD_VRR_PORT")).toString(), QString::number(*listener.boundPort()));
        QCOMPARE(launch->env.value(QStringLiteral("SIMCTL_CHILD_MODE")).toString(), QStringLiteral("x y"));

        // The stand-in app connects to the listener and sends its three taps.
        QTRY_COMPARE_WITH_TIMEOUT(listener.eventCount(), 3, 15000);
        QCOMPARE(listener.pendingEvents().first().identifier, QStringLiteral("loginButton"));

        // A library newer than its sources is not built again.
        init();
        QCOMPARE(runScript(script), 0);
        const QStringList again = summary(readLog(m_log));
        QVERIFY2(!again.first().contains(QStringLiteral("clang")), qPrintable(again.first()));
        QTRY_COMPARE_WITH_TIMEOUT(listener.eventCount(), 6, 15000);
    }

    void failingBuildStopsTheScript()
    {
        qputenv("VELORANCE_STANDIN_BUILD_FAIL", "1");
        const QString script = SimulatorLaunch::makeScript(m_project, QStringLiteral("My App"), QStringLiteral("de.example.app"),
                                                           SimPlatform::iOS, BuildConfiguration::Release, {}, {},
                                                           std::nullopt, std::nullopt);
        const int exitCode = runScript(script);
        qunsetenv("VELORANCE_STANDIN_BUILD_FAIL");
        QCOMPARE(exitCode, 65);
        QVERIFY(!findCall(readLog(m_log), QStringLiteral("xcrun"), QStringLiteral("simctl"), QStringLiteral("install")));
        QVERIFY(m_lastLines.contains(QStringLiteral("== App bauen (Release) ==")));
    }

    void deviceChoiceFollowsThePlatform()
    {
        // A tvOS app gets the Apple TV; a platform without a matching device stops the script.
        const QString script = SimulatorLaunch::makeScript(m_project, QStringLiteral("My App"), QStringLiteral("de.example.tv"),
                                                           SimPlatform::tvOS, BuildConfiguration::Release, {}, {},
                                                           std::nullopt, std::nullopt);
        QCOMPARE(runScript(script), 0);
        QVERIFY(findCall(readLog(m_log), QStringLiteral("xcrun"), QStringLiteral("simctl"), QStringLiteral("boot"))
                    ->argv.contains(QStringLiteral("7D444840-9DC0-11D1-B245-5FFDCE74FA04")));

        init();
        QString broken = SimulatorLaunch::makeScript(m_project, QStringLiteral("My App"), QStringLiteral("de.example.app"),
                                                     SimPlatform::iOS, BuildConfiguration::Release, {}, {},
                                                     std::nullopt, std::nullopt);
        broken.replace(QStringLiteral("DEVICE_PREFIX=iPhone"), QStringLiteral("DEVICE_PREFIX=Toaster"));
        QCOMPARE(runScript(broken), 1);
        QVERIFY(m_lastLines.contains(QStringLiteral("Fehler: Kein verfügbarer iOS-Simulator gefunden.")));
    }

    // A CocoaPods project: built through its workspace it works; through the project alone
    // the stand-in fails as the real build does.
    void buildsThroughTheWorkspace()
    {
        const QString folder = m_home.filePath(QStringLiteral("Pods \"Beacon\" $(touch %1)").arg(canary(3)));
        const QString project = folder + QStringLiteral("/Beacon.xcodeproj");
        const QString workspace = folder + QStringLiteral("/Beacon.xcworkspace");
        QVERIFY(QDir().mkpath(project));
        QVERIFY(QDir().mkpath(workspace));
        for (const QString &file : {QStringLiteral("Podfile"), QStringLiteral("Beacon.xcworkspace/contents.xcworkspacedata")}) {
            QVERIFY(QFile::copy(QStringLiteral(VELORANCE_TEST_DATA_DIR "/xcode/Beacon/") + file, folder + u'/' + file));
        }
        const QString script = SimulatorLaunch::makeScript(project, QStringLiteral("Beacon"), QStringLiteral("org.example.beacon"),
                                                           SimPlatform::iOS, BuildConfiguration::Release, {}, {},
                                                           std::nullopt, std::nullopt, workspace);
        QCOMPARE(runScript(script, folder), 0);
        const QStringList calls = summary(readLog(m_log));
        QCOMPARE(calls.filter(QStringLiteral("xcodebuild")),
                 (QStringList{QStringLiteral("xcodebuild -list -workspace ") + workspace,
                              QStringLiteral("xcodebuild build -workspace %1 -scheme Beacon -configuration Release -destination id=%2")
                                  .arg(workspace, iphoneUdid),
                              QStringLiteral("xcodebuild -showBuildSettings -workspace %1 -scheme Beacon -configuration Release -destination id=%2")
                                  .arg(workspace, iphoneUdid)}));
        QVERIFY(calls.last().startsWith(QStringLiteral("xcrun simctl launch --terminate-running-process %1 org.example.beacon").arg(iphoneUdid)));
        verifyNoCanary();

        init();
        const QString withoutWorkspace = SimulatorLaunch::makeScript(project, QStringLiteral("Beacon"), QStringLiteral("org.example.beacon"),
                                                                     SimPlatform::iOS, BuildConfiguration::Release, {}, {},
                                                                     std::nullopt, std::nullopt);
        QCOMPARE(runScript(withoutWorkspace, folder), 65);
        QVERIFY(!summary(readLog(m_log)).filter(QStringLiteral("xcodebuild build -project ")).isEmpty());
    }

    void installRecorderTemplateWritesOnlyChanges()
    {
        QVERIFY(SimulatorLaunch::installRecorderTemplate().ok());
        const QDir directory(SimulatorLaunch::recorderDirectory());
        QFile swift(directory.filePath(QStringLiteral("recorder.swift")));
        QFile ctor(directory.filePath(QStringLiteral("ctor.c")));
        QVERIFY(swift.open(QIODevice::ReadOnly));
        QVERIFY(swift.readAll().contains("VRR_PORT"));
        swift.close();

        const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
        QVERIFY(swift.open(QIODevice::ReadWrite));
        QVERIFY(swift.setFileTime(old, QFileDevice::FileModificationTime));
        swift.close();
        QVERIFY(ctor.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ctor.write("changed");
        ctor.close();

        QVERIFY(SimulatorLaunch::installRecorderTemplate().ok());
        QCOMPARE(QFileInfo(swift.fileName()).lastModified().toUTC().toSecsSinceEpoch(), old.toSecsSinceEpoch());
        QVERIFY(ctor.open(QIODevice::ReadOnly));
        QVERIFY(ctor.readAll().contains("vrr_start"));
    }

    // A write that fails is told with the system's reason in German, whatever the process's
    // locale: the template's place is a link to a path below a plain file.
    void recorderTemplateFailureInGerman_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::newRow("C") << QByteArray("C");
        QTest::newRow("fr") << QByteArray("fr");
    }
    void recorderTemplateFailureInGerman()
    {
        QFETCH(QByteArray, language);
        const QString german = libcGerman("Not a directory");
        QVERIFY2(!german.isEmpty(), "libc-l10n's German catalogue is missing: run scripts/setup.sh");
        QDir directory(SimulatorLaunch::recorderDirectory());
        QVERIFY(directory.removeRecursively());
        QVERIFY(QDir().mkpath(directory.path()));
        const QString plain = m_home.filePath(QStringLiteral("plain"));
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString swift = directory.filePath(QStringLiteral("recorder.swift"));
        QVERIFY(QFile::link(plain + QStringLiteral("/x"), swift));

        Status installed = Status::success();
        {
            const MessageLocale locale(language);
            if (language != "C")
                QVERIFY2(MessageLocale::speaksOtherThanEnglish(), "libc-l10n's catalogue of this language is missing");
            installed = SimulatorLaunch::installRecorderTemplate();
        }
        QVERIFY(!installed.ok());
        QCOMPARE(installed.error(), QStringLiteral("%1 konnte nicht geschrieben werden: %2").arg(swift, german));
        QVERIFY(QFile::remove(swift));
        QVERIFY(SimulatorLaunch::installRecorderTemplate().ok());
    }

    void openAccessibilityInspector()
    {
        SimulatorLaunch::setToolPaths(standins + QStringLiteral("/xcode-select"), standins + QStringLiteral("/open"));
        const QString developer = m_home.filePath(QStringLiteral("Xcode.app/Contents/Developer"));
        const QString inspector = m_home.filePath(QStringLiteral("Xcode.app/Contents/Applications/Accessibility Inspector.app"));
        QVERIFY(QDir().mkpath(developer));
        qputenv("VELORANCE_STANDIN_DEVELOPER_DIR", developer.toUtf8());

        // Without the inspector in that Xcode: opened by name.
        SimulatorLaunch::openAccessibilityInspector();
        QTRY_COMPARE(summary(readLog(m_log)).value(1), QStringLiteral("open -a Accessibility Inspector"));

        init();
        QVERIFY(QDir().mkpath(inspector));
        SimulatorLaunch::openAccessibilityInspector();
        QTRY_COMPARE(summary(readLog(m_log)).value(1), QStringLiteral("open ") + inspector);

        // Missing tools are swallowed.
        SimulatorLaunch::setToolPaths(QStringLiteral("/nonexistent/xcode-select"), QStringLiteral("/nonexistent/open"));
        SimulatorLaunch::openAccessibilityInspector();
        SimulatorLaunch::setToolPaths(QString(), QString());
        qunsetenv("VELORANCE_STANDIN_DEVELOPER_DIR");
    }

private:
    QString canary(int n) const { return m_home.filePath(QStringLiteral("canary-%1").arg(n)); }

    void verifyNoCanary() const
    {
        for (int n = 1; n <= 4; ++n)
            QVERIFY2(!QFile::exists(canary(n)), qPrintable(canary(n)));
    }

    QString appPath(const QString &configuration) const
    {
        return m_home.filePath(QStringLiteral("dd/My App/Build/Products/%1-iphonesimulator/My App.app").arg(configuration));
    }

    // Runs the script the way the program does: a lane run through "/bin/sh -lc".
    int runScript(const QString &script, const QString &workingDirectory = QString())
    {
        LaneRunModel run(QStringLiteral("test"), script, workingDirectory.isEmpty() ? m_projectFolder : workingDirectory);
        std::optional<int> exitCode;
        run.onFinish = [&](int code) { exitCode = code; };
        run.start();
        if (!QTest::qWaitFor([&] { return exitCode.has_value(); }, 30000))
            return -1;
        m_lastLines = run.progress().recentLines;
        return *exitCode;
    }

    QTemporaryDir m_home;
    QByteArray m_savedPath;
    QString m_projectFolder;
    QString m_project;
    QString m_log;
    int m_logNumber = 0;
    QStringList m_lastLines;
};

QTEST_GUILESS_MAIN(TestSimulatorLaunch)
#include "tst_simulatorlaunch.moc"
