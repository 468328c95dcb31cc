#include "WorldPathCache.h"

#include <algorithm>
#include <cmath>

namespace {

// Drops points closer than a fraction of a pixel to the last one kept; ends are kept.
QPolygonF thinned(const std::vector<QPointF> &world, double scale, bool closed)
{
    constexpr double tolerance = 0.6;
    QPolygonF out;
    out.reserve(qsizetype(world.size()));
    QPointF last;
    for (size_t i = 0; i < world.size(); ++i) {
        const QPointF p = world[i] * scale;
        const bool end = i + 1 == world.size();
        if (out.isEmpty() || end || std::abs(p.x() - last.x()) + std::abs(p.y() - last.y()) > tolerance) {
            out.append(p);
            last = p;
        }
    }
    if (closed && out.size() < 3)
        out.clear();
    out.squeeze();
    return out;
}

} // namespace

WorldPathCache::WorldPathCache(std::shared_ptr<const WorldAtlas> atlas)
    : m_atlas(std::move(atlas))
{
}

int WorldPathCache::levelForScale(double scale)
{
    return std::clamp(int(std::floor(std::log2(std::max(scale, 1.0) / 256.0))), 0, maxLevel);
}

double WorldPathCache::levelScale(int level)
{
    return 256.0 * std::ldexp(1.0, level);
}

WorldPathCache::Level &WorldPathCache::level(int index)
{
    // Deep levels hold nearly every point of what they have drawn: keep only a few, dropping
    // the one furthest from where the map is now.
    constexpr size_t keptLevels = 6;
    if (m_levels.size() >= keptLevels && !m_levels.contains(index)) {
        auto furthest = m_levels.begin();
        for (auto it = m_levels.begin(); it != m_levels.end(); ++it) {
            if (std::abs(it->first - index) > std::abs(furthest->first - index))
                furthest = it;
        }
        m_levels.erase(furthest);
    }
    Level &l = m_levels[index];
    if (l.polygonReady.empty() && !m_atlas->polygons().empty()) {
        l.polygons.resize(m_atlas->polygons().size());
        l.polygonReady.assign(m_atlas->polygons().size(), false);
    }
    if (l.lineReady.empty() && !m_atlas->lines().empty()) {
        l.lines.resize(m_atlas->lines().size());
        l.lineReady.assign(m_atlas->lines().size(), false);
    }
    return l;
}

const QPainterPath &WorldPathCache::polygon(int levelIndex, size_t index)
{
    Level &l = level(levelIndex);
    if (!l.polygonReady[index]) {
        const double scale = levelScale(levelIndex);
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill); // inner rings are holes
        for (const auto &ring : m_atlas->polygons()[index].rings) {
            const QPolygonF polygon = thinned(ring, scale, true);
            if (!polygon.isEmpty())
                path.addPolygon(polygon);
        }
        l.polygons[index] = std::move(path);
        l.polygonReady[index] = true;
    }
    return l.polygons[index];
}

const QPolygonF &WorldPathCache::line(int levelIndex, size_t index)
{
    Level &l = level(levelIndex);
    if (!l.lineReady[index]) {
        l.lines[index] = thinned(m_atlas->lines()[index].points, levelScale(levelIndex), false);
        l.lineReady[index] = true;
    }
    return l.lines[index];
}
