#pragma once

#include "WorldAtlas.h"

#include <QPainterPath>
#include <QPolygonF>

#include <map>
#include <memory>
#include <vector>

// The atlas's outlines as paths per zoom level, in that level's pixel units (world × 256 × 2^level),
// thinned to what the level can show. Built lazily, only for what has been drawn. GUI thread.
class WorldPathCache final
{
public:
    static constexpr int maxLevel = 21;

    explicit WorldPathCache(std::shared_ptr<const WorldAtlas> atlas);

    static int levelForScale(double scale);
    static double levelScale(int level);

    const WorldAtlas &atlas() const { return *m_atlas; }
    const QPainterPath &polygon(int level, size_t index);
    const QPolygonF &line(int level, size_t index);

private:
    struct Level
    {
        std::vector<QPainterPath> polygons;
        std::vector<bool> polygonReady;
        std::vector<QPolygonF> lines;
        std::vector<bool> lineReady;
    };
    Level &level(int level);

    std::shared_ptr<const WorldAtlas> m_atlas;
    std::map<int, Level> m_levels;
};
