#include "SettingsToggleRow.h"

#include "RowParts.h"
#include "SettingsSwitch.h"

#include <SettingsTheme.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>

SettingsToggleRow::SettingsToggleRow(const QString &title, const std::optional<QString> &subtitle, const QString &icon,
                                     const std::optional<QColor> &iconColor, const std::optional<QColor> &tint,
                                     Binding<bool> isOn, QWidget *parent)
    : QWidget(parent)
    , m_iconColor(iconColor)
    , m_tint(tint)
    , m_isOn(std::move(isOn))
{
    setObjectName(QStringLiteral("settingsToggleRow"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(RowParts::rowSpacing);
    m_icon = RowParts::iconSlot(icon, this);
    row->addWidget(m_icon, 0, Qt::AlignVCenter);

    row->addLayout(RowParts::titleStack(title, subtitle, this, m_title, m_subtitle), 1);

    m_switch = new SettingsSwitch(this);
    m_switch->setObjectName(QStringLiteral("rowSwitch"));
    m_switch->setAccessibleName(title);
    row->addWidget(m_switch, 0, Qt::AlignVCenter);
    connect(m_switch, &QAbstractButton::toggled, this, [this](bool on) {
        if (m_isOn.set)
            m_isOn.set(on);
    });
    refresh();
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

void SettingsToggleRow::refresh()
{
    if (m_isOn.get)
        m_switch->showChecked(m_isOn.get());
}

void SettingsToggleRow::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    RowParts::styleIconSlot(m_icon, theme, m_iconColor);
    RowParts::styleTitleStack(m_title, m_subtitle, theme);
    m_switch->setTint(m_tint.value_or(theme.accent));
}
