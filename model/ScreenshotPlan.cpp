#include "ScreenshotPlan.h"

#include "JsonFields.h"
#include "JsonTextWriter.h"
#include "LaunchFlag.h"

#include <Uuid.h>
#include <Whitespace.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace {

const QString languagesKey = QStringLiteral("languages");
const QString shotsKey = QStringLiteral("shots");
const QString lanesKey = QStringLiteral("lanes");
const QString launchVariablesKey = QStringLiteral("launchVariables");
const QString launchArgumentsKey = QStringLiteral("launchArguments");
const QString flagSelectionsKey = QStringLiteral("flagSelections");
const QString locationKey = QStringLiteral("location");
const QString idKey = QStringLiteral("id");
const QString nameKey = QStringLiteral("name");

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

// The plan's "shots.json" text written directly; the same text QJsonDocument makes of
// toJson(), without the intermediate tree (autosave runs after every edit).
class PlanTextWriter
{
public:
    explicit PlanTextWriter(qsizetype reserve) : m_writer(reserve) {}

    QByteArray write(const ScreenshotPlan &plan)
    {
        m_writer.beginObject();
        m_writer.key(flagSelectionsKey);
        m_writer.beginObject();
        for (auto it = plan.flagSelections.cbegin(); it != plan.flagSelections.cend(); ++it)
            stringField(it.key(), it.value());
        m_writer.endObject();

        m_writer.key(lanesKey);
        m_writer.beginArray();
        for (const Lane &lane : plan.lanes) {
            m_writer.beginObject();
            uuidField(idKey, lane.id);
            stringField(nameKey, lane.name);
            m_writer.endObject();
        }
        m_writer.endArray();

        m_writer.key(languagesKey);
        stringList(plan.languages);
        m_writer.key(launchArgumentsKey);
        stringList(plan.launchArguments);

        m_writer.key(launchVariablesKey);
        m_writer.beginArray();
        for (const LaunchVariable &variable : plan.launchVariables) {
            m_writer.beginObject();
            uuidField(idKey, variable.id);
            stringField(QStringLiteral("key"), variable.key);
            stringField(QStringLiteral("value"), variable.value);
            m_writer.endObject();
        }
        m_writer.endArray();

        if (plan.location)
            location(*plan.location);

        m_writer.key(shotsKey);
        m_writer.beginArray();
        for (const Shot &shot : plan.shots)
            writeShot(shot);
        m_writer.endArray();
        m_writer.endObject();
        return m_writer.finish();
    }

private:
    void writeShot(const Shot &shot)
    {
        m_writer.beginObject();
        uuidField(idKey, shot.id);
        if (shot.laneID)
            uuidField(QStringLiteral("laneID"), *shot.laneID);
        if (shot.location)
            location(*shot.location);
        stringField(nameKey, shot.name);
        m_writer.key(QStringLiteral("steps"));
        m_writer.beginArray();
        for (const ShotStepItem &item : shot.steps) {
            m_writer.beginObject();
            uuidField(idKey, item.id);
            m_writer.key(QStringLiteral("step"));
            writeStep(item.step);
            m_writer.endObject();
        }
        m_writer.endArray();
        m_writer.endObject();
    }

    void writeStep(const ShotStep &step)
    {
        m_writer.beginObject();
        if (const auto *tap = step.as<ShotStep::Tap>()) {
            m_writer.key(QStringLiteral("tap"));
            m_writer.beginObject();
            point(tap->at);
            stringField(QStringLiteral("label"), tap->label);
            stringField(QStringLiteral("selector"), tap->selector);
            m_writer.endObject();
        } else if (const auto *typeText = step.as<ShotStep::TypeText>()) {
            m_writer.key(QStringLiteral("typeText"));
            m_writer.beginObject();
            stringField(QStringLiteral("selector"), typeText->selector);
            stringField(QStringLiteral("text"), typeText->text);
            m_writer.endObject();
        } else if (const auto *wait = step.as<ShotStep::Wait>()) {
            m_writer.key(QStringLiteral("wait"));
            m_writer.beginObject();
            numberField(QStringLiteral("seconds"), wait->seconds);
            m_writer.endObject();
        } else if (const auto *swipe = step.as<ShotStep::Swipe>()) {
            m_writer.key(QStringLiteral("swipe"));
            m_writer.beginObject();
            point(swipe->at);
            stringField(QStringLiteral("direction"), SwipeDirections::name(swipe->direction));
            stringField(QStringLiteral("label"), swipe->label);
            stringField(QStringLiteral("selector"), swipe->selector);
            m_writer.endObject();
        }
        m_writer.endObject();
    }

    void point(const std::optional<NormPoint> &at)
    {
        if (!at)
            return;
        m_writer.key(QStringLiteral("at"));
        m_writer.beginObject();
        numberField(QStringLiteral("x"), at->x);
        numberField(QStringLiteral("y"), at->y);
        m_writer.endObject();
    }

    void location(const PlanLocation &value)
    {
        m_writer.key(locationKey);
        m_writer.beginObject();
        numberField(QStringLiteral("latitude"), value.latitude);
        numberField(QStringLiteral("longitude"), value.longitude);
        m_writer.endObject();
    }

    void stringList(const QStringList &list)
    {
        m_writer.beginArray();
        for (const QString &entry : list)
            m_writer.value(entry);
        m_writer.endArray();
    }

    void stringField(const QString &key, const QString &value)
    {
        m_writer.key(key);
        m_writer.value(value);
    }

    void numberField(const QString &key, double value)
    {
        m_writer.key(key);
        m_writer.value(value);
    }

    // The canonical upper-case text, formatted here: identifiers are most of a plan's text.
    void uuidField(const QString &key, const QUuid &id)
    {
        static constexpr char digits[] = "0123456789ABCDEF";
        char text[36];
        int at = 0;
        const auto hex = [&](quint64 value, int count) {
            for (int shift = 4 * (count - 1); shift >= 0; shift -= 4)
                text[at++] = digits[(value >> shift) & 0xf];
        };
        hex(id.data1, 8);
        text[at++] = '-';
        hex(id.data2, 4);
        text[at++] = '-';
        hex(id.data3, 4);
        text[at++] = '-';
        hex(id.data4[0], 2);
        hex(id.data4[1], 2);
        text[at++] = '-';
        for (int i = 2; i < 8; ++i)
            hex(id.data4[i], 2);
        m_writer.key(key);
        m_writer.plainValue(QLatin1StringView(text, 36));
    }

    JsonTextWriter m_writer;
};

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

    makeIdentifiersUnique(plan.shots);
    makeIdentifiersUnique(plan.lanes);
    makeIdentifiersUnique(plan.launchVariables);
    for (Shot &shot : plan.shots)
        makeIdentifiersUnique(shot.steps);
    return plan;
}

QByteArray ScreenshotPlan::encode() const
{
    // About 400 bytes per step is plenty for a typical plan and saves regrowing.
    qsizetype steps = 0;
    for (const Shot &shot : shots)
        steps += shot.steps.size();
    return PlanTextWriter(1024 + 400 * (steps + shots.size())).write(*this);
}

std::optional<ScreenshotPlan> ScreenshotPlan::decode(const QByteArray &bytes, QString *error)
{
    const std::optional<QJsonObject> object =
        JsonFields::parseObject(bytes, QStringLiteral("Der Plan ist kein JSON-Objekt."), error);
    if (!object)
        return std::nullopt;
    return fromJson(*object, error);
}
