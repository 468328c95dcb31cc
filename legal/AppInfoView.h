#pragma once

#include "LegalEntity.h"
#include "LegalPage.h"

#include <optional>

class DeveloperInfoCard;
class VersionInfoCard;

// The page that introduces an application: hero, version card, the host's extra
// sections and the maker card.
class AppInfoView final : public LegalPage
{
    Q_OBJECT

public:
    AppInfoView(const LegalEntity &entity, const std::optional<QString> &released, bool showWebsiteLinks,
                QWidget *hero, QWidget *extraSections = nullptr, QWidget *parent = nullptr);
    // With the default hero made of the app's name, tagline and symbol.
    AppInfoView(const QString &appName, const std::optional<QString> &tagline, const QString &iconSystemName,
                const LegalEntity &entity, const std::optional<QString> &released, bool showWebsiteLinks,
                QWidget *parent = nullptr);

    QWidget *hero() const { return m_hero; }
    VersionInfoCard *versionCard() const { return m_versionCard; }
    QWidget *extraSections() const { return m_extraSections; }
    DeveloperInfoCard *developerCard() const { return m_developerCard; }

private:
    QWidget *m_hero = nullptr;
    VersionInfoCard *m_versionCard = nullptr;
    QWidget *m_extraSections = nullptr;
    DeveloperInfoCard *m_developerCard = nullptr;
};
