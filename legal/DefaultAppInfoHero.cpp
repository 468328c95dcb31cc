#include "DefaultAppInfoHero.h"

#include "VersionBadge.h"

#include <SymbolLabel.h>

#include <QLabel>
#include <QVBoxLayout>

DefaultAppInfoHero::DefaultAppInfoHero(const QString &appName, const std::optional<QString> &tagline,
                                       const QString &iconSystemName, QWidget *parent)
    : LegalWidget(parent)
    , m_icon(new SymbolLabel(iconSystemName))
    , m_name(LegalStyle::wrappingLabel())
    , m_badge(new VersionBadge)
{
    setObjectName(QStringLiteral("defaultAppInfoHero"));
    QVBoxLayout *column = LegalStyle::cardColumn(this, QMargins(16, 24, 16, 24), 12, 20.0);
    m_icon->setPixelSize(70);
    column->addWidget(m_icon, 0, Qt::AlignHCenter);
    m_name->setObjectName(QStringLiteral("heroAppName"));
    m_name->setFont(LegalStyle::fontOfSize(28, QFont::Black));
    m_name->setAlignment(Qt::AlignHCenter);
    m_name->setText(appName);
    column->addWidget(m_name);
    if (tagline) {
        m_tagline = LegalStyle::wrappingLabel();
        m_tagline->setObjectName(QStringLiteral("heroTagline"));
        m_tagline->setFont(LegalStyle::fontOfSize(15, QFont::DemiBold));
        m_tagline->setAlignment(Qt::AlignHCenter);
        m_tagline->setText(*tagline);
        column->addWidget(m_tagline);
    }
    column->addWidget(m_badge, 0, Qt::AlignHCenter);
    watchEnvironment();
}

void DefaultAppInfoHero::applyEnvironment()
{
    const SettingsTheme t = theme();
    m_icon->setColor(t.accent);
    LegalStyle::setColor(m_name, t.textPrimary);
    if (m_tagline)
        LegalStyle::setColor(m_tagline, t.textSecondary);
}
