#include "AccordionMetrics.h"

#include <QtMath>

AccordionMetrics AccordionMetrics::compute(const SettingsTheme &theme, bool glass, bool expanded)
{
    AccordionMetrics m;
    const qreal h = theme.scaled(20), v = theme.scaled(16);
    m.headerPadding = QMarginsF(h, v, h, v);
    m.headerSpacing = theme.scaled(12);
    m.iconFrameWidth = theme.scaled(24);
    m.iconPixelSize = theme.scaled(16);
    m.contentPadding = QMarginsF(h, v, h, v);
    m.contentSpacing = theme.scaled(20);

    const qreal vertical = expanded ? 10 : 4;
    m.outerPadding = QMarginsF(16, vertical, 16, vertical);
    m.stackSpacing = expanded ? (glass ? 15 : 20) : 0;
    m.bubbleCornerRadius = expanded ? (glass ? 26 : 10) : 50;
    m.bubbleOffset = expanded ? QPointF(0, 0) : QPointF(95, -45);
    m.bubbleOpacity = (glass || expanded) ? 1.0 : 0.0;

    m.titleFont = theme.font(KitTextStyle::Headline, QFont::DemiBold);
    m.chevronFont = theme.font(KitTextStyle::Caption, QFont::Medium);
    m.chevronRotation = expanded ? 0.0 : M_PI;
    return m;
}

Spring AccordionMetrics::tapSpring(bool glass)
{
    return glass ? Spring::interpolating(1, 90, 15) : Spring::interpolating(1, 100, 20);
}

Spring AccordionMetrics::morphSpring(bool glass)
{
    return glass ? Spring::interpolating(1, 90, 15) : Spring::interpolating(1, 90, 14);
}
