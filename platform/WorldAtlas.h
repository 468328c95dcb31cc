#pragma once

#include "Result.h"
#include "TopoJson.h"

#include <QFuture>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

// A land polygon in world coordinates (Web-Mercator, 0…1): the outer ring first, then holes.
struct WorldPolygon
{
    std::vector<std::vector<QPointF>> rings;
    QRectF bounds;
};

// An outline piece in world coordinates: a coast (one country's edge against the sea) or a
// border (an edge two countries share).
struct WorldLine
{
    std::vector<QPointF> points;
    QRectF bounds;
    bool border = false;
};

// A city the map can label, in world coordinates.
struct WorldCity
{
    QString name;
    QPointF world;
    quint32 population = 0;
};

// What the map draws beneath its marker: land, coasts, borders and cities, projected once.
class WorldAtlas final
{
public:
    // Builds the atlas from the polygons of `objectName` in a topology.
    static std::shared_ptr<const WorldAtlas> fromTopology(const TopoJsonTopology &topology, const QString &objectName);
    // The embedded Natural Earth countries with the gazetteer's cities, loaded once off the
    // GUI thread; every caller shares the same future.
    static QFuture<std::shared_ptr<const WorldAtlas>> shared();

    const std::vector<WorldPolygon> &polygons() const { return m_polygons; }
    const std::vector<WorldLine> &lines() const { return m_lines; }
    // Largest first.
    const std::vector<WorldCity> &cities() const { return m_cities; }

private:
    std::vector<WorldPolygon> m_polygons;
    std::vector<WorldLine> m_lines;
    std::vector<WorldCity> m_cities;
};
