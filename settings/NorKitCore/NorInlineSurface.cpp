#include "NorInlineSurface.h"

#include "CardSurface.h"

#include <QLayout>
#include <QPainter>
#include <QVBoxLayout>

NorInlineSurface::NorInlineSurface(qreal cornerRadius, bool emphasized, QWidget *parent)
    : QWidget(parent)
    , m_cornerRadius(cornerRadius)
    , m_emphasized(emphasized)
{
    setObjectName(QStringLiteral("norInlineSurface"));
    setAttribute(Qt::WA_TranslucentBackground);
}

void NorInlineSurface::setCornerRadius(qreal radius)
{
    if (qFuzzyCompare(m_cornerRadius, radius))
        return;
    m_cornerRadius = radius;
    update();
}

void NorInlineSurface::setEmphasized(bool emphasized)
{
    if (m_emphasized == emphasized)
        return;
    m_emphasized = emphasized;
    update();
}

void NorInlineSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CardSurface::paintHighlight(painter, rect(), m_cornerRadius, m_emphasized);
}

NorInlineSurface *norInlineSurface(QWidget *content, qreal cornerRadius, bool emphasized)
{
    auto *surface = new NorInlineSurface(cornerRadius, emphasized);
    if (!content)
        return surface;
    QWidget *parent = content->parentWidget();
    const bool shown = !content->isHidden();
    surface->setSizePolicy(content->sizePolicy());
    // Take the content's place: in its layout (keeping position, stretch and alignment), or
    // at its geometry when it is placed by hand.
    bool replaced = false;
    if (QLayout *placed = parent ? parent->layout() : nullptr) {
        if (QLayoutItem *old = placed->replaceWidget(content, surface, Qt::FindChildrenRecursively)) {
            delete old;
            replaced = true;
        }
    }
    if (parent && !replaced) {
        surface->setParent(parent);
        surface->setGeometry(content->geometry());
    }
    auto *layout = new QVBoxLayout(surface);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content);
    if (parent)
        surface->setVisible(shown);
    return surface;
}
