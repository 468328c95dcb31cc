#include "MapWidget.h"

#include "AppPalette.h"
#include "Locales.h"
#include "Spring.h"
#include "Symbols.h"
#include "TextStyle.h"
#include "WorldAtlas.h"
#include "WorldPathCache.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>
#include <QWheelEvent>

#include <array>
#include <cmath>

namespace {

// A dark, quiet map: deep blue-grey sea, slate land, hairline coasts and borders.
const QColor waterColor(0x10, 0x18, 0x24);
const QColor landColor(0x25, 0x2B, 0x33);
const QColor coastColor(0x4A, 0x5A, 0x6C);
const QColor borderColor(0x5C, 0x66, 0x73);
const QColor graticuleColor(255, 255, 255, 16);
const QColor graticuleLabelColor(255, 255, 255, 70);
const QColor cityDotColor(0xD8, 0xDE, 0xE6);
const QColor cityLabelColor(0xC4, 0xCB, 0xD4);
const QColor haloColor(0x0B, 0x0F, 0x16, 210);

constexpr int markerPixelSize = 36;
constexpr int changeEndDelayMs = 220;
constexpr double citiesFromScale = 256.0 * 4; // below this the world is too small for cities

bool overlaps(const QRectF &a, const QRectF &b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

// Worth drawing at this scale: not visibly smaller than a pixel, and in the window.
bool drawable(const QRectF &bounds, const QRectF &window, double minimumWorldSize)
{
    return (bounds.width() >= minimumWorldSize || bounds.height() >= minimumWorldSize) && overlaps(bounds, window);
}

// The longest graticule step that still draws a few lines across `span` degrees.
double graticuleStep(double span)
{
    static constexpr std::array<double, 16> steps{30, 15, 10, 5, 2, 1, 0.5, 0.25, 0.1, 0.05, 0.025, 0.01, 0.005, 0.0025, 0.001, 0.0005};
    for (const double step : steps) {
        if (span / step >= 3)
            return step;
    }
    return steps.back();
}

} // namespace

MapWidget::MapWidget(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
    setFocusPolicy(Qt::ClickFocus);
    m_camera = {{0, 0}, {120, 120}};
    m_projection = MapProjection(m_camera, size());

    m_changeEndTimer.setSingleShot(true);
    m_changeEndTimer.setInterval(changeEndDelayMs);
    connect(&m_changeEndTimer, &QTimer::timeout, this, &MapWidget::finishUserChange);

    connect(&m_atlasWatcher, &QFutureWatcherBase::finished, this, [this] {
        if (m_atlasWatcher.future().resultCount() == 0)
            return;
        const std::shared_ptr<const WorldAtlas> atlas = m_atlasWatcher.result();
        if (!atlas)
            return;
        m_paths = std::make_unique<WorldPathCache>(atlas);
        m_labelWidths.assign(atlas->cities().size(), -1.f);
        update();
        emit atlasLoaded();
    });
    m_atlasWatcher.setFuture(WorldAtlas::shared());
    m_placedLabels.reserve(128);
}

MapWidget::~MapWidget() = default;

void MapWidget::setCamera(const MapCamera &camera, bool animated)
{
    if (camera == m_camera)
        return;
    m_camera = camera;
    const MapProjection target(camera, size());
    stopAnimation();
    if (!animated || !Motion::animationsEnabled() || !isVisible()) {
        m_projection = target;
        update();
        return;
    }
    m_animationFrom = m_projection;
    m_animationTo = target;
    m_animation = new QVariantAnimation(this);
    const Spring spring; // the default animation
    m_animation->setDuration(spring.durationMs());
    m_animation->setEasingCurve(spring.easingCurve());
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        const double t = value.toDouble();
        QPointF from = m_animationFrom.worldCenter();
        const QPointF to = m_animationTo.worldCenter();
        // Across the date line the short way round.
        if (to.x() - from.x() > 0.5)
            from.rx() += 1;
        else if (from.x() - to.x() > 0.5)
            from.rx() -= 1;
        const QPointF center = from + (to - from) * t;
        const double scale = std::exp(std::log(m_animationFrom.scale()) * (1 - t) + std::log(m_animationTo.scale()) * t);
        m_projection = MapProjection::fromWorld(center, scale, size());
        update();
    });
    connect(m_animation, &QVariantAnimation::finished, this, [this] {
        m_projection = m_animationTo;
        m_animation->deleteLater();
        m_animation = nullptr;
        update();
    });
    m_animation->start();
}

void MapWidget::stopAnimation()
{
    if (!m_animation)
        return;
    m_animation->disconnect(this);
    m_animation->stop();
    m_animation->deleteLater();
    m_animation = nullptr;
}

std::optional<MapCoordinate> MapWidget::coordinateForPoint(QPointF point) const
{
    const QPointF world = m_projection.worldForPoint(point);
    if (world.y() < 0 || world.y() > 1 || !std::isfinite(world.x()))
        return std::nullopt;
    MapCoordinate c = MapProjection::coordinateForWorld({world.x() - std::floor(world.x()), world.y()});
    return c;
}

QPointF MapWidget::pointForCoordinate(const MapCoordinate &coordinate) const
{
    QPointF world = MapProjection::worldPoint(coordinate);
    // The copy of the world nearest the centre.
    world.rx() -= std::round(world.x() - m_projection.worldCenter().x());
    return m_projection.pointForWorld(world);
}

void MapWidget::setMarker(const std::optional<MapCoordinate> &coordinate, const QString &title)
{
    if (coordinate == m_marker && title == m_markerTitle)
        return;
    m_marker = coordinate;
    m_markerTitle = title;
    update();
}

void MapWidget::setProjectionByUser(const MapProjection &projection)
{
    stopAnimation();
    m_projection = projection;
    m_camera = projection.visibleRegion();
    update();
    emit cameraChanged(m_camera);
}

void MapWidget::finishUserChange()
{
    m_changeEndTimer.stop();
    emit cameraChangeEnded(m_projection.visibleRegion().span);
}

void MapWidget::zoomBy(double factor, QPointF anchor)
{
    setProjectionByUser(m_projection.zoomed(factor, anchor));
    m_changeEndTimer.start();
}

bool MapWidget::event(QEvent *event)
{
    if (event->type() == QEvent::NativeGesture) {
        auto *gesture = static_cast<QNativeGestureEvent *>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            zoomBy(1.0 + gesture->value(), gesture->position());
            return true;
        }
        if (gesture->gestureType() == Qt::EndNativeGesture) {
            finishUserChange();
            return true;
        }
    }
    return QWidget::event(event);
}

void MapWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    stopAnimation();
    m_projection = MapProjection(m_camera, size());
}

void MapWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_dragging = false;
    m_pressPoint = m_lastPoint = event->position();
}

void MapWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const QPointF point = event->position();
    if (!m_dragging && (point - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    if (!m_dragging) {
        m_dragging = true;
        setCursor(Qt::ClosedHandCursor);
    }
    const QPointF delta = point - m_lastPoint;
    m_lastPoint = point;
    setProjectionByUser(m_projection.panned(delta));
}

void MapWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    if (m_dragging) {
        m_dragging = false;
        setCursor(Qt::OpenHandCursor);
        finishUserChange();
        return;
    }
    if (const auto coordinate = coordinateForPoint(event->position()))
        emit tapped(coordinate->latitude, coordinate->longitude);
}

void MapWidget::wheelEvent(QWheelEvent *event)
{
    // A notch (120) zooms by half a level; touchpads report pixels instead.
    double steps = event->angleDelta().y() / 120.0;
    if (!event->pixelDelta().isNull())
        steps = event->pixelDelta().y() / 100.0;
    if (steps == 0) {
        event->ignore();
        return;
    }
    zoomBy(std::pow(2.0, steps * 0.5), event->position());
    event->accept();
}

void MapWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), waterColor);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (m_paths)
        paintLand(painter);
    paintGraticule(painter);
    if (m_paths)
        paintCities(painter);
    paintMarker(painter);
}

void MapWidget::paintLand(QPainter &painter)
{
    const WorldAtlas &atlas = m_paths->atlas();
    const double scale = m_projection.scale();
    const int level = WorldPathCache::levelForScale(scale);
    const double factor = scale / WorldPathCache::levelScale(level);
    const QRectF visible = m_projection.visibleWorldRect();
    const QPointF center = m_projection.worldCenter();
    const double minimumWorldSize = 1.5 / scale; // islands below a pixel and a half are left out

    QPen coastPen(coastColor, 1.0);
    coastPen.setCosmetic(true);
    QPen borderPen(borderColor, 0.8);
    borderPen.setCosmetic(true);

    // The world repeats sideways when zoomed far out or near the date line.
    for (int copy = int(std::floor(visible.left())); copy <= int(std::floor(visible.right())); ++copy) {
        const QRectF window = visible.translated(-copy, 0);
        painter.setTransform(QTransform(factor, 0, 0, factor,
                                        (copy - center.x()) * scale + width() / 2.0,
                                        -center.y() * scale + height() / 2.0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(landColor);
        for (size_t i = 0; i < atlas.polygons().size(); ++i) {
            if (drawable(atlas.polygons()[i].bounds, window, minimumWorldSize))
                painter.drawPath(m_paths->polygon(level, i));
        }
        painter.setBrush(Qt::NoBrush);
        for (const bool border : {false, true}) {
            painter.setPen(border ? borderPen : coastPen);
            for (size_t i = 0; i < atlas.lines().size(); ++i) {
                const WorldLine &line = atlas.lines()[i];
                if (line.border == border && drawable(line.bounds, window, minimumWorldSize))
                    painter.drawPolyline(m_paths->line(level, i));
            }
        }
    }
    painter.resetTransform();
}

void MapWidget::paintGraticule(QPainter &painter)
{
    const MapCamera region = m_projection.visibleRegion();
    const QRectF visible = m_projection.visibleWorldRect();
    const double step = graticuleStep(std::min(region.span.longitudeDelta, std::max(region.span.latitudeDelta, 1e-9)));
    QPen pen(graticuleColor, 1.0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    const double west = visible.left() * 360.0 - 180.0;
    const double east = visible.right() * 360.0 - 180.0;
    const double north = MapProjection::coordinateForWorld({0, std::max(visible.top(), 0.0)}).latitude;
    const double south = MapProjection::coordinateForWorld({0, std::min(visible.bottom(), 1.0)}).latitude;
    const qint64 firstMeridian = qint64(std::ceil(west / step));
    const qint64 lastMeridian = qint64(std::floor(east / step));
    const qint64 firstParallel = qint64(std::ceil(south / step));
    const qint64 lastParallel = qint64(std::floor(north / step));
    for (qint64 i = firstMeridian; i <= lastMeridian; ++i) {
        const double x = m_projection.pointForWorld({(i * step + 180.0) / 360.0, 0}).x();
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
    for (qint64 i = firstParallel; i <= lastParallel; ++i) {
        const double y = m_projection.pointForCoordinate({i * step, 0}).y();
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
    }

    // Degrees along the bottom and left edges, as many digits as the step needs.
    int digits = 0;
    while (digits < 6 && std::abs(step * std::pow(10.0, digits) - std::round(step * std::pow(10.0, digits))) > 1e-6)
        ++digits;
    const QLocale locale;
    auto degrees = [&](double value, QChar positive, QChar negative) {
        double wrapped = value;
        if (positive == QLatin1Char('O'))
            wrapped = std::remainder(value, 360.0);
        const double rounded = std::abs(wrapped) < step / 2 ? 0.0 : wrapped;
        const QString number = Locales::formatDecimal(std::abs(rounded), locale, 0, digits) + QChar(0x00B0);
        return rounded == 0 ? number : number + QLatin1Char(' ') + (rounded > 0 ? positive : negative);
    };
    painter.setFont(TextStyles::font(TextStyle::Caption2));
    const QFontMetricsF metrics(painter.font());
    painter.setPen(graticuleLabelColor);
    double lastRight = -1e9;
    for (qint64 i = firstMeridian; i <= lastMeridian; ++i) {
        const double x = m_projection.pointForWorld({(i * step + 180.0) / 360.0, 0}).x() + 4;
        const QString text = degrees(i * step, QLatin1Char('O'), QLatin1Char('W'));
        const double right = x + metrics.horizontalAdvance(text);
        if (x < lastRight + 16 || right > width() - 2)
            continue; // no room between its neighbours or at the edge
        painter.drawText(QPointF(x, height() - 5), text);
        lastRight = right;
    }
    for (qint64 i = firstParallel; i <= lastParallel; ++i) {
        const double y = m_projection.pointForCoordinate({i * step, 0}).y();
        if (y > metrics.height() + 2 && y < height() - metrics.height() - 6)
            painter.drawText(QPointF(5, y - 4), degrees(i * step, QLatin1Char('N'), QLatin1Char('S')));
    }
}

void MapWidget::paintCities(QPainter &painter)
{
    const double scale = m_projection.scale();
    if (scale < citiesFromScale)
        return;
    const auto &cities = m_paths->atlas().cities();
    const QFont font = TextStyles::font(TextStyle::Caption2, QFont::Medium);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const QRectF bounds = QRectF(rect()).adjusted(-4, -4, 4, 4);
    const double centerX = m_projection.worldCenter().x();
    // Room for about one label per 150 × 48 pixels keeps the map readable.
    const size_t maxLabels = size_t(std::max(4.0, width() * height() / (150.0 * 48.0)));
    const double dotRadius = 2.5;

    m_placedLabels.clear();
    if (m_marker) {
        const QPointF p = pointForCoordinate(*m_marker);
        m_placedLabels.push_back(QRectF(p.x() - 40, p.y() - markerPixelSize, 80, markerPixelSize + 22));
    }
    const size_t reserved = m_placedLabels.size();
    for (size_t i = 0; i < cities.size() && m_placedLabels.size() - reserved < maxLabels; ++i) {
        const WorldCity &city = cities[i];
        const QPointF world(city.world.x() - std::round(city.world.x() - centerX), city.world.y());
        const QPointF p = m_projection.pointForWorld(world);
        if (!bounds.contains(p))
            continue;
        float &labelWidth = m_labelWidths[i];
        if (labelWidth < 0)
            labelWidth = float(metrics.horizontalAdvance(city.name));
        const QRectF label(p.x() - dotRadius, p.y() - metrics.height() / 2 - 1,
                           dotRadius * 2 + 5 + labelWidth, metrics.height() + 2);
        bool free = true;
        for (const QRectF &placed : m_placedLabels) {
            if (overlaps(placed, label)) {
                free = false;
                break;
            }
        }
        if (!free)
            continue;
        m_placedLabels.push_back(label);

        painter.setPen(QPen(haloColor, 1.5));
        painter.setBrush(cityDotColor);
        painter.drawEllipse(p, dotRadius, dotRadius);
        const QPointF baseline(p.x() + dotRadius + 5, p.y() + metrics.ascent() / 2 - 1);
        painter.setPen(haloColor);
        painter.drawText(baseline + QPointF(0, 1), city.name);
        painter.setPen(cityLabelColor);
        painter.drawText(baseline, city.name);
    }
}

void MapWidget::paintMarker(QPainter &painter)
{
    if (!m_marker)
        return;
    const qreal dpr = devicePixelRatioF();
    if (m_markerPixmap.isNull() || !qFuzzyCompare(m_markerPixmap.devicePixelRatio(), dpr))
        m_markerPixmap = Symbols::pixmap(QStringLiteral("mappin"), AppPalette::destructive(), markerPixelSize, dpr);
    const QPointF p = pointForCoordinate(*m_marker);

    // A soft shadow where the pin meets the ground.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawEllipse(p, 5.0, 2.0);

    // The glyph's tip sits near the bottom centre of its box.
    const QSizeF size = m_markerPixmap.deviceIndependentSize();
    painter.drawPixmap(QPointF(p.x() - size.width() / 2, p.y() - size.height() * 0.92), m_markerPixmap);

    if (m_markerTitle.isEmpty())
        return;
    const QFont font = TextStyles::font(TextStyle::Caption, QFont::DemiBold);
    const QFontMetricsF metrics(font);
    const QPointF baseline(p.x() - metrics.horizontalAdvance(m_markerTitle) / 2, p.y() + 6 + metrics.ascent());
    QPainterPath text;
    text.addText(baseline, font, m_markerTitle);
    painter.setPen(QPen(haloColor, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(text);
    painter.setPen(Qt::NoPen);
    painter.setBrush(AppPalette::primaryText());
    painter.drawPath(text);
}
