#pragma once

// Shared set-up of the recorder's tests: a temporary home with defaults and work folders,
// the simulator stand-ins first on PATH, a project the stand-ins can "build", a fixed clock
// for the listener and a small TCP client that plays the recorder library.

#include <RecorderListener.h>
#include <ShotStep.h>
#include <XcodeProject.h>

#include <AppPaths.h>
#include <Spring.h>
#include <UserDefaults.h>

#include <QDateTime>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

struct RecorderTestHome
{
    QTemporaryDir dir;
    QByteArray savedPath;

    void setUp()
    {
        QVERIFY(dir.isValid());
        UserDefaults::useFile(dir.filePath(QStringLiteral("defaults.ini")));
        AppPaths::overrideApplicationSupport(dir.filePath(QStringLiteral("support")));
        Motion::setAnimationsEnabled(false);
        savedPath = qgetenv("PATH");
        qputenv("PATH", QByteArray(VELORANCE_STANDIN_DIR) + ':' + savedPath);
        qputenv("VELORANCE_STANDIN_DERIVED_DATA", dir.filePath(QStringLiteral("dd")).toUtf8());
        qputenv("VELORANCE_STANDIN_LOG", dir.filePath(QStringLiteral("calls.log")).toUtf8());
        qputenv("VELORANCE_STANDIN_APP_LINGER", "3");
        qputenv("VELORANCE_STANDIN_TAP_DELAY", "0");
        qunsetenv("VELORANCE_STANDIN_BUILD_FAIL");
        qunsetenv("VELORANCE_STANDIN_TAPS");
    }

    void tearDown()
    {
        qputenv("PATH", savedPath);
        AppPaths::overrideApplicationSupport(QString());
    }

    // "<home>/<name>" with an empty "<name>.xcodeproj"; the stand-ins build it as scheme <name>.
    XcodeProject project(const QString &name = QStringLiteral("Demo"), bool bundleIdentifier = true) const
    {
        const QString folder = dir.filePath(name);
        QDir().mkpath(QDir(folder).filePath(name + QStringLiteral(".xcodeproj")));
        XcodeProject result;
        result.id = folder;
        result.name = name;
        result.url = folder;
        result.xcodeprojPath = QDir(folder).filePath(name + QStringLiteral(".xcodeproj"));
        if (bundleIdentifier)
            result.bundleIdentifier = QStringLiteral("de.example.demo");
        return result;
    }

    // A folder holding an `xcodebuild` that never ends, to be put first on PATH.
    QString hangingToolsFolder() const
    {
        const QString folder = dir.filePath(QStringLiteral("hanging"));
        QDir().mkpath(folder);
        const QString tool = QDir(folder).filePath(QStringLiteral("xcodebuild"));
        QFile file(tool);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("#!/bin/sh\necho \"SwiftCompile normal arm64 /x/File1.swift\"\nexec sleep 60\n");
            file.close();
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        }
        return folder;
    }
};

// The listener's receive time, moved by the test.
struct FixedClock
{
    QDateTime now = QDateTime(QDate(2026, 1, 5), QTime(10, 0), Qt::UTC);

    void install(RecorderListener *listener)
    {
        listener->setClock([this] { return now; });
    }
    void advanceMs(qint64 ms) { now = now.addMSecs(ms); }
};

inline QByteArray tapLine(const QString &identifier, const QString &label = QString(), double nx = 0.5, double ny = 0.5)
{
    QJsonObject object{{QStringLiteral("kind"), QStringLiteral("tap")},
                       {QStringLiteral("nx"), nx},
                       {QStringLiteral("ny"), ny}};
    if (!identifier.isNull()) {
        object.insert(QStringLiteral("identifier"), identifier);
        object.insert(QStringLiteral("selector"), identifier);
    }
    if (!label.isNull())
        object.insert(QStringLiteral("label"), label);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

// Plays the injected recorder library: one connection that writes tap lines.
struct TapClient
{
    QTcpSocket socket;

    bool connectTo(RecorderListener *listener)
    {
        if (!listener->boundPort())
            return false;
        socket.connectToHost(QStringLiteral("127.0.0.1"), *listener->boundPort());
        if (!socket.waitForConnected(5000))
            return false;
        return QTest::qWaitFor([listener] { return listener->isConnected(); }, 5000);
    }

    // Writes the bytes in one packet and waits until the listener holds `expectedEvents`.
    bool send(RecorderListener *listener, const QByteArray &bytes, qsizetype expectedEvents)
    {
        socket.write(bytes);
        socket.flush();
        return QTest::qWaitFor([&] { return listener->eventCount() >= expectedEvents; }, 5000);
    }
};

// "tap <selector>", "wait <seconds>" and so on: the shape of a step list at a glance.
inline QStringList describeSteps(const QList<ShotStepItem> &items)
{
    QStringList result;
    for (const ShotStepItem &item : items) {
        const ShotStep &step = item.step;
        if (const auto *tap = step.as<ShotStep::Tap>())
            result.append(QStringLiteral("tap ") + tap->selector);
        else if (const auto *wait = step.as<ShotStep::Wait>())
            result.append(QStringLiteral("wait ") + QString::number(wait->seconds));
        else if (const auto *text = step.as<ShotStep::TypeText>())
            result.append(QStringLiteral("type ") + text->selector);
        else if (const auto *swipe = step.as<ShotStep::Swipe>())
            result.append(QStringLiteral("swipe ") + swipe->selector);
    }
    return result;
}
