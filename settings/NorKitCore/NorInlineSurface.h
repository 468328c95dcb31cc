#pragma once

#include <QWidget>

// A container drawn on the kit's flat highlight fill: a rounded rectangle with continuous
// corners behind its content, white at 0.14 when emphasized and 0.08 otherwise, with no
// border and no shadow. Put content into its layout, or wrap a widget with norInlineSurface.
class NorInlineSurface final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NorInlineSurface)

public:
    NorInlineSurface(qreal cornerRadius, bool emphasized, QWidget *parent = nullptr);

    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);
    bool isEmphasized() const { return m_emphasized; }
    void setEmphasized(bool emphasized);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_cornerRadius = 0;
    bool m_emphasized = false;
};

// Puts the highlight fill behind `content`: returns a surface holding it edge to edge. A
// widget that already sits in a layout is replaced there by its surface.
NorInlineSurface *norInlineSurface(QWidget *content, qreal cornerRadius, bool emphasized);
