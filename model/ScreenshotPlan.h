#pragma once

#include "ShotStep.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// A simulator location of the plan or of one shot, in degrees.
struct PlanLocation
{
    double latitude = 0;
    double longitude = 0;
    bool operator==(const PlanLocation &) const = default;
};

// A named group of shots run together.
struct Lane
{
    QUuid id;
    QString name;
    bool operator==(const Lane &) const = default;
};

// One environment entry for the app under test, stored exactly as typed.
struct LaunchVariable
{
    QUuid id;
    QString key;
    QString value;
    bool operator==(const LaunchVariable &) const = default;
};

// One planned screenshot.
struct Shot
{
    QUuid id;
    QString name;
    QList<ShotStepItem> steps;
    std::optional<QUuid> laneID;          // none: the plan's first lane
    std::optional<PlanLocation> location; // the shot's own simulator location
    bool operator==(const Shot &) const = default;
};

// A project's screenshot plan, saved as "shots.json".
struct ScreenshotPlan
{
    QStringList languages;
    QList<Shot> shots;
    QList<Lane> lanes;
    QList<LaunchVariable> launchVariables;
    QStringList launchArguments;          // one entry per argument line, as typed
    QMap<QString, QString> flagSelections; // flag arg -> chosen value; unset flags have no key
    std::optional<PlanLocation> location;

    bool operator==(const ScreenshotPlan &) const = default;

    // The default plan: the given languages, no shots, one new lane "Screenshots", nothing else.
    // Every call makes a new lane identifier, so two default plans are never equal.
    static ScreenshotPlan makeDefault(const QStringList &languages = {QStringLiteral("en")});

    // True when the shot's laneID, or the first lane's id when it has none, equals laneID.
    bool shotBelongsToLane(const Shot &shot, const QUuid &laneID) const;

    // Launch variables with keys trimmed of spaces and tabs; empty keys skipped; later wins.
    QMap<QString, QString> launchEnvironment() const;
    // Argument lines split at white space, then the flag selections' arguments.
    QStringList resolvedLaunchArguments() const;

    QJsonObject toJson() const;
    // A missing key decodes to the default plan's value; a wrong type is an error.
    static std::optional<ScreenshotPlan> fromJson(const QJsonObject &json, QString *error = nullptr);

    // "shots.json" bytes: pretty-printed, keys sorted.
    QByteArray encode() const;
    static std::optional<ScreenshotPlan> decode(const QByteArray &bytes, QString *error = nullptr);
};
