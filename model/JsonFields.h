#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// Reading record fields from JSON objects. A missing (or null) key leaves the target as it
// is; a value of the wrong type sets the error text and returns false.
namespace JsonFields {

// "<parent>.<key>", or the key alone at the top.
QString path(const QString &parent, const QString &key);
QString indexPath(const QString &parent, qsizetype index);

// Sets *error (when given) to the wrong-type text for a path and returns false.
bool typeError(const QString &path, QString *error);
bool fail(const QString &text, QString *error);

// The JSON object a document holds; nothing, with the parser's text or `notObjectText` in
// *error, when the bytes are no JSON or not an object.
std::optional<QJsonObject> parseObject(const QByteArray &bytes, const QString &notObjectText, QString *error);

// The value under key, or nothing when missing or null.
std::optional<QJsonValue> present(const QJsonObject &object, const QString &key);

bool read(const QJsonObject &object, const QString &key, QString &out, const QString &parent, QString *error);
bool read(const QJsonObject &object, const QString &key, double &out, const QString &parent, QString *error);
bool read(const QJsonObject &object, const QString &key, QStringList &out, const QString &parent, QString *error);
bool read(const QJsonObject &object, const QString &key, QUuid &out, const QString &parent, QString *error);
bool read(const QJsonObject &object, const QString &key, std::optional<QUuid> &out, const QString &parent, QString *error);
bool read(const QJsonObject &object, const QString &key, std::optional<QString> &out, const QString &parent, QString *error);

// A JSON array under key (none when missing); false on a wrong type.
bool readArray(const QJsonObject &object, const QString &key, std::optional<QJsonArray> &out, const QString &parent, QString *error);

QJsonValue uuidValue(const QUuid &id);

} // namespace JsonFields
