#pragma once

#include "SurfacePainter.h"

#include <QWidget>

// A widget that paints itself as a glass surface; its layout sits inside the padding.
// Lane cards, shot cards and node cards are built on it.
class GlassSurface : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GlassSurface)

public:
    explicit GlassSurface(QWidget *parent = nullptr);

    qreal cornerRadius() const { return m_style.cornerRadius; }
    void setCornerRadius(qreal radius);

    // Space between the surface's edge and its content (the shadow's room comes on top).
    QMargins padding() const { return m_padding; }
    void setPadding(const QMargins &padding);
    void setPadding(int padding) { setPadding(QMargins(padding, padding, padding, padding)); }

    SurfacePainter::Kind kind() const { return m_style.kind; }
    void setKind(SurfacePainter::Kind kind);

    void setShadowVisible(bool visible);
    void setHighlighted(bool highlighted);
    void setTint(const QColor &tint);

    // The rectangle the surface fills (the widget minus the shadow's room).
    QRectF surfaceRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyMargins();

    SurfacePainter::Style m_style;
    QMargins m_padding{16, 16, 16, 16};
};
