#include "ScreenshotPlan.h"

#include "JsonFields.h"
#include "PlanEncoder.h"
#include "PlanKeys.h"
#include "PlanReader.h"
#include "LaunchFlag.h"

#include <Uuid.h>
#include <Whitespace.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace {

using namespace PlanKeys;

QJsonObject locationJson(const PlanLocation &location)
{
    return QJsonObject{{QStringLiteral("latitude"), location.latitude},
                       {QStringLiteral("longitude"), location.longitude}};
}

bool readLocation(const QJsonObject &object, std::optional<PlanLocation> &out, const QString &parent, QString *error)
{
    const auto value = JsonFields::present(object, locationKey);
    if (!value)
        return true;
    const QString path = JsonFields::path(parent, locationKey);
    if (!value->isObject())
        return JsonFields::typeError(path, error);
    const QJsonObject fields = value->toObject();
    PlanLocation location;
    if (!JsonFields::read(fields, QStringLiteral("latitude"), location.latitude, path, error)
        || !JsonFields::read(fields, QStringLiteral("longitude"), location.longitude, path, error))
        return false;
    out = location;
    return true;
}

// Walks the array under key, decoding each element as an object with decodeOne.
template <typename T, typename Decode>
bool readList(const QJsonObject &object, const QString &key, QList<T> &out, QString *error, Decode decodeOne)
{
    std::optional<QJsonArray> array;
    if (!JsonFields::readArray(object, key, array, QString(), error))
        return false;
    if (!array)
        return true;
    QList<T> list;
    list.reserve(array->size());
    for (qsizetype i = 0; i < array->size(); ++i) {
        const QString path = JsonFields::indexPath(key, i);
        const QJsonValue value = array->at(i);
        if (!value.isObject())
            return JsonFields::typeError(path, error);
        T item;
        if (!decodeOne(value.toObject(), path, item))
            return false;
        list.append(std::move(item));
    }
    out = std::move(list);
    return true;
}

// Identifiers tell rows apart when they are edited and moved; a hand-edited file may repeat
// one, so every repeat after the first gets a new identifier.
template <typename T>
void makeIdentifiersUnique(QList<T> &items)
{
    QSet<QUuid> seen;
    seen.reserve(items.size());
    for (T &item : items) {
        if (seen.contains(item.id))
            item.id = Uuid::make();
        seen.insert(item.id);
    }
}

void makeAllIdentifiersUnique(ScreenshotPlan &plan)
{
    makeIdentifiersUnique(plan.shots);
    makeIdentifiersUnique(plan.lanes);
    makeIdentifiersUnique(plan.launchVariables);
    for (Shot &shot : plan.shots)
        makeIdentifiersUnique(shot.steps);
}

} // namespace

ScreenshotPlan ScreenshotPlan::makeDefault(const QStringList &languages)
{
    ScreenshotPlan plan;
    plan.languages = languages;
    plan.lanes.append(Lane{Uuid::make(), QStringLiteral("Screenshots")});
    return plan;
}

bool ScreenshotPlan::shotBelongsToLane(const Shot &shot, const QUuid &laneID) const
{
    if (shot.laneID)
        return *shot.laneID == laneID;
    if (lanes.isEmpty())
        return false;
    return lanes.first().id == laneID;
}

QMap<QString, QString> ScreenshotPlan::launchEnvironment() const
{
    QMap<QString, QString> environment;
    for (const LaunchVariable &variable : launchVariables) {
        const QString key = Whitespace::trimmedSpacesAndTabs(variable.key);
        if (key.isEmpty())
            continue;
        environment.insert(key, variable.value);
    }
    return environment;
}

QStringList ScreenshotPlan::resolvedLaunchArguments() const
{
    QStringList arguments;
    for (const QString &line : launchArguments)
        arguments += Whitespace::splitAtWhitespace(line);
    arguments += LaunchFlagsManifest::launchArguments(flagSelections);
    return arguments;
}

QJsonObject ScreenshotPlan::toJson() const
{
    QJsonArray shotsArray;
    for (const Shot &shot : shots) {
        QJsonArray steps;
        for (const ShotStepItem &item : shot.steps)
            steps.append(item.toJson());
        QJsonObject shotObject{{idKey, JsonFields::uuidValue(shot.id)},
                               {nameKey, shot.name},
                               {QStringLiteral("steps"), steps}};
        if (shot.laneID)
            shotObject.insert(QStringLiteral("laneID"), JsonFields::uuidValue(*shot.laneID));
        if (shot.location)
            shotObject.insert(locationKey, locationJson(*shot.location));
        shotsArray.append(shotObject);
    }
    QJsonArray lanesArray;
    for (const Lane &lane : lanes)
        lanesArray.append(QJsonObject{{idKey, JsonFields::uuidValue(lane.id)}, {nameKey, lane.name}});
    QJsonArray variablesArray;
    for (const LaunchVariable &variable : launchVariables) {
        variablesArray.append(QJsonObject{{idKey, JsonFields::uuidValue(variable.id)},
                                          {QStringLiteral("key"), variable.key},
                                          {QStringLiteral("value"), variable.value}});
    }
    QJsonObject selections;
    for (auto it = flagSelections.cbegin(); it != flagSelections.cend(); ++it)
        selections.insert(it.key(), it.value());

    QJsonObject json{{languagesKey, QJsonArray::fromStringList(languages)},
                     {shotsKey, shotsArray},
                     {lanesKey, lanesArray},
                     {launchVariablesKey, variablesArray},
                     {launchArgumentsKey, QJsonArray::fromStringList(launchArguments)},
                     {flagSelectionsKey, selections}};
    if (location)
        json.insert(locationKey, locationJson(*location));
    return json;
}

std::optional<ScreenshotPlan> ScreenshotPlan::fromJson(const QJsonObject &json, QString *error)
{
    ScreenshotPlan plan = makeDefault();

    if (!JsonFields::read(json, languagesKey, plan.languages, QString(), error))
        return std::nullopt;

    const bool shotsOk = readList<Shot>(json, shotsKey, plan.shots, error,
        [error](const QJsonObject &object, const QString &path, Shot &shot) {
            shot.id = Uuid::make();
            if (!JsonFields::read(object, idKey, shot.id, path, error)
                || !JsonFields::read(object, nameKey, shot.name, path, error)
                || !JsonFields::read(object, QStringLiteral("laneID"), shot.laneID, path, error)
                || !readLocation(object, shot.location, path, error))
                return false;
            std::optional<QJsonArray> steps;
            if (!JsonFields::readArray(object, QStringLiteral("steps"), steps, path, error))
                return false;
            if (!steps)
                return true;
            const QString stepsPath = JsonFields::path(path, QStringLiteral("steps"));
            for (qsizetype i = 0; i < steps->size(); ++i) {
                QString itemError;
                const auto item = ShotStepItem::fromJson(steps->at(i), &itemError);
                if (!item)
                    return JsonFields::fail(JsonFields::indexPath(stepsPath, i) + QStringLiteral(": ") + itemError, error);
                shot.steps.append(*item);
            }
            return true;
        });
    if (!shotsOk)
        return std::nullopt;

    const bool lanesOk = readList<Lane>(json, lanesKey, plan.lanes, error,
        [error](const QJsonObject &object, const QString &path, Lane &lane) {
            lane.id = Uuid::make();
            return JsonFields::read(object, idKey, lane.id, path, error)
                && JsonFields::read(object, nameKey, lane.name, path, error);
        });
    if (!lanesOk)
        return std::nullopt;

    const bool variablesOk = readList<LaunchVariable>(json, launchVariablesKey, plan.launchVariables, error,
        [error](const QJsonObject &object, const QString &path, LaunchVariable &variable) {
            variable.id = Uuid::make();
            return JsonFields::read(object, idKey, variable.id, path, error)
                && JsonFields::read(object, QStringLiteral("key"), variable.key, path, error)
                && JsonFields::read(object, QStringLiteral("value"), variable.value, path, error);
        });
    if (!variablesOk)
        return std::nullopt;

    if (!JsonFields::read(json, launchArgumentsKey, plan.launchArguments, QString(), error))
        return std::nullopt;

    if (const auto selections = JsonFields::present(json, flagSelectionsKey)) {
        if (!selections->isObject()) {
            JsonFields::typeError(flagSelectionsKey, error);
            return std::nullopt;
        }
        const QJsonObject object = selections->toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            if (!it->isString()) {
                JsonFields::typeError(JsonFields::path(flagSelectionsKey, it.key()), error);
                return std::nullopt;
            }
            plan.flagSelections.insert(it.key(), it->toString());
        }
    }

    if (!readLocation(json, plan.location, QString(), error))
        return std::nullopt;

    makeAllIdentifiersUnique(plan);
    return plan;
}

QByteArray ScreenshotPlan::encode() const
{
    return PlanEncoder::encodeOnce(*this);
}

std::optional<ScreenshotPlan> ScreenshotPlan::decode(const QByteArray &bytes, QString *error)
{
    // The direct reader takes what it is sure of; the rest, errors included, goes through Qt's.
    if (std::optional<ScreenshotPlan> plan = PlanReader::read(bytes)) {
        makeAllIdentifiersUnique(*plan);
        return plan;
    }
    const std::optional<QJsonObject> object =
        JsonFields::parseObject(bytes, QStringLiteral("Der Plan ist kein JSON-Objekt."), error);
    if (!object)
        return std::nullopt;
    return fromJson(*object, error);
}
