#include "SettingsSliderRow.h"

#include "RowParts.h"

#include <SettingsTheme.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {
// Positions of a slider without a usable step.
constexpr int continuousPositions = 1000;
}

SettingsSliderRow::SettingsSliderRow(const QString &title, const QString &icon, Binding<double> value, double minimum,
                                     double maximum, double step, const QString &minLabel, const QString &maxLabel,
                                     std::function<void(bool)> onEditingChanged, QWidget *parent)
    : QWidget(parent)
    , m_value(std::move(value))
    , m_minimum(std::isfinite(minimum) ? minimum : 0.0)
    , m_maximum(std::isfinite(maximum) ? std::max(maximum, m_minimum) : m_minimum)
    , m_step(std::isfinite(step) && step > 0 ? step : 0.0)
    , m_onEditingChanged(std::move(onEditingChanged))
{
    setObjectName(QStringLiteral("settingsSliderRow"));
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);

    auto *head = new QHBoxLayout;
    head->setSpacing(RowParts::rowSpacing);
    m_icon = RowParts::iconSlot(icon, this);
    head->addWidget(m_icon, 0, Qt::AlignVCenter);
    m_title = RowParts::label(title, QStringLiteral("rowTitle"), this);
    head->addWidget(m_title, 1, Qt::AlignVCenter);
    stack->addLayout(head);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("rowSlider"));
    m_slider->setAccessibleName(title);
    const double span = m_maximum - m_minimum;
    int positions = continuousPositions;
    if (m_step > 0)
        positions = int(std::min<double>(std::floor(span / m_step + 1e-9), 1'000'000));
    m_slider->setRange(0, std::max(0, positions));
    stack->addWidget(m_slider);

    auto *ends = new QHBoxLayout;
    m_minLabel = RowParts::label(minLabel, QStringLiteral("rowMinLabel"), this);
    m_maxLabel = RowParts::label(maxLabel, QStringLiteral("rowMaxLabel"), this);
    ends->addWidget(m_minLabel);
    ends->addStretch(1);
    ends->addWidget(m_maxLabel);
    stack->addLayout(ends);

    connect(m_slider, &QSlider::valueChanged, this, [this](int position) {
        if (m_value.set)
            m_value.set(valueAt(position));
    });
    connect(m_slider, &QSlider::sliderPressed, this, [this] {
        if (m_onEditingChanged)
            m_onEditingChanged(true);
    });
    connect(m_slider, &QSlider::sliderReleased, this, [this] {
        if (m_onEditingChanged)
            m_onEditingChanged(false);
    });
    refresh();
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

double SettingsSliderRow::valueAt(int position) const
{
    const int positions = m_slider->maximum();
    if (positions <= 0)
        return m_minimum;
    if (m_step > 0)
        return std::min(m_maximum, m_minimum + position * m_step);
    return m_minimum + (m_maximum - m_minimum) * double(position) / double(positions);
}

int SettingsSliderRow::positionFor(double value) const
{
    const int positions = m_slider->maximum();
    if (positions <= 0 || !std::isfinite(value))
        return 0;
    const double clamped = std::clamp(value, m_minimum, m_maximum);
    const double unit = m_step > 0 ? m_step : (m_maximum - m_minimum) / double(positions);
    return std::clamp(int(std::lround((clamped - m_minimum) / unit)), 0, positions);
}

void SettingsSliderRow::refresh()
{
    if (!m_value.get)
        return;
    const int position = positionFor(m_value.get());
    if (m_slider->value() != position) {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(position);
    }
}

void SettingsSliderRow::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    RowParts::styleIconSlot(m_icon, theme, std::nullopt);
    RowParts::setTextLook(m_title, theme.font(KitTextStyle::Body), theme.textPrimary);
    RowParts::setTextLook(m_minLabel, theme.font(KitTextStyle::Caption), theme.textSecondary);
    RowParts::setTextLook(m_maxLabel, theme.font(KitTextStyle::Caption), theme.textSecondary);
    m_slider->setStyleSheet(QStringLiteral(
        "QSlider::groove:horizontal { height: 4px; border-radius: 2px; background: rgba(255,255,255,40); }"
        "QSlider::sub-page:horizontal { height: 4px; border-radius: 2px; background: %1; }"
        "QSlider::handle:horizontal { width: 18px; height: 18px; margin: -7px 0; border-radius: 9px; background: white; }")
                                .arg(theme.accent.name(QColor::HexArgb)));
}
