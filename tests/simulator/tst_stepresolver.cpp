#include <AppPaths.h>
#include <DriverSession.h>
#include <StepResolver.h>
#include <UserDefaults.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using Kind = StepResolver::Status::Kind;
using Result = std::optional<QList<ShotStepItem>>;

namespace {
constexpr int resolveTimeoutMs = 30000;
const QString standins = QStringLiteral(VELORANCE_STANDIN_DIR);
const QString driverData = QStringLiteral(VELORANCE_TEST_DATA_DIR "/driver/");

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The login-screen fixture is a 390 × 844 point screen.
NormPoint at(double x, double y)
{
    return {x / 390.0, y / 844.0};
}

QString describe(const StepResolver::Status &status)
{
    return QStringLiteral("kind %1, \"%2\", %3 steps, %4 upgraded")
        .arg(int(status.kind)).arg(status.message).arg(status.steps).arg(status.upgraded);
}

// What one resolve call delivered, once its completion has run.
struct Completion
{
    Result result = QList<ShotStepItem>{};
    bool done = false;

    std::function<void(Result)> handler()
    {
        return [this](Result steps) {
            result = std::move(steps);
            done = true;
        };
    }
};

QList<ShotStepItem> centreTap()
{
    return {ShotStepItem::make(ShotStep::tap(QString(), QString(), NormPoint{0.5, 0.5}))};
}

bool processGone(qint64 pid)
{
    const QString stat = readText(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(u')');
    return stat.isEmpty() || (close > 0 && stat.mid(close + 2, 1) == u"Z");
}
} // namespace

class StepResolverTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("PATH", standins.toUtf8() + ':' + qgetenv("PATH"));
        UserDefaults::useFile(m_home.filePath(QStringLiteral("defaults.ini")));
    }

    void init()
    {
        m_support.reset(new QTemporaryDir);
        AppPaths::overrideApplicationSupport(m_support->path());
        qputenv("VELORANCE_STANDIN_TREE", (driverData + QStringLiteral("login-screen.txt")).toUtf8());
        qunsetenv("VELORANCE_STANDIN_DRIVER_NEVER_READY");
        qunsetenv("VELORANCE_STANDIN_PIDFILE");
    }

    void cleanupTestCase() { AppPaths::overrideApplicationSupport(QString()); }

    void upgradesCoordinateStepsThroughTheDriver()
    {
        const QList<ShotStepItem> steps = {
            ShotStepItem::make(ShotStep::tap(QString(), QStringLiteral("Anmelden"), at(200, 120))),
            ShotStepItem::make(ShotStep::tap(QString(), QString(), at(100, 410))),
            ShotStepItem::make(ShotStep::typeText(QStringLiteral("email"), QStringLiteral("anna"))),
            ShotStepItem::make(ShotStep::wait(0.1)),
            ShotStepItem::make(ShotStep::swipe(QString(), QString(), at(50, 620), SwipeDirection::Left)),
            ShotStepItem::make(ShotStep::tap(QStringLiteral("existing"), QString(), std::nullopt)),
        };

        StepResolver resolver;
        resolver.setXcrunPath(standins + QStringLiteral("/xcrun"));
        QStringList messages;
        connect(&resolver, &StepResolver::statusChanged, this, [&] { messages << resolver.status().message; });
        Completion completion;
        resolver.resolve(steps, QStringLiteral("de.example.demo"), completion.handler());
        QVERIFY(resolver.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(completion.done, resolveTimeoutMs);
        const Result &result = completion.result;

        QVERIFY2(resolver.status() == (StepResolver::Status{Kind::Done, QString(), 6, 2}), qPrintable(describe(resolver.status())));
        QCOMPARE(messages.mid(0, 2), (QStringList{QStringLiteral("Gerät wählen…"),
                                                  QStringLiteral("XCUITest-Treiber startet (erster Lauf kann dauern)…")}));
        QVERIFY(result.has_value());
        QCOMPARE(result->size(), steps.size());
        QList<ShotStepItem> expected = steps;
        expected[0].step = ShotStep::tap(QStringLiteral("loginButton"), QStringLiteral("Anmelden"), at(200, 120));
        expected[4].step = ShotStep::swipe(QStringLiteral("row-1"), QString(), at(50, 620), SwipeDirection::Left);
        QCOMPARE(*result, expected);

        // Each coordinate step asked for a fresh tree; taps were replayed so later steps meet
        // their screen; a tap without a match is replayed at its point.
        DriverSession paths;
        const QString documents = paths.derivedDataFolder() + QStringLiteral("/StandinDevice/Documents");
        const QStringList commands = readText(documents + QStringLiteral("/commands.log")).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(commands, (QStringList{"DUMP|", "TAP|loginButton", "DUMP|",
                                        QStringLiteral("TAPXY|%1,%2").arg(100 / 390.0).arg(410 / 844.0), "DUMP|",
                                        "TAP|existing", "STOP|"}));
        QVERIFY(readText(paths.logPath()).contains(QStringLiteral("VRS-DOCS ") + documents));
    }

    void failsWithoutDevice()
    {
        StepResolver resolver;
        resolver.setXcrunPath(driverData + QStringLiteral("xcrun-no-devices"));
        Completion completion;
        resolver.resolve(centreTap(), QStringLiteral("de.example.demo"), completion.handler());
        QTRY_VERIFY(completion.done);
        QVERIFY(!completion.result.has_value());
        QCOMPARE(resolver.status(), (StepResolver::Status{Kind::Failed, QStringLiteral("Kein passendes Simulator-Gerät gefunden"), 0, 0}));
    }

    void failsWhenDriverNeverGetsReady()
    {
        const QString pidFile = m_support->filePath(QStringLiteral("driver.pid"));
        qputenv("VELORANCE_STANDIN_DRIVER_NEVER_READY", "1");
        qputenv("VELORANCE_STANDIN_PIDFILE", pidFile.toUtf8());
        StepResolver resolver;
        resolver.setXcrunPath(standins + QStringLiteral("/xcrun"));
        resolver.setReadyTimeoutMs(1500);
        Completion completion;
        resolver.resolve(centreTap(), QStringLiteral("de.example.demo"), completion.handler());
        QTRY_VERIFY_WITH_TIMEOUT(completion.done, resolveTimeoutMs);
        QVERIFY(!completion.result.has_value());
        QCOMPARE(resolver.status(), (StepResolver::Status{Kind::Failed, QStringLiteral("XCUITest-Treiber wurde nicht bereit"), 0, 0}));

        // The waiting driver does not outlive the failure.
        const qint64 pid = readText(pidFile).trimmed().toLongLong();
        QVERIFY(pid > 0);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 5000);
    }

    void picksDevice_data()
    {
        QTest::addColumn<QString>("listing");
        QTest::addColumn<QString>("device");

        const QString older = QStringLiteral("-- iOS 16.4 --\n    iPhone 14 (6B1B7C1E-2A61-4C53-9B5A-0C0D8E1F2A01) (Shutdown) \n");
        const QString newer = QStringLiteral("-- iOS 17.2 --\n"
                                             "    iPhone 15 (11111111-2222-3333-4444-555555555555) (Shutdown) \n"
                                             "    iPad Air (A2C4E6F8-1B3D-4F5A-8C7E-9D0B1A2C3D02) (Shutdown) \n");
        const QString tv = QStringLiteral("-- tvOS 17.2 --\n    Apple TV (7D444840-9DC0-11D1-B245-5FFDCE74FA04) (Booted) \n");
        QTest::newRow("newest iPhone") << "== Devices ==\n" + older + newer + tv << "11111111-2222-3333-4444-555555555555";
        QTest::newRow("booted iOS device first")
            << "== Devices ==\n" + QString(older).replace(QStringLiteral("Shutdown"), QStringLiteral("Booted")) + newer
            << "6B1B7C1E-2A61-4C53-9B5A-0C0D8E1F2A01";
        QTest::newRow("iPad when no iPhone")
            << "-- iOS 17.2 --\n    iPad Air (A2C4E6F8-1B3D-4F5A-8C7E-9D0B1A2C3D02) (Shutdown)\n"
            << "A2C4E6F8-1B3D-4F5A-8C7E-9D0B1A2C3D02";
        QTest::newRow("only other platforms") << tv << "";
        QTest::newRow("empty") << QString() << "";
    }

    void picksDevice()
    {
        QFETCH(QString, listing);
        QFETCH(QString, device);
        QCOMPARE(StepResolver::pickDevice(listing).value_or(QString()), device);
    }

    void driverSearchPath()
    {
        QCOMPARE(DriverSession::searchPath(QStringLiteral("/opt/tools")), QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin:/opt/tools"));
        QCOMPARE(DriverSession::searchPath(QString()), QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin"));
    }

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_support;
};

QTEST_GUILESS_MAIN(StepResolverTest)
#include "tst_stepresolver.moc"
