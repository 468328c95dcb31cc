#pragma once

// Temporary project folders for the plan editor's tests.

#include <ScreenshotPlan.h>
#include <ShotStep.h>
#include <Uuid.h>
#include <XcodeProject.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

struct ProjectSpec
{
    bool fastlane = true;
    bool xcodeproj = true;
    std::optional<QStringList> regions;   // knownRegions of the pbxproj; none: no marker
    std::optional<QByteArray> flagsJson;  // "velorance-flags.json"
    std::optional<QByteArray> shotsJson;  // "fastlane/velorancestudio/shots.json"
    bool bundleIdentifier = true;
};

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes "<root>/Demo" with a project file, a fastlane folder and optional extras and returns its XcodeProject.
inline XcodeProject makeProject(const QString &root, const ProjectSpec &spec = {}, const QString &name = QStringLiteral("Demo"))
{
    const QString folder = QDir(root).filePath(name);
    QDir().mkpath(folder);
    XcodeProject project;
    project.id = folder;
    project.name = name;
    project.url = folder;
    if (spec.bundleIdentifier)
        project.bundleIdentifier = QStringLiteral("de.example.demo");
    if (spec.xcodeproj) {
        const QString xcodeproj = QDir(folder).filePath(name + QStringLiteral(".xcodeproj"));
        QByteArray pbx = "// !$*UTF8*$!\n{\n\tobjects = {\n";
        if (spec.regions) {
            pbx += "\t\tknownRegions = (\n";
            for (const QString &region : *spec.regions)
                pbx += "\t\t\t" + region.toUtf8() + ",\n";
            pbx += "\t\t);\n";
        }
        pbx += "\t};\n}\n";
        writeBytes(QDir(xcodeproj).filePath(QStringLiteral("project.pbxproj")), pbx);
        project.xcodeprojPath = xcodeproj;
    }
    if (spec.fastlane) {
        const QString fastlane = QDir(folder).filePath(QStringLiteral("fastlane"));
        QDir().mkpath(fastlane);
        project.hasFastlane = true;
        project.fastlaneDirectory = fastlane;
        if (spec.shotsJson)
            writeBytes(QDir(fastlane).filePath(QStringLiteral("velorancestudio/shots.json")), *spec.shotsJson);
    }
    if (spec.flagsJson)
        writeBytes(QDir(folder).filePath(QStringLiteral("velorance-flags.json")), *spec.flagsJson);
    return project;
}

inline QString planPath(const XcodeProject &project)
{
    return QDir(*project.fastlaneDirectory).filePath(QStringLiteral("velorancestudio/shots.json"));
}

// Puts a file where the "velorancestudio" folder belongs, so writing into it fails even for
// root; returns the file's path (empty when it could not be made).
inline QString blockPlanFolder(const XcodeProject &project)
{
    const QString blocker = QDir(*project.fastlaneDirectory).filePath(QStringLiteral("velorancestudio"));
    QDir(blocker).removeRecursively();
    return writeBytes(blocker, "x") ? blocker : QString();
}

inline std::optional<ScreenshotPlan> planOnDisk(const XcodeProject &project)
{
    return ScreenshotPlan::decode(readBytes(planPath(project)));
}

inline Shot makeShot(const QString &name, std::optional<QUuid> laneID = std::nullopt, int steps = 0)
{
    Shot shot;
    shot.id = Uuid::make();
    shot.name = name;
    shot.laneID = laneID;
    for (int i = 0; i < steps; ++i)
        shot.steps.append(ShotStepItem::make(ShotStep::tap(QStringLiteral("button.%1").arg(i), QStringLiteral("Knopf"))));
    return shot;
}

inline Lane makeLane(const QString &name)
{
    return Lane{Uuid::make(), name};
}

// A plan in one language with exactly these lanes and shots.
inline ScreenshotPlan planWith(const QList<Lane> &lanes, const QList<Shot> &shots)
{
    ScreenshotPlan plan;
    plan.languages = {QStringLiteral("de-DE")};
    plan.lanes = lanes;
    plan.shots = shots;
    return plan;
}

// The menu's item with this text, or null.
inline QAction *actionNamed(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}
