#include "LibcGerman.h"

#include <SimulatorLocation.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString standinXcrun = QStringLiteral(VELORANCE_STANDIN_DIR "/xcrun");
}

class TestSimulatorLocation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QCOMPARE(SimulatorLocation::xcrunPath(), QStringLiteral("/usr/bin/xcrun"));
    }

    void init()
    {
        qunsetenv("VELORANCE_STANDIN_LOCATION_FAIL");
        qunsetenv("VELORANCE_STANDIN_LOCATION_MESSAGE");
        SimulatorLocation::setXcrunPath(standinXcrun);
    }

    void coordinateArgument_data()
    {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<QString>("text");

        QTest::newRow("apple park") << 37.3349 << -122.009 << "37.3349,-122.009";
        QTest::newRow("whole numbers keep .0") << 37.0 << -122.0 << "37.0,-122.0";
        QTest::newRow("zero") << 0.0 << 0.0 << "0.0,0.0";
        QTest::newRow("shortest round trip") << 0.1 + 0.2 << 151.2093 << "0.30000000000000004,151.2093";
        QTest::newRow("tiny") << 0.00001 << 10.5 << "1e-05,10.5";
    }
    void coordinateArgument()
    {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(QString, text);
        QCOMPARE(SimulatorLocation::coordinateArgument(latitude, longitude), text);
    }

    void outcomes_data()
    {
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QByteArray>("failEnv");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");

        QTest::newRow("set") << false << QByteArray() << QByteArray() << true << "Standort gesetzt";
        QTest::newRow("clear") << true << QByteArray() << QByteArray() << true << "Standort zurückgesetzt";
        QTest::newRow("exit 1 with output") << false << QByteArray() << QByteArray("  No devices are booted.\n\n") << false
                                            << "No devices are booted.";
        QTest::newRow("exit 1 without output") << false << QByteArray("1") << QByteArray() << false
                                               << "Fehler (Code 1) — läuft ein Simulator?";
        QTest::newRow("clear fails without output") << true << QByteArray("1") << QByteArray() << false
                                                    << "Fehler (Code 1) — läuft ein Simulator?";
    }
    void outcomes()
    {
        QFETCH(bool, clear);
        QFETCH(QByteArray, failEnv);
        QFETCH(QByteArray, message);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        if (!failEnv.isEmpty())
            qputenv("VELORANCE_STANDIN_LOCATION_FAIL", failEnv);
        if (!message.isEmpty())
            qputenv("VELORANCE_STANDIN_LOCATION_MESSAGE", message);
        const QString log = m_folder.filePath(QStringLiteral("%1.log").arg(QTest::currentDataTag()));
        qputenv("VELORANCE_STANDIN_LOG", log.toUtf8());

        std::optional<SimulatorLocation::Outcome> outcome;
        QObject context;
        const auto completion = [&](const SimulatorLocation::Outcome &o) { outcome = o; };
        if (clear)
            SimulatorLocation::clear(&context, completion);
        else
            SimulatorLocation::set(37.3349, -122.0, &context, completion);
        QVERIFY(!outcome); // the call does not block
        QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 10000);
        QCOMPARE(outcome->ok, ok);
        QCOMPARE(outcome->message, text);

        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonArray argv = QJsonDocument::fromJson(file.readLine()).object().value(QStringLiteral("argv")).toArray();
        const QStringList expected = clear ? QStringList{"simctl", "location", "booted", "clear"}
                                           : QStringList{"simctl", "location", "booted", "set", "37.3349,-122.0"};
        QCOMPARE(argv.toVariantList().size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(argv.at(i).toString(), expected.at(i));
    }

    void missingTool()
    {
        SimulatorLocation::setXcrunPath(m_folder.filePath(QStringLiteral("no-such-xcrun")));
        std::optional<SimulatorLocation::Outcome> outcome;
        QObject context;
        SimulatorLocation::set(1, 2, &context, [&](const SimulatorLocation::Outcome &o) { outcome = o; });
        QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 10000);
        QVERIFY(!outcome->ok);
        QVERIFY(!outcome->message.isEmpty());
        QVERIFY(!outcome->message.startsWith(QStringLiteral("Fehler (Code")));
        // The system's reason in German, without the name of the call that failed.
        const QString german = libcGerman("No such file or directory");
        QVERIFY(!german.isEmpty());
        QCOMPARE(outcome->message, german);
    }

    void completionDroppedWhenContextIsGone()
    {
        const QString log = m_folder.filePath(QStringLiteral("gone.log"));
        qputenv("VELORANCE_STANDIN_LOG", log.toUtf8());
        bool called = false;
        auto context = std::make_unique<QObject>();
        SimulatorLocation::set(1, 2, context.get(), [&](const SimulatorLocation::Outcome &) { called = true; });
        context.reset();
        // The command still runs to its end.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 10000);
        QTest::qWait(300);
        QVERIFY(!called);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestSimulatorLocation)
#include "tst_simulatorlocation.moc"
