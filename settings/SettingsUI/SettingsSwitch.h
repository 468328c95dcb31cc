#pragma once

#include <QAbstractButton>
#include <QColor>

class QVariantAnimation;

// A switch-style toggle: a rounded track, tinted when on, with a sliding white knob.
class SettingsSwitch final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsSwitch)

public:
    explicit SettingsSwitch(QWidget *parent = nullptr);

    QColor tint() const { return m_tint; }
    void setTint(const QColor &tint);
    // Sets the state shown without emitting toggled, without animation.
    void showChecked(bool checked);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void checkStateSet() override;
    void nextCheckState() override;

private:
    void moveKnob(bool animated);

    QColor m_tint;
    qreal m_position = 0; // 0 off … 1 on
    QVariantAnimation *m_animation;
};
