#include "SettingsStatusRow.h"

#include <SettingsTheme.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>

SettingsStatusRow::SettingsStatusRow(const QString &title, const QString &icon, const QString &status,
                                     const QColor &statusColor, std::function<void()> action, QWidget *parent)
    : SettingsRowButton(parent)
    , m_action(std::move(action))
    , m_statusColor(statusColor)
{
    setObjectName(QStringLiteral("settingsStatusRow"));
    QHBoxLayout *row = RowParts::leadingRow(this, icon, title, m_icon, m_title);
    m_status = RowParts::label(status, QStringLiteral("rowStatus"), this);
    row->addWidget(m_status);

    if (m_action) {
        connect(this, &QAbstractButton::clicked, this, [this] { m_action(); });
    } else {
        // Static: taps go to whatever lies beneath.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        unsetCursor();
    }
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

QString SettingsStatusRow::status() const
{
    return m_status->text();
}

void SettingsStatusRow::setStatus(const QString &status, const QColor &color)
{
    if (m_status->text() != status)
        m_status->setText(status);
    m_statusColor = color;
    applyTheme();
}

void SettingsStatusRow::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    RowParts::styleIconSlot(m_icon, theme, std::nullopt);
    RowParts::setTextLook(m_title, theme.font(KitTextStyle::Body), theme.textPrimary);
    RowParts::setTextLook(m_status, theme.font(KitTextStyle::Body), m_statusColor);
}
