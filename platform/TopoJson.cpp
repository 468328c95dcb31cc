#include "TopoJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool readRing(const QJsonArray &array, qsizetype arcCount, QList<int> &ring)
{
    ring.reserve(array.size());
    for (const QJsonValue &value : array) {
        if (!value.isDouble())
            return false;
        const int ref = value.toInt();
        const qsizetype index = ref >= 0 ? ref : ~ref;
        if (index >= arcCount)
            return false;
        ring.append(ref);
    }
    return true;
}

bool readPolygon(const QJsonArray &array, qsizetype arcCount, TopoJsonPolygon &polygon)
{
    for (const QJsonValue &ringValue : array) {
        QList<int> ring;
        if (!readRing(ringValue.toArray(), arcCount, ring))
            return false;
        if (!ring.isEmpty())
            polygon.rings.append(std::move(ring));
    }
    return true;
}

} // namespace

namespace TopoJson {

Result<TopoJsonTopology> decode(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Result<TopoJsonTopology>::failure(QStringLiteral("TopoJSON: %1").arg(error.errorString()));
    const QJsonObject root = document.object();
    if (root.value(QLatin1String("type")).toString() != QLatin1String("Topology"))
        return Result<TopoJsonTopology>::failure(QStringLiteral("TopoJSON: not a topology"));

    double scaleX = 1, scaleY = 1, translateX = 0, translateY = 0;
    const bool quantized = root.contains(QLatin1String("transform"));
    if (quantized) {
        const QJsonObject transform = root.value(QLatin1String("transform")).toObject();
        const QJsonArray scale = transform.value(QLatin1String("scale")).toArray();
        const QJsonArray translate = transform.value(QLatin1String("translate")).toArray();
        if (scale.size() != 2 || translate.size() != 2)
            return Result<TopoJsonTopology>::failure(QStringLiteral("TopoJSON: broken transform"));
        scaleX = scale.at(0).toDouble();
        scaleY = scale.at(1).toDouble();
        translateX = translate.at(0).toDouble();
        translateY = translate.at(1).toDouble();
    }

    TopoJsonTopology topology;
    const QJsonArray arcs = root.value(QLatin1String("arcs")).toArray();
    topology.arcs.reserve(arcs.size());
    for (const QJsonValue &arcValue : arcs) {
        const QJsonArray positions = arcValue.toArray();
        std::vector<QPointF> points;
        points.reserve(positions.size());
        double x = 0, y = 0;
        for (const QJsonValue &positionValue : positions) {
            const QJsonArray position = positionValue.toArray();
            if (position.size() < 2)
                return Result<TopoJsonTopology>::failure(QStringLiteral("TopoJSON: broken arc"));
            if (quantized) {
                // Quantized arcs store each position as the difference to the one before.
                x += position.at(0).toDouble();
                y += position.at(1).toDouble();
                points.emplace_back(x * scaleX + translateX, y * scaleY + translateY);
            } else {
                points.emplace_back(position.at(0).toDouble(), position.at(1).toDouble());
            }
        }
        topology.arcs.push_back(std::move(points));
    }

    const qsizetype arcCount = qsizetype(topology.arcs.size());
    const QJsonObject objects = root.value(QLatin1String("objects")).toObject();
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        const QJsonObject object = it.value().toObject();
        QJsonArray geometries;
        if (object.value(QLatin1String("type")).toString() == QLatin1String("GeometryCollection"))
            geometries = object.value(QLatin1String("geometries")).toArray();
        else
            geometries.append(object);
        QList<TopoJsonGeometry> decoded;
        for (const QJsonValue &geometryValue : std::as_const(geometries)) {
            const QJsonObject geometry = geometryValue.toObject();
            const QString type = geometry.value(QLatin1String("type")).toString();
            TopoJsonGeometry g;
            g.id = geometry.value(QLatin1String("id")).toVariant().toString();
            g.name = geometry.value(QLatin1String("properties")).toObject().value(QLatin1String("name")).toString();
            const QJsonArray arcsOfGeometry = geometry.value(QLatin1String("arcs")).toArray();
            if (type == QLatin1String("Polygon")) {
                TopoJsonPolygon polygon;
                if (!readPolygon(arcsOfGeometry, arcCount, polygon))
                    return Result<TopoJsonTopology>::failure(QStringLiteral("TopoJSON: arc reference out of range"));
                g.polygons.append(std::move(polygon));
            } else if (type == QLatin1String("MultiPolygon")) {
                for (const QJsonValue &polygonValue : arcsOfGeometry) {
                    TopoJsonPolygon polygon;
                    if (!readPolygon(polygonValue.toArray(), arcCount, polygon))
                        return Result<TopoJsonTopology>::failure(QStringLiteral("TopoJSON: arc reference out of range"));
                    g.polygons.append(std::move(polygon));
                }
            } else {
                continue;
            }
            decoded.append(std::move(g));
        }
        topology.objects.insert(it.key(), std::move(decoded));
    }
    return topology;
}

std::vector<QPointF> ringPoints(const TopoJsonTopology &topology, const QList<int> &ring)
{
    std::vector<QPointF> points;
    for (const int ref : ring) {
        const bool reversed = ref < 0;
        const auto &arc = topology.arcs[size_t(reversed ? ~ref : ref)];
        if (arc.empty())
            continue;
        const size_t skip = points.empty() ? 0 : 1; // shared with the previous arc's end
        if (reversed) {
            for (size_t i = arc.size() - skip; i-- > 0;)
                points.push_back(arc[i]);
        } else {
            for (size_t i = skip; i < arc.size(); ++i)
                points.push_back(arc[i]);
        }
    }
    return points;
}

} // namespace TopoJson
