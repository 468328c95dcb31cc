#pragma once

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

// The style option a scroll bar paints itself with, rebuilt from its public state, so a test
// can ask the bar's style where its parts lie.
inline QStyleOptionSlider scrollBarOption(const QScrollBar *bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return option;
}

inline QRect scrollBarPart(const QScrollBar *bar, QStyle::SubControl part)
{
    const QStyleOptionSlider option = scrollBarOption(bar);
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

// Slim and without arrow buttons, as on the plan page.
inline bool isSlimBar(const QScrollBar *bar, int extent)
{
    const int thickness = bar->orientation() == Qt::Vertical ? bar->width() : bar->height();
    return thickness == extent && scrollBarPart(bar, QStyle::SC_ScrollBarAddLine).isEmpty()
        && scrollBarPart(bar, QStyle::SC_ScrollBarSubLine).isEmpty();
}
