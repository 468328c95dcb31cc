#include "SettingsToggleRow.h"

#include "RowParts.h"
#include "SettingsSwitch.h"

#include <SettingsTheme.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QVBoxLayout>

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

    auto *texts = new QVBoxLayout;
    texts->setSpacing(RowParts::titleStackSpacing);
    m_title = RowParts::label(title, QStringLiteral("rowTitle"), this);
    texts->addWidget(m_title);
    if (subtitle) {
        m_subtitle = RowParts::label(*subtitle, QStringLiteral("rowSubtitle"), this);
        m_subtitle->setWordWrap(true);
        texts->addWidget(m_subtitle);
    }
    row->addLayout(texts, 1);

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
    RowParts::setTextLook(m_title, theme.font(KitTextStyle::Body), theme.textPrimary);
    if (m_subtitle)
        RowParts::setTextLook(m_subtitle, theme.font(KitTextStyle::Caption), theme.textSecondary);
    m_switch->setTint(m_tint.value_or(theme.accent));
}
