#include "BusyIndicator.h"

#include <AppPalette.h>

#include <QPainter>

#include <algorithm>

BusyIndicator::BusyIndicator(int diameter, QWidget *parent)
    : QWidget(parent)
    , m_diameter(diameter)
    , m_color(AppPalette::secondaryText())
{
    setObjectName(QStringLiteral("busyIndicator"));
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer.setInterval(16);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 8) % 360;
        update();
    });
}

void BusyIndicator::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void BusyIndicator::showEvent(QShowEvent *)
{
    m_timer.start();
}

void BusyIndicator::hideEvent(QHideEvent *)
{
    m_timer.stop();
}

void BusyIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = std::max(1.5, m_diameter / 9.0);
    const QRectF r = QRectF(rect()).adjusted(pen, pen, -pen, -pen);
    painter.setPen(QPen(AppPalette::quaternaryFill(), pen));
    painter.drawEllipse(r);
    painter.setPen(QPen(m_color, pen, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(r, -m_angle * 16, 100 * 16);
}
