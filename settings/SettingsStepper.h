#pragma once

#include <QSpinBox>

// The integer stepper of the settings section: the value with small up and down chevrons,
// drawn to match the dark cards.
class SettingsStepper final : public QSpinBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsStepper)

public:
    explicit SettingsStepper(const QColor &accent, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
