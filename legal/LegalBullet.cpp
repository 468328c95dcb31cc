#include "LegalBullet.h"

#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>

LegalBullet::LegalBullet(const QString &icon, const LocalizedText &text, QWidget *parent)
    : LegalWidget(parent)
    , m_text(text)
    , m_icon(new SymbolLabel(icon, TextStyle::Body))
    , m_label(LegalStyle::wrappingLabel())
{
    setObjectName(QStringLiteral("legalBullet"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    m_icon->setFixedWidth(20);
    layout->addWidget(m_icon, 0, Qt::AlignTop);
    m_label->setFont(LegalStyle::font(TextStyle::Body));
    layout->addWidget(m_label, 1, Qt::AlignTop);
    watchEnvironment();
}

LegalBullet::LegalBullet(const QString &icon, const QString &verbatim, QWidget *parent)
    : LegalBullet(icon, LocalizedText::verbatim(verbatim), parent)
{
}

QString LegalBullet::shownText() const
{
    return m_label->text();
}

void LegalBullet::applyEnvironment()
{
    const SettingsTheme t = theme();
    m_icon->setColor(t.accent);
    LegalStyle::setColor(m_label, t.textPrimary);
    LegalStyle::setText(m_label, m_text.resolved(locale()));
}
