#pragma once

#include <Binding.h>

#include <QWidget>

#include <functional>

class QLabel;
class QSlider;
class SymbolLabel;

// A titled slider over a closed range with a step, end labels below it.
class SettingsSliderRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsSliderRow)

public:
    SettingsSliderRow(const QString &title, const QString &icon, Binding<double> value, double minimum, double maximum,
                      double step, const QString &minLabel, const QString &maxLabel,
                      std::function<void(bool)> onEditingChanged = {}, QWidget *parent = nullptr);

    void refresh();
    QSlider *slider() const { return m_slider; }
    // The value a slider position stands for, and the position nearest a value.
    double valueAt(int position) const;
    int positionFor(double value) const;

private:
    void applyTheme();

    Binding<double> m_value;
    double m_minimum;
    double m_maximum;
    double m_step;
    std::function<void(bool)> m_onEditingChanged;
    SymbolLabel *m_icon;
    QLabel *m_title;
    QSlider *m_slider;
    QLabel *m_minLabel;
    QLabel *m_maxLabel;
};
