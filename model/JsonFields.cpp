#include "JsonFields.h"

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

std::optional<QJsonValue> present(const QJsonObject &object, const QString &key)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd() || it->isNull() || it->isUndefined())
        return std::nullopt;
    return *it;
}

bool read(const QJsonObject &object, const QString &key, QString &out, const QString &parent, QString *error)
{
    const auto value = present(object, key);
    if (!value)
        return true;
    if (!value->isString())
        return typeError(path(parent, key), error);
    out = value->toString();
    return true;
}

bool read(const QJsonObject &object, const QString &key, double &out, const QString &parent, QString *error)
{
    const auto value = present(object, key);
    if (!value)
        return true;
    if (!value->isDouble())
        return typeError(path(parent, key), error);
    out = value->toDouble();
    return true;
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
    const auto value = present(object, key);
    if (!value)
        return true;
    if (!value->isString())
        return typeError(path(parent, key), error);
    out = value->toString();
    return true;
}

bool readArray(const QJsonObject &object, const QString &key, std::optional<QJsonArray> &out, const QString &parent, QString *error)
{
    const auto value = present(object, key);
    if (!value)
        return true;
    if (!value->isArray())
        return typeError(path(parent, key), error);
    out = value->toArray();
    return true;
}

QJsonValue uuidValue(const QUuid &id)
{
    return Uuid::text(id);
}

} // namespace JsonFields
