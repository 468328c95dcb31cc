#pragma once

#include <QGraphicsEffect>

// Draws the card shadow (black 0.12, blur 10, offset y 4) of a rounded rectangle the size
// of the widget behind it, reaching beyond the widget's bounds, then the widget itself.
class CardShadowEffect final : public QGraphicsEffect
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardShadowEffect)

public:
    explicit CardShadowEffect(QObject *parent = nullptr);

    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);

    QRectF boundingRectFor(const QRectF &rect) const override;

protected:
    void draw(QPainter *painter) override;

private:
    qreal m_cornerRadius = 16;
};
