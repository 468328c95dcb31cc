#pragma once

#include "MapCamera.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Web-Mercator projection of a camera into a viewport. World coordinates run from 0 to 1
// on both axes (x eastwards from 180°W, y southwards from 85.05°N); a view point is
// (world − centre) × scale + half the viewport. Pure and cheap to copy.
class MapProjection final
{
public:
    static constexpr double maxLatitude = 85.0511287798066;
    static constexpr double minScale = 128.0;          // pixels per world: the whole world in 128 px
    static constexpr double maxScale = 256.0 * (1 << 21); // street level

    MapProjection() = default;
    // The largest scale at which the camera's span still fits into the viewport.
    MapProjection(const MapCamera &camera, QSizeF viewport);
    // A projection given directly by its world centre and scale (clamped to the limits).
    static MapProjection fromWorld(QPointF worldCenter, double scale, QSizeF viewport);

    static QPointF worldPoint(const MapCoordinate &coordinate);
    static MapCoordinate coordinateForWorld(QPointF world);

    QPointF pointForCoordinate(const MapCoordinate &coordinate) const;
    MapCoordinate coordinateForPoint(QPointF point) const;
    QPointF pointForWorld(QPointF world) const;
    QPointF worldForPoint(QPointF point) const;

    // The region the viewport shows, as a camera (centre and visible span).
    MapCamera visibleRegion() const;
    // The visible part of the world in world coordinates.
    QRectF visibleWorldRect() const;

    // Moved so that the content follows the pointer by `delta` pixels.
    MapProjection panned(QPointF delta) const;
    // Zoomed by `factor` (> 1 zooms in) keeping the world point under `anchor` in place.
    MapProjection zoomed(double factor, QPointF anchor) const;

    QPointF worldCenter() const { return m_center; }
    double scale() const { return m_scale; }
    QSizeF viewport() const { return m_viewport; }

private:
    void clampCenter();

    QPointF m_center{0.5, 0.5};
    double m_scale = minScale;
    QSizeF m_viewport{256, 256};
};
