#include "LegalPageHeader.h"

#include <SymbolLabel.h>

#include <QLabel>
#include <QVBoxLayout>

LegalPageHeader::LegalPageHeader(const QString &icon, const LocalizedText &tagline, QWidget *parent)
    : LegalWidget(parent)
    , m_taglineText(tagline)
    , m_icon(new SymbolLabel(icon))
    , m_tagline(LegalStyle::wrappingLabel())
{
    setObjectName(QStringLiteral("legalPageHeader"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 24, 0, 24);
    column->setSpacing(12);
    m_icon->setPixelSize(48);
    column->addWidget(m_icon, 0, Qt::AlignHCenter);
    m_tagline->setFont(LegalStyle::font(TextStyle::Title3, QFont::DemiBold));
    m_tagline->setAlignment(Qt::AlignHCenter);
    column->addWidget(m_tagline);
    watchEnvironment();
}

QString LegalPageHeader::taglineText() const
{
    return m_tagline->text();
}

void LegalPageHeader::applyEnvironment()
{
    const SettingsTheme t = theme();
    m_icon->setColor(t.accent);
    LegalStyle::setColor(m_tagline, t.textPrimary);
    LegalStyle::setText(m_tagline, m_taglineText.resolved(locale()));
}
