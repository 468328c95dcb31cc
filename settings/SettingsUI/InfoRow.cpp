#include "InfoRow.h"

#include "RowParts.h"

#include <SettingsTheme.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>

InfoRow::InfoRow(const QString &icon, const QString &text, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("infoRow"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_icon = new SymbolLabel(icon, TextStyle::Footnote, this);
    m_icon->setObjectName(QStringLiteral("rowIcon"));
    row->addWidget(m_icon, 0, Qt::AlignTop);
    m_text = RowParts::label(text, QStringLiteral("rowText"), this);
    m_text->setWordWrap(true);
    row->addWidget(m_text, 1);
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

QString InfoRow::text() const
{
    return m_text->text();
}

void InfoRow::setText(const QString &text)
{
    if (m_text->text() != text)
        m_text->setText(text);
}

void InfoRow::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    static_cast<QHBoxLayout *>(layout())->setSpacing(theme.scaledInt(8));
    const QFont footnote = theme.font(KitTextStyle::Footnote);
    m_icon->setFixedWidth(theme.scaledInt(16));
    m_icon->setPixelSize(qMin<qreal>(footnote.pixelSize() * 1.25, theme.scaled(16)));
    m_icon->setColor(theme.accent);
    RowParts::setTextLook(m_text, footnote, theme.textPrimary);
}
