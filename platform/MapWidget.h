#pragma once

#include "MapCamera.h"
#include "MapProjection.h"

#include <QFutureWatcher>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QVariantAnimation;
class WorldAtlas;
class WorldPathCache;

// An offline map: land, coasts and borders from the embedded atlas, a graticule, labelled
// cities and one titled marker. The owner sets the camera; the user pans (drag) and zooms
// (wheel, pinch), which the map reports back. A click without a drag reports its coordinate
// and leaves the camera where it is.
class MapWidget final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MapWidget)

public:
    explicit MapWidget(QWidget *parent = nullptr);
    ~MapWidget() override;

    // The camera last set by the owner or reached by the user.
    MapCamera camera() const { return m_camera; }
    // Shows the camera's region; an equal camera changes nothing.
    void setCamera(const MapCamera &camera, bool animated = false);
    // What the viewport really shows (the camera's span fitted to the widget's shape).
    MapCamera visibleRegion() const { return m_projection.visibleRegion(); }
    MapProjection projection() const { return m_projection; }

    // The coordinate under a point of the widget; none beyond the map's top and bottom edges.
    std::optional<MapCoordinate> coordinateForPoint(QPointF point) const;
    QPointF pointForCoordinate(const MapCoordinate &coordinate) const;

    void setMarker(const std::optional<MapCoordinate> &coordinate, const QString &title = QString());
    std::optional<MapCoordinate> marker() const { return m_marker; }

    bool isAtlasLoaded() const { return m_paths != nullptr; }

    QSize sizeHint() const override { return {560, 360}; }
    QSize minimumSizeHint() const override { return {200, 150}; }

signals:
    // The user moved the map; `camera` is the region now visible.
    void cameraChanged(const MapCamera &camera);
    // A pan or zoom by the user came to rest; the span of the visible region.
    void cameraChangeEnded(const MapSpan &span);
    void tapped(double latitude, double longitude);
    void atlasLoaded();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void setProjectionByUser(const MapProjection &projection);
    void finishUserChange();
    void stopAnimation();
    void zoomBy(double factor, QPointF anchor);

    void paintLand(QPainter &painter);
    void paintGraticule(QPainter &painter);
    void paintCities(QPainter &painter);
    void paintMarker(QPainter &painter);

    MapCamera m_camera;
    MapProjection m_projection;
    std::optional<MapCoordinate> m_marker;
    QString m_markerTitle;

    std::unique_ptr<WorldPathCache> m_paths;
    QFutureWatcher<std::shared_ptr<const WorldAtlas>> m_atlasWatcher;

    // Pointer interaction.
    bool m_pressed = false;
    bool m_dragging = false;
    QPointF m_pressPoint;
    QPointF m_lastPoint;
    QTimer m_changeEndTimer;

    // Programmatic moves.
    QVariantAnimation *m_animation = nullptr;
    MapProjection m_animationFrom;
    MapProjection m_animationTo;

    // Drawing resources made once.
    QPixmap m_markerPixmap;
    std::vector<float> m_labelWidths;
    std::vector<QRectF> m_placedLabels;
};
