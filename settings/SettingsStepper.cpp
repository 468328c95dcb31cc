#include "SettingsStepper.h"

#include <Symbols.h>
#include <TextStyle.h>

#include <QPainter>
#include <QStyleOptionSpinBox>

SettingsStepper::SettingsStepper(const QColor &accent, QWidget *parent)
    : QSpinBox(parent)
{
    setAlignment(Qt::AlignCenter);
    setFont(TextStyles::font(TextStyle::Body, QFont::Medium));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setStyleSheet(QStringLiteral(
        "QSpinBox { color: white; background: rgba(255,255,255,18); border: 1px solid rgba(255,255,255,30);"
        " border-radius: 7px; padding: 3px 22px 3px 8px; min-width: 28px; }"
        "QSpinBox:focus { border-color: %1; }"
        "QSpinBox::up-button, QSpinBox::down-button { subcontrol-origin: border; width: 18px; border: none; }"
        "QSpinBox::up-button { subcontrol-position: top right; border-top-right-radius: 7px; }"
        "QSpinBox::down-button { subcontrol-position: bottom right; border-bottom-right-radius: 7px; }"
        "QSpinBox::up-button:hover, QSpinBox::down-button:hover { background: rgba(255,255,255,30); }"
        "QSpinBox::up-arrow, QSpinBox::down-arrow { width: 0; height: 0; }")
                      .arg(accent.name()));
}

void SettingsStepper::paintEvent(QPaintEvent *event)
{
    QSpinBox::paintEvent(event);
    // The style sheet leaves the arrows out; draw them as symbols, dimmed at the range ends.
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal size = 14;
    painter.setFont(Symbols::font(size));
    const struct {
        QStyle::SubControl control;
        const char *symbol;
        bool enabled;
    } arrows[] = {
        {QStyle::SC_SpinBoxUp, "chevron.up", value() < maximum()},
        {QStyle::SC_SpinBoxDown, "chevron.down", value() > minimum()},
    };
    for (const auto &arrow : arrows) {
        const QRect rect = style()->subControlRect(QStyle::CC_SpinBox, &option, arrow.control, this);
        painter.setPen(arrow.enabled && isEnabled() ? QColor(255, 255, 255, 210) : QColor(255, 255, 255, 70));
        painter.drawText(rect, Qt::AlignCenter, Symbols::ligature(QString::fromLatin1(arrow.symbol)));
    }
}
