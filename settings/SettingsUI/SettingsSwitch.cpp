#include "SettingsSwitch.h"

#include <Spring.h>

#include <QPainter>
#include <QSignalBlocker>
#include <QVariantAnimation>

SettingsSwitch::SettingsSwitch(QWidget *parent)
    : QAbstractButton(parent)
    , m_tint(0x0A, 0x84, 0xFF)
    , m_animation(new QVariantAnimation(this))
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_animation->setDuration(160);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_position = v.toReal();
        update();
    });
}

void SettingsSwitch::setTint(const QColor &tint)
{
    if (m_tint == tint)
        return;
    m_tint = tint;
    update();
}

void SettingsSwitch::showChecked(bool checked)
{
    if (isChecked() == checked)
        return;
    const QSignalBlocker blocker(this);
    setChecked(checked);
    m_animation->stop();
    m_position = checked ? 1.0 : 0.0;
    update();
}

QSize SettingsSwitch::sizeHint() const
{
    return QSize(38, 22);
}

void SettingsSwitch::checkStateSet()
{
    moveKnob(false);
}

void SettingsSwitch::nextCheckState()
{
    // setChecked jumps the knob; slide it from where it was instead.
    const qreal from = m_position;
    QAbstractButton::nextCheckState();
    m_position = from;
    moveKnob(true);
}

void SettingsSwitch::moveKnob(bool animated)
{
    const qreal target = isChecked() ? 1.0 : 0.0;
    m_animation->stop();
    if (!animated || !Motion::animationsEnabled()) {
        m_position = target;
        update();
        return;
    }
    m_animation->setStartValue(m_position);
    m_animation->setEndValue(target);
    m_animation->start();
}

void SettingsSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF size = sizeHint();
    const QRectF track(QPointF((width() - size.width()) / 2.0, (height() - size.height()) / 2.0), size);
    const qreal radius = track.height() / 2.0;

    QColor off = QColor::fromRgbF(1, 1, 1, 0.16f);
    QColor on = m_tint;
    QColor fill;
    fill.setRgbF(off.redF() + (on.redF() - off.redF()) * float(m_position),
                 off.greenF() + (on.greenF() - off.greenF()) * float(m_position),
                 off.blueF() + (on.blueF() - off.blueF()) * float(m_position),
                 off.alphaF() + (on.alphaF() - off.alphaF()) * float(m_position));
    if (!isEnabled())
        fill.setAlphaF(fill.alphaF() * 0.5f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    const qreal inset = 2;
    const qreal knob = track.height() - 2 * inset;
    const qreal x = track.left() + inset + (track.width() - knob - 2 * inset) * m_position;
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(QRectF(x, track.top() + inset + 0.5, knob, knob));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(x, track.top() + inset, knob, knob));
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(m_tint.lighter(130), 1.5));
        painter.drawRoundedRect(track.adjusted(-1.5, -1.5, 1.5, 1.5), radius + 1.5, radius + 1.5);
    }
}
