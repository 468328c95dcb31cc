#include "AppInfoView.h"

#include "DefaultAppInfoHero.h"
#include "DeveloperInfoCard.h"
#include "VersionInfoCard.h"

#include <QDate>

AppInfoView::AppInfoView(const LegalEntity &entity, const std::optional<QString> &released, bool showWebsiteLinks,
                         QWidget *hero, QWidget *extraSections, QWidget *parent)
    : LegalPage(QStringLiteral("appinfo.title"), parent)
    , m_hero(hero)
    , m_versionCard(new VersionInfoCard(released))
    , m_extraSections(extraSections)
    , m_developerCard(new DeveloperInfoCard(entity, QDate::currentDate().year(), showWebsiteLinks))
{
    setObjectName(QStringLiteral("appInfoView"));
    addPart(m_hero);
    addPart(m_versionCard);
    addPart(m_extraSections);
    addPart(m_developerCard);
    watchEnvironment();
}

AppInfoView::AppInfoView(const QString &appName, const std::optional<QString> &tagline, const QString &iconSystemName,
                         const LegalEntity &entity, const std::optional<QString> &released, bool showWebsiteLinks,
                         QWidget *parent)
    : AppInfoView(entity, released, showWebsiteLinks, new DefaultAppInfoHero(appName, tagline, iconSystemName), nullptr,
                  parent)
{
}
