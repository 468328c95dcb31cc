#include "LaunchFlag.h"

#include "JsonFields.h"

#include <Whitespace.h>

#include <QDir>
#include <ProjectFile.h>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString typeName(LaunchFlagType type)
{
    switch (type) {
    case LaunchFlagType::Bool: return QStringLiteral("bool");
    case LaunchFlagType::Enum: return QStringLiteral("enum");
    case LaunchFlagType::String: return QStringLiteral("string");
    }
    return QStringLiteral("bool");
}

std::optional<LaunchFlagType> typeFromName(const QString &name)
{
    for (const auto type : {LaunchFlagType::Bool, LaunchFlagType::Enum, LaunchFlagType::String}) {
        if (typeName(type) == name)
            return type;
    }
    return std::nullopt;
}

// A required string field: missing is an error as well.
bool readRequired(const QJsonObject &object, const QString &key, QString &out, QString *error)
{
    if (!JsonFields::present(object, key))
        return JsonFields::fail(QStringLiteral("Der Wert „%1“ fehlt.").arg(key), error);
    return JsonFields::read(object, key, out, QString(), error);
}

} // namespace

QJsonObject LaunchFlag::toJson() const
{
    QJsonObject json{{QStringLiteral("arg"), arg},
                     {QStringLiteral("type"), typeName(type)},
                     {QStringLiteral("label"), label}};
    if (help)
        json.insert(QStringLiteral("help"), *help);
    if (values)
        json.insert(QStringLiteral("values"), QJsonArray::fromStringList(*values));
    return json;
}

std::optional<LaunchFlag> LaunchFlag::fromJson(const QJsonValue &json, QString *error)
{
    if (!json.isObject()) {
        JsonFields::typeError(QStringLiteral("flag"), error);
        return std::nullopt;
    }
    const QJsonObject object = json.toObject();
    LaunchFlag flag;
    QString type;
    if (!readRequired(object, QStringLiteral("arg"), flag.arg, error)
        || !readRequired(object, QStringLiteral("type"), type, error)
        || !readRequired(object, QStringLiteral("label"), flag.label, error)
        || !JsonFields::read(object, QStringLiteral("help"), flag.help, QString(), error))
        return std::nullopt;
    const auto parsedType = typeFromName(type);
    if (!parsedType) {
        JsonFields::fail(QStringLiteral("Unbekannter Flag-Typ „%1“.").arg(type), error);
        return std::nullopt;
    }
    flag.type = *parsedType;
    if (JsonFields::present(object, QStringLiteral("values"))) {
        QStringList values;
        if (!JsonFields::read(object, QStringLiteral("values"), values, QString(), error))
            return std::nullopt;
        flag.values = values;
    }
    return flag;
}

namespace LaunchFlagsManifest {

std::optional<File> File::decode(const QByteArray &bytes, QString *error)
{
    const std::optional<QJsonObject> parsed =
        JsonFields::parseObject(bytes, QStringLiteral("Das Manifest ist kein JSON-Objekt."), error);
    if (!parsed)
        return std::nullopt;
    const QJsonObject &object = *parsed;
    const auto flagsValue = JsonFields::present(object, QStringLiteral("flags"));
    if (!flagsValue) {
        JsonFields::fail(QStringLiteral("Der Wert „flags“ fehlt."), error);
        return std::nullopt;
    }
    if (!flagsValue->isArray()) {
        JsonFields::typeError(QStringLiteral("flags"), error);
        return std::nullopt;
    }
    File file;
    const QJsonArray flags = flagsValue->toArray();
    for (qsizetype i = 0; i < flags.size(); ++i) {
        QString flagError;
        const auto flag = LaunchFlag::fromJson(flags.at(i), &flagError);
        if (!flag) {
            JsonFields::fail(JsonFields::indexPath(QStringLiteral("flags"), i) + QStringLiteral(": ") + flagError, error);
            return std::nullopt;
        }
        file.flags.append(*flag);
    }
    return file;
}

QByteArray File::encode() const
{
    QJsonArray array;
    for (const LaunchFlag &flag : flags)
        array.append(flag.toJson());
    return QJsonDocument(QJsonObject{{QStringLiteral("flags"), array}}).toJson(QJsonDocument::Indented);
}

std::optional<File> load(const QString &projectFolder)
{
    const Result<QByteArray> bytes = ProjectFile::read(QDir(projectFolder).filePath(QStringLiteral("velorance-flags.json")));
    if (!bytes)
        return std::nullopt;
    return File::decode(bytes.value());
}

QStringList launchArguments(const QMap<QString, QString> &selections)
{
    QStringList arguments;
    // QMap iterates in ascending key order.
    for (auto it = selections.cbegin(); it != selections.cend(); ++it) {
        const QString value = Whitespace::trimmedSpacesAndTabs(it.value());
        if (value.isEmpty())
            continue;
        arguments << it.key() << value;
    }
    return arguments;
}

} // namespace LaunchFlagsManifest
