#pragma once

#include "SettingsTheme.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The kit's card surfaces as painter functions, so a widget can draw them behind any
// geometry it animates. NorCard wraps them for plain widget use.
namespace CardSurface {

// Numbers of the material card.
inline constexpr qreal rimWidth = 1.0;
inline constexpr double rimAccentOpacity = 0.35;
inline constexpr double rimWhiteOpacity = 0.06;
inline constexpr double shadowOpacity = 0.12;
inline constexpr qreal shadowBlur = 10.0;
inline constexpr qreal shadowOffsetY = 4.0;
// How far the painted shadow reaches beyond the card (blur plus offset below).
inline constexpr qreal shadowReach = 15.0;

// The plain white fallback surface.
inline constexpr double plainFillOpacity = 0.06;
inline constexpr double plainStrokeOpacity = 0.1;

// The flat highlight fill.
inline constexpr double highlightEmphasizedOpacity = 0.14;
inline constexpr double highlightOpacity = 0.08;

// A rounded rectangle with continuous (squircle-like) corners; the radius is clamped so
// that a radius larger than half the short side gives a capsule.
QPainterPath continuousRect(const QRectF &rect, qreal cornerRadius);

// The rim's two gradient stops, top then bottom.
QColor rimTopColor(const SettingsTheme &theme);
QColor rimBottomColor();
QColor shadowColor();

// Material fill, gradient rim (inside the shape) and, when asked, the soft shadow.
// The shadow reaches up to shadowReach beyond `rect`; the caller leaves room for it.
void paintNorCard(QPainter &painter, const QRectF &rect, const SettingsTheme &theme, qreal cornerRadius,
                  bool withShadow = true);
// The card's shadow alone (black 0.12, blur 10, offset y 4), painted outside the shape.
void paintShadow(QPainter &painter, const QRectF &rect, qreal cornerRadius);
// White 0.06 fill and a white 0.1 stroke of width 1; no shadow.
void paintPlainWhite(QPainter &painter, const QRectF &rect, qreal cornerRadius);
// The flat highlight fill: white 0.14 when emphasized, else 0.08; no border, no shadow.
void paintHighlight(QPainter &painter, const QRectF &rect, qreal cornerRadius, bool emphasized);

} // namespace CardSurface
