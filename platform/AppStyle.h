#pragma once

#include <QProxyStyle>

// The application's style: Fusion in the dark palette, with the slim dark scroll bar of the
// plan page on every scroll view of the program, sheets included: no arrow
// buttons, a transparent groove and a rounded translucent handle that brightens under the
// pointer.
class AppStyle final : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppStyle)

public:
    AppStyle();

    // Dresses the running application: this style, the dark palette and the body font.
    static void install();

    static constexpr int scrollBarExtent = 10;
    static constexpr int scrollBarMargin = 2;
    static constexpr int scrollBarHandleMinimum = 32;

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
};
