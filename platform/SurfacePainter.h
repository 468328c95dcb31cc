#pragma once

#include <QColor>
#include <QMargins>
#include <QRectF>

class QPainter;

// Glass and material surfaces, drawn the same way by every card, badge and capsule: a
// translucent rounded rectangle with a soft rim and a soft shadow below it.
namespace SurfacePainter {

enum class Kind {
    RegularGlass,      // cards: clearly lifted off the window
    UltraThinMaterial, // quiet backgrounds: barely there
};

struct Style
{
    Kind kind = Kind::RegularGlass;
    qreal cornerRadius = 16;
    bool shadow = true;
    // Hover and press make an interactive surface a little brighter.
    bool highlighted = false;
    // An optional colour mixed into the fill (a tint for selected or coloured surfaces).
    QColor tint;
};

// The room outside the surface that its shadow needs; a widget that paints a surface
// keeps this much space free around it.
QMargins shadowMargins();
// The layout spacing that leaves `visibleGap` of window between two stacked surfaces whose
// widgets both keep the shadow's room.
int stackSpacing(int visibleGap);

// Paints the shadow (when asked), the fill and the rim of a surface filling `rect`.
void paint(QPainter &painter, const QRectF &rect, const Style &style);

// A capsule: a surface whose corner radius is half its height.
void paintCapsule(QPainter &painter, const QRectF &rect, Style style);

} // namespace SurfacePainter
