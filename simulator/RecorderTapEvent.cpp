#include "RecorderTapEvent.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {
QString text(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isString() ? value.toString() : QString();
}
} // namespace

std::optional<RecorderTapEvent> RecorderTapEvent::decode(QByteArrayView line, const QDateTime &receivedAt)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    if (object.value(QLatin1String("kind")).toString() != QLatin1String("tap"))
        return std::nullopt;
    const QJsonValue nx = object.value(QLatin1String("nx"));
    const QJsonValue ny = object.value(QLatin1String("ny"));
    if (!nx.isDouble() || !ny.isDouble())
        return std::nullopt;

    RecorderTapEvent event;
    event.id = QUuid::createUuid();
    event.receivedAt = receivedAt;
    event.selector = text(object, "selector");
    event.identifier = text(object, "identifier");
    event.label = text(object, "label");
    event.type = text(object, "type");
    event.x = object.value(QLatin1String("x")).toDouble(0);
    event.y = object.value(QLatin1String("y")).toDouble(0);
    event.nx = nx.toDouble();
    event.ny = ny.toDouble();
    return event;
}
