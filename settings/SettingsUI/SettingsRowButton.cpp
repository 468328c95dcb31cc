#include "SettingsRowButton.h"

#include <QLayout>
#include <QPainter>

SettingsRowButton::SettingsRowButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize SettingsRowButton::sizeHint() const
{
    return layout() ? layout()->sizeHint() : QSize(100, 30);
}

QSize SettingsRowButton::minimumSizeHint() const
{
    return layout() ? layout()->minimumSize() : QSize();
}

void SettingsRowButton::paintEvent(QPaintEvent *)
{
    if (!isDown())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(1, 1, 1, 0.05f));
    painter.drawRoundedRect(rect(), 6, 6);
}
