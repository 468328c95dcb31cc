#include "SettingsValueRow.h"

#include "RowParts.h"

#include <SettingsTheme.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>

SettingsValueRow::SettingsValueRow(const QString &title, const QString &value, const std::optional<QString> &icon,
                                   bool monospaced, QWidget *parent)
    : QWidget(parent)
    , m_monospaced(monospaced)
{
    setObjectName(QStringLiteral("settingsValueRow"));
    QHBoxLayout *row = RowParts::leadingRow(this, icon, title, m_icon, m_title);
    m_value = new ElidedLabel(value, this);
    m_value->setObjectName(QStringLiteral("rowValue"));
    row->addWidget(m_value, 0, Qt::AlignRight | Qt::AlignVCenter);
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

QString SettingsValueRow::title() const
{
    return m_title->text();
}

QString SettingsValueRow::value() const
{
    return m_value->text();
}

void SettingsValueRow::setValue(const QString &value)
{
    m_value->setText(value);
}

void SettingsValueRow::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    RowParts::styleIconSlot(m_icon, theme, std::nullopt);
    RowParts::setTextLook(m_title, theme.font(KitTextStyle::Body), theme.textPrimary);
    RowParts::setTextLook(m_value,
                          theme.font(KitTextStyle::Body, QFont::Medium,
                                     m_monospaced ? FontDesign::Monospaced : FontDesign::Default),
                          theme.textSecondary);
}
