#pragma once

#include "LegalWidget.h"

#include <optional>

class QLabel;
class SymbolLabel;
class VersionBadge;

// The app-info page's default hero: the app's symbol, name, tagline and version badge on a card.
class DefaultAppInfoHero final : public LegalWidget
{
    Q_OBJECT

public:
    DefaultAppInfoHero(const QString &appName, const std::optional<QString> &tagline, const QString &iconSystemName,
                       QWidget *parent = nullptr);

    bool hasTagline() const { return m_tagline != nullptr; }

protected:
    void applyEnvironment() override;

private:
    SymbolLabel *m_icon = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_tagline = nullptr;
    VersionBadge *m_badge = nullptr;
};
