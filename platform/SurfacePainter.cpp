#include "SurfacePainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace SurfacePainter {
namespace {

constexpr int shadowBlur = 6;
constexpr int shadowOffsetY = 2;

struct Tones
{
    int fillTop;
    int fillBottom;
    int rimTop;
    int rimBottom;
    int shadow;
};

Tones tones(Kind kind, bool highlighted)
{
    Tones t = kind == Kind::RegularGlass ? Tones{22, 13, 52, 16, 70} : Tones{12, 7, 30, 10, 40};
    if (highlighted) {
        t.fillTop += 12;
        t.fillBottom += 10;
        t.rimTop += 20;
    }
    return t;
}

QPainterPath roundedPath(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    const qreal r = std::min(radius, std::min(rect.width(), rect.height()) / 2.0);
    path.addRoundedRect(rect, r, r);
    return path;
}

void paintShadow(QPainter &painter, const QRectF &rect, qreal radius, int alpha)
{
    // A soft shadow without a blur pass: a few widening rings of falling opacity.
    painter.setPen(Qt::NoPen);
    for (int i = shadowBlur; i >= 1; --i) {
        const qreal grow = i;
        const QRectF ring = rect.adjusted(-grow, -grow + shadowOffsetY, grow, grow + shadowOffsetY);
        const qreal falloff = 1.0 - qreal(i) / (shadowBlur + 1);
        painter.setBrush(QColor(0, 0, 0, int(alpha * falloff * falloff / shadowBlur)));
        painter.drawPath(roundedPath(ring, radius + grow));
    }
}

} // namespace

QMargins shadowMargins()
{
    return QMargins(shadowBlur, shadowBlur - shadowOffsetY, shadowBlur, shadowBlur + shadowOffsetY);
}

int stackSpacing(int visibleGap)
{
    const QMargins room = shadowMargins();
    return std::max(0, visibleGap - room.bottom() - room.top());
}

void paint(QPainter &painter, const QRectF &rect, const Style &style)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const Tones t = tones(style.kind, style.highlighted);

    if (style.shadow)
        paintShadow(painter, rect, style.cornerRadius, t.shadow);

    const QPainterPath path = roundedPath(rect, style.cornerRadius);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(255, 255, 255, t.fillTop));
    fill.setColorAt(1, QColor(255, 255, 255, t.fillBottom));
    painter.setPen(Qt::NoPen);
    // An opaque base under the translucent fill keeps the glass readable over anything.
    painter.setBrush(QColor(0x1C, 0x1D, 0x22, style.kind == Kind::RegularGlass ? 150 : 90));
    painter.drawPath(path);
    painter.setBrush(fill);
    painter.drawPath(path);
    if (style.tint.isValid()) {
        painter.setBrush(style.tint);
        painter.drawPath(path);
    }

    // The rim: a hairline lit from above that fades towards the bottom edge.
    const QRectF rimRect = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient rim(rimRect.topLeft(), rimRect.bottomLeft());
    rim.setColorAt(0, QColor(255, 255, 255, t.rimTop));
    rim.setColorAt(1, QColor(255, 255, 255, t.rimBottom));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(rim), 1.0));
    painter.drawPath(roundedPath(rimRect, style.cornerRadius - 0.5));
    painter.restore();
}

void paintCapsule(QPainter &painter, const QRectF &rect, Style style)
{
    style.cornerRadius = rect.height() / 2.0;
    paint(painter, rect, style);
}

} // namespace SurfacePainter
