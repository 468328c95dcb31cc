#include "JsonFields.h"

#include <QJsonDocument>

#include <Uuid.h>

namespace JsonFields {

QString path(const QString &parent, const QString &key)
{
    return parent.isEmpty() ? key : parent + QLatin1Char('.') + key;
}

QString indexPath(const QString &parent, qsizetype index)
{
    return parent + QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
}

bool fail(const QString &text, QString *error)
{
    if (error)
        *error = text;
    return false;
}

bool typeError(const QString &path, QString *error)
{
    return fail(QStringLiteral("Der Wert „%1“ hat den falschen Typ.").arg(path), error);
}

std::optional<QJsonObject> parseObject(const QByteArray &bytes, const QString &notObjectText, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        fail(QStringLiteral("Ungültiges JSON an Stelle %1: %2").arg(parseError.offset).arg(parseError.errorString()),
             error);
        return std::nullopt;
    }
    if (!document.isObject()) {
        fail(notObjectText, error);
        return std::nullopt;
    }
    return document.object();
}

std::optional<QJsonValue> present(const QJsonObject &object, const QString &key)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd() || it->isNull() || it->isUndefined())
        return std::nullopt;
    return *it;
}

namespace {
// A present value of the wanted type is converted into `out`; a missing one leaves `out`
// alone; any other type is an error.
template <typename Out, typename Convert>
bool readTyped(const QJsonObject &object, const QString &key, Out &out, const QString &parent, QString *error,
               bool (QJsonValue::*isType)() const, Convert convert)
{
    const auto value = present(object, key);
    if (!value)
        return true;
    if (!((*value).*isType)())
        return typeError(path(parent, key), error);
    out = convert(*value);
    return true;
}
} // namespace

bool read(const QJsonObject &object, const QString &key, QString &out, const QString &parent, QString *error)
{
    return readTyped(object, key, out, parent, error, &QJsonValue::isString,
                     [](const QJsonValue &v) { return v.toString(); });
}

bool read(const QJsonObject &object, const QString &key, double &out, const QString &parent, QString *error)
{
    return readTyped(object, key, out, parent, error, &QJsonValue::isDouble,
                     [](const QJsonValue &v) { return v.toDouble(); });
}

bool read(const QJsonObject &object, const QString &key, QStringList &out, const QString &parent, QString *error)
{
    std::optional<QJsonArray> array;
    if (!readArray(object, key, array, parent, error))
        return false;
    if (!array)
        return true;
    QStringList list;
    list.reserve(array->size());
    for (qsizetype i = 0; i < array->size(); ++i) {
        const QJsonValue item = array->at(i);
        if (!item.isString())
            return typeError(indexPath(path(parent, key), i), error);
        list.append(item.toString());
    }
    out = list;
    return true;
}

bool read(const QJsonObject &object, const QString &key, QUuid &out, const QString &parent, QString *error)
{
    std::optional<QUuid> id;
    if (!read(object, key, id, parent, error))
        return false;
    if (id)
        out = *id;
    return true;
}

bool read(const QJsonObject &object, const QString &key, std::optional<QUuid> &out, const QString &parent, QString *error)
{
    const auto value = present(object, key);
    if (!value)
        return true;
    if (!value->isString())
        return typeError(path(parent, key), error);
    const auto id = Uuid::parse(value->toString());
    if (!id)
        return fail(QStringLiteral("Der Wert „%1“ ist keine UUID.").arg(path(parent, key)), error);
    out = *id;
    return true;
}

bool read(const QJsonObject &object, const QString &key, std::optional<QString> &out, const QString &parent, QString *error)
{
    return readTyped(object, key, out, parent, error, &QJsonValue::isString,
                     [](const QJsonValue &v) { return v.toString(); });
}

bool readArray(const QJsonObject &object, const QString &key, std::optional<QJsonArray> &out, const QString &parent, QString *error)
{
    return readTyped(object, key, out, parent, error, &QJsonValue::isArray,
                     [](const QJsonValue &v) { return v.toArray(); });
}

QJsonValue uuidValue(const QUuid &id)
{
    return Uuid::text(id);
}

} // namespace JsonFields
