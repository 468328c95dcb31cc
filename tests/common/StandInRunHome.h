#pragma once

// Shared set-up of the tests that run the simulator stand-ins: user defaults in a temporary
// home, the stand-ins first on PATH, fresh Application Support and project folders for every
// test, and a small iOS project for the runs.

#include <AppPaths.h>
#include <RunnerProject.h>
#include <ScreenshotPlan.h>
#include <UserDefaults.h>
#include <XcodeProject.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <memory>

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// True once the process is gone (a zombie waiting for its reaper counts as gone).
inline bool processGone(qint64 pid)
{
    const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.isEmpty())
        return true;
    const qsizetype close = stat.lastIndexOf(')');
    return close > 0 && stat.size() > close + 2 && stat.at(close + 2) == 'Z';
}

// A shot of one tap.
inline Shot shot(const QString &name)
{
    Shot s;
    s.id = QUuid::createUuid();
    s.name = name;
    s.steps = {ShotStepItem::make(ShotStep::tap(QStringLiteral("start"), QString(), NormPoint{0.5, 0.5}))};
    return s;
}

struct StandInRunHome
{
    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> support;
    std::unique_ptr<QTemporaryDir> projects;

    // Once per test case.
    void setUp()
    {
        QVERIFY(home.isValid());
        qputenv("PATH", QByteArray(VELORANCE_STANDIN_DIR) + ':' + qgetenv("PATH"));
        UserDefaults::useFile(home.filePath(QStringLiteral("defaults.ini")));
    }

    // Before every test: fresh folders, and none of the stand-ins' switches left over.
    void reset()
    {
        support = std::make_unique<QTemporaryDir>();
        projects = std::make_unique<QTemporaryDir>();
        AppPaths::overrideApplicationSupport(support->path());
        for (const char *name : {"VELORANCE_STANDIN_FAIL_AT", "VELORANCE_STANDIN_SHOT_DELAY", "VELORANCE_STANDIN_PIDFILE",
                                 "VELORANCE_STANDIN_LOG"})
            qunsetenv(name);
    }

    void tearDown() { AppPaths::overrideApplicationSupport(QString()); }

    // The runner's own project file, a realistic iOS app project, renamed to "Demo".
    QByteArray iosProjectFile() const
    {
        const QString folder = support->filePath(QStringLiteral("template"));
        RunnerProject::writeDriver(folder);
        QByteArray pbxproj = readAll(folder + QStringLiteral("/SimDriver.xcodeproj/project.pbxproj"));
        pbxproj.replace("SimDriver", "Demo");
        QDir(folder).removeRecursively();
        return pbxproj;
    }

    // "<projects>/Demo" with the project file and a fastlane folder, as the project scan would
    // describe it.
    XcodeProject demoProject(const QByteArray &pbxproj, bool withBundleIdentifier = true) const
    {
        const QString folder = projects->filePath(QStringLiteral("Demo"));
        writeAll(folder + QStringLiteral("/Demo.xcodeproj/project.pbxproj"), pbxproj);
        QDir().mkpath(folder + QStringLiteral("/fastlane"));
        XcodeProject project;
        project.id = folder;
        project.name = QStringLiteral("Demo");
        project.url = folder;
        if (withBundleIdentifier)
            project.bundleIdentifier = QStringLiteral("de.example.demo");
        project.hasFastlane = true;
        project.fastlaneDirectory = folder + QStringLiteral("/fastlane");
        project.xcodeprojPath = folder + QStringLiteral("/Demo.xcodeproj");
        return project;
    }
};
