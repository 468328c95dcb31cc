#include "AppStyle.h"

#include "AppPalette.h"
#include "TextStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionSlider>

#include <algorithm>

namespace {

// The handle's colours, as the plan page's slim bar has them.
const QColor handleColor(255, 255, 255, 60);
const QColor handleActiveColor(255, 255, 255, 100);

QRect scrollBarRect(const QStyleOptionSlider &bar, QStyle::SubControl part)
{
    const bool horizontal = bar.orientation == Qt::Horizontal;
    const QRect groove = bar.rect.adjusted(AppStyle::scrollBarMargin, AppStyle::scrollBarMargin,
                                           -AppStyle::scrollBarMargin, -AppStyle::scrollBarMargin);
    const int length = std::max(0, horizontal ? groove.width() : groove.height());
    const qint64 range = qint64(bar.maximum) - bar.minimum;
    int handleLength = length;
    if (range > 0) {
        const qint64 proportional = qint64(length) * bar.pageStep / (range + bar.pageStep);
        handleLength = int(std::clamp<qint64>(proportional, AppStyle::scrollBarHandleMinimum, length));
    }
    const int start = QStyle::sliderPositionFromValue(bar.minimum, bar.maximum, bar.sliderPosition,
                                                      length - handleLength, bar.upsideDown);
    const auto span = [&](int from, int size) {
        return horizontal ? QRect(groove.x() + from, groove.y(), size, groove.height())
                          : QRect(groove.x(), groove.y() + from, groove.width(), size);
    };
    switch (part) {
    case QStyle::SC_ScrollBarGroove:
        return groove;
    case QStyle::SC_ScrollBarSlider:
        return span(start, handleLength);
    case QStyle::SC_ScrollBarSubPage:
        return span(0, start);
    case QStyle::SC_ScrollBarAddPage:
        return span(start + handleLength, length - start - handleLength);
    default:
        // No arrow buttons and no first/last areas.
        return QRect();
    }
}

} // namespace

AppStyle::AppStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

void AppStyle::install()
{
    QApplication::setStyle(new AppStyle);
    QApplication::setPalette(AppPalette::palette());
    QApplication::setFont(TextStyles::font(TextStyle::Body));
}

int AppStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return scrollBarExtent;
    case PM_ScrollBarSliderMin:
        return scrollBarHandleMinimum;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QRect AppStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                               const QWidget *widget) const
{
    if (control == CC_ScrollBar) {
        if (const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option))
            return visualRect(bar->direction, bar->rect, scrollBarRect(*bar, subControl));
    }
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

void AppStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                  const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The groove stays transparent; only the handle is drawn.
    const bool active = (bar->activeSubControls & SC_ScrollBarSlider)
        && (bar->state & (State_MouseOver | State_Sunken));
    const QRect handle = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget);
    if (!(bar->state & State_Enabled) || handle.isEmpty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);
    painter->setBrush(active ? handleActiveColor : handleColor);
    const qreal radius = std::min(handle.width(), handle.height()) / 2.0;
    painter->drawRoundedRect(QRectF(handle), radius, radius);
    painter->restore();
}
