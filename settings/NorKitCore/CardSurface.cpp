#include "CardSurface.h"

#include <QCache>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QtMath>

#include <vector>

namespace CardSurface {
namespace {

// A continuous corner starts this far along each edge, in units of the radius.
constexpr qreal cornerReach = 1.28;
// Bezier handle position, as a fraction of the reach; puts the corner's apex near a circle's.
constexpr qreal handle = 0.3;

// One box-blur pass over the alpha channel, horizontally or vertically.
void boxBlurAlpha(std::vector<float> &alpha, int width, int height, int radius, bool horizontal)
{
    std::vector<float> out(alpha.size());
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    const float scale = 1.0f / float(2 * radius + 1);
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> float {
            if (i < 0 || i >= length)
                return 0.0f;
            return horizontal ? alpha[size_t(line * width + i)] : alpha[size_t(i * width + line)];
        };
        float sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += at(i);
        for (int i = 0; i < length; ++i) {
            const size_t index = horizontal ? size_t(line * width + i) : size_t(i * width + line);
            out[index] = sum * scale;
            sum += at(i + radius + 1) - at(i - radius);
        }
    }
    alpha.swap(out);
}

// A blurred rounded square whose middle row and column stretch: drawn as nine pieces it
// gives the shadow of a rounded rectangle of any size with that radius.
QPixmap shadowNinePatch(int radius)
{
    static QCache<int, QPixmap> cache(32);
    if (QPixmap *hit = cache.object(radius))
        return *hit;

    const int pad = int(shadowReach);
    const int side = 2 * (radius + pad) + 1;
    QImage shape(side, side, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(continuousRect(QRectF(pad, pad, side - 2 * pad, side - 2 * pad), radius), Qt::black);
    }
    std::vector<float> alpha(size_t(side) * size_t(side));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            alpha[size_t(y * side + x)] = float(qAlpha(shape.pixel(x, y))) / 255.0f;
    // Three box passes approximate a Gaussian of sigma about half the blur radius.
    const int box = qMax(1, qRound(shadowBlur / 2.0));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurAlpha(alpha, side, side, box, true);
        boxBlurAlpha(alpha, side, side, box, false);
    }
    QImage blurred(side, side, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int a = qBound(0, qRound(alpha[size_t(y * side + x)] * float(shadowOpacity) * 255.0f), 255);
            blurred.setPixel(x, y, qRgba(0, 0, 0, a));
        }
    }
    auto *pixmap = new QPixmap(QPixmap::fromImage(blurred));
    cache.insert(radius, pixmap);
    return *pixmap;
}

} // namespace

QPainterPath continuousRect(const QRectF &rect, qreal cornerRadius)
{
    QPainterPath path;
    if (rect.isEmpty())
        return path;
    const qreal halfShort = qMin(rect.width(), rect.height()) / 2.0;
    const qreal r = qBound<qreal>(0.0, cornerRadius, halfShort);
    const qreal d = r * cornerReach;
    if (r <= 0.0) {
        path.addRect(rect);
        return path;
    }
    if (d > halfShort) {
        // No room for the smooth transition: a circular corner (a capsule at the limit).
        path.addRoundedRect(rect, r, r);
        return path;
    }
    const qreal l = rect.left(), t = rect.top(), rr = rect.right(), b = rect.bottom();
    const qreal h = d * handle;
    path.moveTo(l + d, t);
    path.lineTo(rr - d, t);
    path.cubicTo(rr - h, t, rr, t + h, rr, t + d);
    path.lineTo(rr, b - d);
    path.cubicTo(rr, b - h, rr - h, b, rr - d, b);
    path.lineTo(l + d, b);
    path.cubicTo(l + h, b, l, b - h, l, b - d);
    path.lineTo(l, t + d);
    path.cubicTo(l, t + h, l + h, t, l + d, t);
    path.closeSubpath();
    return path;
}

QColor rimTopColor(const SettingsTheme &theme)
{
    QColor c = theme.accent;
    c.setAlphaF(float(c.alphaF() * rimAccentOpacity));
    return c;
}

QColor rimBottomColor()
{
    return QColor::fromRgbF(1, 1, 1, float(rimWhiteOpacity));
}

QColor shadowColor()
{
    return QColor::fromRgbF(0, 0, 0, float(shadowOpacity));
}

void paintShadow(QPainter &painter, const QRectF &rect, qreal cornerRadius)
{
    if (rect.isEmpty())
        return;
    const qreal halfShort = qMin(rect.width(), rect.height()) / 2.0;
    const int radius = qMax(0, qRound(qMin(cornerRadius, halfShort)));
    const QPixmap patch = shadowNinePatch(radius);
    const int pad = int(shadowReach);
    const int edge = radius + pad;
    const QRectF target = rect.adjusted(-pad, -pad + shadowOffsetY, pad, pad + shadowOffsetY);

    painter.save();
    // Only the part outside the card shows; the translucent fill stays clean.
    QPainterPath outside;
    outside.addRect(target.adjusted(-1, -1, 1, 1));
    outside = outside.subtracted(continuousRect(rect, cornerRadius));
    painter.setClipPath(outside, Qt::IntersectClip);

    const qreal sw = patch.width(), sh = patch.height();
    const qreal midW = qMax<qreal>(0.0, target.width() - 2 * edge);
    const qreal midH = qMax<qreal>(0.0, target.height() - 2 * edge);
    const qreal xs[] = {target.left(), target.left() + edge, target.right() - edge};
    const qreal ys[] = {target.top(), target.top() + edge, target.bottom() - edge};
    const qreal ws[] = {qreal(edge), midW, qreal(edge)};
    const qreal hs[] = {qreal(edge), midH, qreal(edge)};
    const qreal sx[] = {0, qreal(edge), sw - edge};
    const qreal sy[] = {0, qreal(edge), sh - edge};
    const qreal sws[] = {qreal(edge), 1, qreal(edge)};
    const qreal shs[] = {qreal(edge), 1, qreal(edge)};
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (ws[col] <= 0 || hs[row] <= 0)
                continue;
            painter.drawPixmap(QRectF(xs[col], ys[row], ws[col], hs[row]), patch,
                               QRectF(sx[col], sy[row], sws[col], shs[row]));
        }
    }
    painter.restore();
}

void paintNorCard(QPainter &painter, const QRectF &rect, const SettingsTheme &theme, qreal cornerRadius, bool withShadow)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (withShadow)
        paintShadow(painter, rect, cornerRadius);

    // Ultra-thin material: a light veil that is a little brighter at the top, like frosted
    // glass catching light.
    const QPainterPath shape = continuousRect(rect, cornerRadius);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0.0, QColor::fromRgbF(1, 1, 1, 0.085f));
    fill.setColorAt(1.0, QColor::fromRgbF(1, 1, 1, 0.055f));
    painter.fillPath(shape, fill);

    // Rim: stroked inside the shape, accent at the top fading to faint white at the bottom.
    const qreal inset = rimWidth / 2.0;
    const QRectF rimRect = rect.adjusted(inset, inset, -inset, -inset);
    QLinearGradient rim(rect.topLeft(), rect.bottomLeft());
    rim.setColorAt(0.0, rimTopColor(theme));
    rim.setColorAt(1.0, rimBottomColor());
    painter.setPen(QPen(QBrush(rim), rimWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(continuousRect(rimRect, qMax<qreal>(0.0, cornerRadius - inset)));
    painter.restore();
}

void paintPlainWhite(QPainter &painter, const QRectF &rect, qreal cornerRadius)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRect(rect, cornerRadius), QColor::fromRgbF(1, 1, 1, float(plainFillOpacity)));
    const qreal inset = 0.5;
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, float(plainStrokeOpacity)), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(continuousRect(rect.adjusted(inset, inset, -inset, -inset), qMax<qreal>(0.0, cornerRadius - inset)));
    painter.restore();
}

void paintHighlight(QPainter &painter, const QRectF &rect, qreal cornerRadius, bool emphasized)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double opacity = emphasized ? highlightEmphasizedOpacity : highlightOpacity;
    painter.fillPath(continuousRect(rect, cornerRadius), QColor::fromRgbF(1, 1, 1, float(opacity)));
    painter.restore();
}

} // namespace CardSurface
