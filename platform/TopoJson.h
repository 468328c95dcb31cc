#pragma once

#include "Result.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

#include <vector>

// One polygon of a TopoJSON geometry: its rings, the first the outer one, each a list of arc
// references. A reference i ≥ 0 is arc i; a reference i < 0 is arc ~i run backwards.
struct TopoJsonPolygon
{
    QList<QList<int>> rings;
    bool operator==(const TopoJsonPolygon &) const = default;
};

// A Polygon or MultiPolygon of an object's geometry collection; other kinds are left out.
struct TopoJsonGeometry
{
    QString id;
    QString name;
    QList<TopoJsonPolygon> polygons;
    bool operator==(const TopoJsonGeometry &) const = default;
};

// A decoded topology: the arcs as absolute longitude/latitude points (x = longitude,
// y = latitude) and the geometries of each named object.
struct TopoJsonTopology
{
    std::vector<std::vector<QPointF>> arcs;
    QHash<QString, QList<TopoJsonGeometry>> objects;
};

namespace TopoJson {

// Decodes a TopoJSON document: undoes the delta encoding of quantized arcs and applies the
// transform. Arc references out of range make the document a failure.
Result<TopoJsonTopology> decode(const QByteArray &json);

// The points of a ring joined from its arcs, each shared end point kept once.
std::vector<QPointF> ringPoints(const TopoJsonTopology &topology, const QList<int> &ring);

} // namespace TopoJson
