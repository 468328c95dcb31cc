#include "SettingsNavigationRow.h"

#include "RowParts.h"

#include <SettingsTheme.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>

SettingsNavigationRow::SettingsNavigationRow(const QString &title, const QString &icon,
                                             const std::optional<QColor> &iconColor, QWidget *parent)
    : QWidget(parent)
    , m_iconColor(iconColor)
{
    setObjectName(QStringLiteral("settingsNavigationRow"));
    QHBoxLayout *row = RowParts::leadingRow(this, icon, title, m_icon, m_title);
    m_chevron = new SymbolLabel(QStringLiteral("chevron.right"), TextStyle::Caption, this);
    m_chevron->setObjectName(QStringLiteral("rowChevron"));
    m_chevron->setForegroundRole(QPalette::WindowText);
    row->addWidget(m_chevron);
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

void SettingsNavigationRow::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    RowParts::styleIconSlot(m_icon, theme, m_iconColor);
    RowParts::setTextLook(m_title, theme.font(KitTextStyle::Body), theme.textPrimary);
    m_chevron->setPixelSize(theme.font(KitTextStyle::Caption).pixelSize() * 1.25);
    m_chevron->setColor(theme.textSecondary);
}
