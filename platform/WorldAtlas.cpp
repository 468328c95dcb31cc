#include "WorldAtlas.h"

#include "Gazetteer.h"
#include "MapProjection.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

// Resource initialisers must be called from the global namespace.
static void initMapResources()
{
    Q_INIT_RESOURCE(map);
}

namespace {

QRectF boundsOf(const std::vector<QPointF> &points)
{
    if (points.empty())
        return {};
    double left = points.front().x(), right = left, top = points.front().y(), bottom = top;
    for (const QPointF &p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// Projects longitude/latitude points. A step across the date line (180° → −180°) is
// unwrapped so the outline stays in one piece and may reach past the world's edge; a ring
// that would not close again that way (one around a pole) is left as it is.
std::vector<QPointF> projected(const std::vector<QPointF> &lonLat, bool closed)
{
    std::vector<QPointF> world;
    world.reserve(lonLat.size());
    double shift = 0;
    for (const QPointF &p : lonLat) {
        QPointF w = MapProjection::worldPoint({p.y(), p.x()});
        if (!world.empty()) {
            const double step = w.x() + shift - world.back().x();
            if (step > 0.5)
                shift -= 1;
            else if (step < -0.5)
                shift += 1;
        }
        w.rx() += shift;
        world.push_back(w);
    }
    if (closed && shift != 0) {
        world.clear();
        for (const QPointF &p : lonLat)
            world.push_back(MapProjection::worldPoint({p.y(), p.x()}));
    }
    return world;
}

std::shared_ptr<const WorldAtlas> loadEmbedded()
{
    initMapResources();
    QFile file(QStringLiteral(":/velorance/map/countries-10m.json"));
    std::shared_ptr<const WorldAtlas> atlas;
    if (file.open(QIODevice::ReadOnly)) {
        const Result<TopoJsonTopology> topology = TopoJson::decode(file.readAll());
        if (topology.ok())
            atlas = WorldAtlas::fromTopology(topology.value(), QStringLiteral("countries"));
    }
    if (!atlas)
        atlas = WorldAtlas::fromTopology({}, QString());
    return atlas;
}

} // namespace

std::shared_ptr<const WorldAtlas> WorldAtlas::fromTopology(const TopoJsonTopology &topology, const QString &objectName)
{
    auto atlas = std::make_shared<WorldAtlas>();
    const QList<TopoJsonGeometry> geometries = topology.objects.value(objectName);

    // An arc used by two geometries is a border between them; one used by a single one is coast.
    std::vector<int> users(topology.arcs.size(), 0);
    std::vector<int> lastUser(topology.arcs.size(), -1);
    for (qsizetype g = 0; g < geometries.size(); ++g) {
        for (const TopoJsonPolygon &polygon : geometries.at(g).polygons) {
            for (const QList<int> &ring : polygon.rings) {
                for (const int ref : ring) {
                    const size_t index = size_t(ref >= 0 ? ref : ~ref);
                    if (lastUser[index] != int(g)) {
                        lastUser[index] = int(g);
                        ++users[index];
                    }
                }
            }
        }
        for (const TopoJsonPolygon &polygon : geometries.at(g).polygons) {
            WorldPolygon world;
            for (const QList<int> &ring : polygon.rings) {
                std::vector<QPointF> points = projected(TopoJson::ringPoints(topology, ring), true);
                if (points.size() >= 3)
                    world.rings.push_back(std::move(points));
            }
            if (world.rings.empty())
                continue;
            world.bounds = boundsOf(world.rings.front());
            atlas->m_polygons.push_back(std::move(world));
        }
    }
    for (size_t i = 0; i < topology.arcs.size(); ++i) {
        if (users[i] == 0 || topology.arcs[i].size() < 2)
            continue;
        WorldLine line;
        line.points = projected(topology.arcs[i], false);
        line.bounds = boundsOf(line.points);
        line.border = users[i] > 1;
        atlas->m_lines.push_back(std::move(line));
    }
    return atlas;
}

QFuture<std::shared_ptr<const WorldAtlas>> WorldAtlas::shared()
{
    static QMutex mutex;
    static QFuture<std::shared_ptr<const WorldAtlas>> future;
    QMutexLocker lock(&mutex);
    if (!future.isValid()) {
        future = QtConcurrent::run([] {
            auto atlas = std::const_pointer_cast<WorldAtlas>(loadEmbedded());
            const auto &cities = Gazetteer::cities();
            atlas->m_cities.reserve(cities.size());
            for (const GazetteerCity &city : cities) {
                if (!city.name.isEmpty())
                    atlas->m_cities.push_back({city.name, MapProjection::worldPoint({city.latitude, city.longitude}), city.population});
            }
            std::stable_sort(atlas->m_cities.begin(), atlas->m_cities.end(),
                             [](const WorldCity &a, const WorldCity &b) { return a.population > b.population; });
            return std::shared_ptr<const WorldAtlas>(atlas);
        });
    }
    return future;
}
