#include "MapProjection.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

double worldY(double latitude)
{
    const double lat = std::clamp(latitude, -MapProjection::maxLatitude, MapProjection::maxLatitude);
    const double phi = lat * pi / 180.0;
    return 0.5 - std::asinh(std::tan(phi)) / (2 * pi);
}

double latitudeForWorldY(double y)
{
    return std::atan(std::sinh((0.5 - y) * 2 * pi)) * 180.0 / pi;
}

} // namespace

MapProjection::MapProjection(const MapCamera &camera, QSizeF viewport)
    : m_center(worldPoint(camera.center))
    , m_viewport(viewport.isEmpty() ? QSizeF(256, 256) : viewport)
{
    const double halfLat = std::abs(camera.span.latitudeDelta) / 2;
    const double worldWidth = std::abs(camera.span.longitudeDelta) / 360.0;
    const double worldHeight = std::abs(worldY(camera.center.latitude - halfLat) - worldY(camera.center.latitude + halfLat));
    double scale = maxScale;
    if (worldWidth > 0)
        scale = std::min(scale, m_viewport.width() / worldWidth);
    if (worldHeight > 0)
        scale = std::min(scale, m_viewport.height() / worldHeight);
    m_scale = std::clamp(scale, minScale, maxScale);
    clampCenter();
}

MapProjection MapProjection::fromWorld(QPointF worldCenter, double scale, QSizeF viewport)
{
    MapProjection p;
    p.m_center = worldCenter;
    p.m_scale = std::clamp(scale, minScale, maxScale);
    p.m_viewport = viewport.isEmpty() ? QSizeF(256, 256) : viewport;
    p.clampCenter();
    return p;
}

QPointF MapProjection::worldPoint(const MapCoordinate &coordinate)
{
    return {(coordinate.longitude + 180.0) / 360.0, worldY(coordinate.latitude)};
}

MapCoordinate MapProjection::coordinateForWorld(QPointF world)
{
    return {latitudeForWorldY(world.y()), world.x() * 360.0 - 180.0};
}

QPointF MapProjection::pointForWorld(QPointF world) const
{
    return {(world.x() - m_center.x()) * m_scale + m_viewport.width() / 2,
            (world.y() - m_center.y()) * m_scale + m_viewport.height() / 2};
}

QPointF MapProjection::worldForPoint(QPointF point) const
{
    return {(point.x() - m_viewport.width() / 2) / m_scale + m_center.x(),
            (point.y() - m_viewport.height() / 2) / m_scale + m_center.y()};
}

QPointF MapProjection::pointForCoordinate(const MapCoordinate &coordinate) const
{
    return pointForWorld(worldPoint(coordinate));
}

MapCoordinate MapProjection::coordinateForPoint(QPointF point) const
{
    return coordinateForWorld(worldForPoint(point));
}

QRectF MapProjection::visibleWorldRect() const
{
    const QSizeF size(m_viewport.width() / m_scale, m_viewport.height() / m_scale);
    return {m_center.x() - size.width() / 2, m_center.y() - size.height() / 2, size.width(), size.height()};
}

MapCamera MapProjection::visibleRegion() const
{
    const QRectF r = visibleWorldRect();
    const MapCoordinate center = coordinateForWorld(m_center);
    // The latitude span that, laid symmetrically around the centre as a camera lays it, has
    // the visible height: so a camera of this region shows this region again.
    const double height = std::min(r.height(), 1.0);
    auto heightOf = [&](double delta) {
        return worldY(center.latitude - delta / 2) - worldY(center.latitude + delta / 2);
    };
    double low = 0, high = 360;
    if (heightOf(high) <= height) {
        low = high;
    } else {
        for (int i = 0; i < 80 && high - low > 1e-13; ++i) {
            const double mid = (low + high) / 2;
            (heightOf(mid) < height ? low : high) = mid;
        }
    }
    const double latitudeDelta = std::min((low + high) / 2, 2 * maxLatitude);
    return {center, {latitudeDelta, std::min(r.width(), 1.0) * 360.0}};
}

MapProjection MapProjection::panned(QPointF delta) const
{
    return fromWorld(m_center - delta / m_scale, m_scale, m_viewport);
}

MapProjection MapProjection::zoomed(double factor, QPointF anchor) const
{
    if (!(factor > 0) || !std::isfinite(factor))
        return *this;
    const double scale = std::clamp(m_scale * factor, minScale, maxScale);
    const QPointF anchorWorld = worldForPoint(anchor);
    // Keep anchorWorld under the anchor point at the new scale.
    const QPointF offset(anchor.x() - m_viewport.width() / 2, anchor.y() - m_viewport.height() / 2);
    return fromWorld(anchorWorld - offset / scale, scale, m_viewport);
}

void MapProjection::clampCenter()
{
    // Longitude wraps; latitude stays within the Mercator square.
    double x = m_center.x();
    if (std::isfinite(x))
        x -= std::floor(x);
    else
        x = 0.5;
    double y = std::isfinite(m_center.y()) ? m_center.y() : 0.5;
    const double halfHeight = m_viewport.height() / 2 / m_scale;
    if (halfHeight * 2 >= 1.0)
        y = 0.5;
    else
        y = std::clamp(y, halfHeight, 1.0 - halfHeight);
    m_center = {x, y};
}
