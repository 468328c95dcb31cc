#include "NodeChainView.h"

#include "NodeBadge.h"

#include <QGraphicsOpacityEffect>
#include <QLinearGradient>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr int connectorWidth = 26;
constexpr double angleUnitsPerNotch = 120.0;
} // namespace

NodeChainView::NodeChainView(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("nodeChain"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"));

    // The fade is an opacity mask over the cells, so it suits whatever surface lies below.
    m_fade = new QGraphicsOpacityEffect(this);
    m_fade->setEnabled(false);
    viewport()->setGraphicsEffect(m_fade);

    QScrollBar *bar = horizontalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &NodeChainView::updateFade);
    connect(bar, &QScrollBar::rangeChanged, this, &NodeChainView::updateFade);
}

std::optional<int> NodeChainView::wheelTarget(int value, int maximum, int delta)
{
    if (maximum <= 0 || delta == 0)
        return std::nullopt;
    if ((delta > 0 && value <= 0) || (delta < 0 && value >= maximum))
        return std::nullopt;
    return std::clamp(value - delta, 0, maximum);
}

int NodeChainView::notchStep()
{
    return NodeBadge::columnWidth + connectorWidth;
}

void NodeChainView::wheelEvent(QWheelEvent *event)
{
    // Whichever axis the wheel or touchpad moved most along drives the chain sideways.
    const QPoint pixels = event->pixelDelta();
    const QPoint angle = event->angleDelta();
    int delta = 0;
    if (!pixels.isNull()) {
        delta = std::abs(pixels.x()) > std::abs(pixels.y()) ? pixels.x() : pixels.y();
    } else {
        const int units = std::abs(angle.x()) > std::abs(angle.y()) ? angle.x() : angle.y();
        delta = int(std::lround(units / angleUnitsPerNotch * notchStep()));
    }

    QScrollBar *bar = horizontalScrollBar();
    const std::optional<int> target = wheelTarget(bar->value(), bar->maximum(), delta);
    if (!target) {
        // At its end (or nothing to scroll): the grid around takes the wheel.
        event->ignore();
        return;
    }
    bar->setValue(*target);
    event->accept();
}

void NodeChainView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    updateFade();
}

void NodeChainView::updateFade()
{
    const QScrollBar *bar = horizontalScrollBar();
    m_fadesLeading = bar->value() > bar->minimum();
    m_fadesTrailing = bar->value() < bar->maximum();
    const bool fades = m_fadesLeading || m_fadesTrailing;
    m_fade->setEnabled(fades);
    if (!fades)
        return;

    const qreal width = std::max(1, viewport()->width());
    const qreal edge = std::min(0.5, fadeWidth / width);
    QLinearGradient mask(0, 0, width, 0);
    mask.setColorAt(0, m_fadesLeading ? Qt::transparent : QColor(Qt::black));
    mask.setColorAt(edge, Qt::black);
    mask.setColorAt(1 - edge, Qt::black);
    mask.setColorAt(1, m_fadesTrailing ? Qt::transparent : QColor(Qt::black));
    m_fade->setOpacityMask(mask);
}
