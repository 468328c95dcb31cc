#include "LegalSection.h"

#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

LegalSection::LegalSection(const QString &icon, const LocalizedText &title, QWidget *content, QWidget *parent)
    : LegalWidget(parent)
    , m_title(title)
    , m_icon(new SymbolLabel(icon, TextStyle::Title3))
    , m_titleLabel(LegalStyle::wrappingLabel())
    , m_content(content)
{
    setObjectName(QStringLiteral("legalSection"));
    QVBoxLayout *column = LegalStyle::cardColumn(this, QMargins(20, 20, 20, 20), 16);

    auto *header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(m_icon, 0, Qt::AlignTop);
    m_titleLabel->setObjectName(QStringLiteral("legalSectionTitle"));
    m_titleLabel->setFont(LegalStyle::font(TextStyle::Headline, QFont::DemiBold));
    header->addWidget(m_titleLabel, 1, Qt::AlignVCenter);
    column->addLayout(header);
    if (m_content)
        column->addWidget(m_content);
    watchEnvironment();
}

QString LegalSection::titleText() const
{
    return m_titleLabel->text();
}

void LegalSection::applyEnvironment()
{
    const SettingsTheme t = theme();
    m_icon->setColor(t.accent);
    LegalStyle::setColor(m_titleLabel, t.textPrimary);
    LegalStyle::setText(m_titleLabel, m_title.resolved(locale()));
}
