#pragma once

#include <SettingsTheme.h>
#include <Spring.h>

#include <QFont>
#include <QMarginsF>
#include <QPointF>

// The numbers an accordion card is laid out with, for one theme, layout and open state.
struct AccordionMetrics
{
    // Scaled by the theme's metric scale.
    QMarginsF headerPadding;   // 20 left/right, 16 top/bottom
    qreal headerSpacing = 0;   // 12
    qreal iconFrameWidth = 0;  // 24
    qreal iconPixelSize = 0;   // 16, system font semibold
    QMarginsF contentPadding;  // 20 left/right, 16 top/bottom
    qreal contentSpacing = 0;  // 20

    // Fixed.
    QMarginsF outerPadding;    // 16 left/right; 10 open, 4 collapsed
    qreal stackSpacing = 0;    // legacy 20/0, glass 15/0
    qreal headerCornerRadius = 50;
    qreal bubbleCornerRadius = 0; // legacy 10/50, glass 26/50
    QPointF bubbleOffset;         // (0, 0) open, (95, -45) collapsed
    double bubbleOpacity = 1;     // legacy 1/0, glass always 1
    qreal collapsedMaxWidth = 150;

    QFont titleFont;
    QFont chevronFont;
    qreal chevronRotation = 0; // radians: 0 open, pi collapsed

    static AccordionMetrics compute(const SettingsTheme &theme, bool glass, bool expanded);
    // The spring of a header tap, and of the body's morph.
    static Spring tapSpring(bool glass);
    static Spring morphSpring(bool glass);
};
