#include "CardShadowEffect.h"

#include "CardSurface.h"

#include <QPainter>

CardShadowEffect::CardShadowEffect(QObject *parent)
    : QGraphicsEffect(parent)
{
}

void CardShadowEffect::setCornerRadius(qreal radius)
{
    if (qFuzzyCompare(m_cornerRadius, radius))
        return;
    m_cornerRadius = radius;
    update();
}

QRectF CardShadowEffect::boundingRectFor(const QRectF &rect) const
{
    const qreal reach = CardSurface::shadowReach;
    return rect.adjusted(-reach, -reach, reach, reach + CardSurface::shadowOffsetY);
}

void CardShadowEffect::draw(QPainter *painter)
{
    const QRectF bounds = sourceBoundingRect(Qt::LogicalCoordinates);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    CardSurface::paintShadow(*painter, bounds, m_cornerRadius);
    painter->restore();
    drawSource(painter);
}
