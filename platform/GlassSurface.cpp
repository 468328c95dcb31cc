#include "GlassSurface.h"

#include <QPainter>

GlassSurface::GlassSurface(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground, false);
    applyMargins();
}

void GlassSurface::setCornerRadius(qreal radius)
{
    if (qFuzzyCompare(m_style.cornerRadius, radius))
        return;
    m_style.cornerRadius = radius;
    update();
}

void GlassSurface::setPadding(const QMargins &padding)
{
    if (m_padding == padding)
        return;
    m_padding = padding;
    applyMargins();
}

void GlassSurface::setKind(SurfacePainter::Kind kind)
{
    if (m_style.kind == kind)
        return;
    m_style.kind = kind;
    update();
}

void GlassSurface::setShadowVisible(bool visible)
{
    if (m_style.shadow == visible)
        return;
    m_style.shadow = visible;
    applyMargins();
    update();
}

void GlassSurface::setHighlighted(bool highlighted)
{
    if (m_style.highlighted == highlighted)
        return;
    m_style.highlighted = highlighted;
    update();
}

void GlassSurface::setTint(const QColor &tint)
{
    if (m_style.tint == tint)
        return;
    m_style.tint = tint;
    update();
}

QRectF GlassSurface::surfaceRect() const
{
    const QMargins room = m_style.shadow ? SurfacePainter::shadowMargins() : QMargins();
    return QRectF(rect().marginsRemoved(room));
}

void GlassSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SurfacePainter::paint(painter, surfaceRect(), m_style);
}

void GlassSurface::applyMargins()
{
    const QMargins room = m_style.shadow ? SurfacePainter::shadowMargins() : QMargins();
    setContentsMargins(m_padding + room);
}
