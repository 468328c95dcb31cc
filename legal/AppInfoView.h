#pragma once

#include "LegalEntity.h"
#include "LegalPage.h"

#include <QDateTime>

#include <functional>
#include <optional>

class DeveloperInfoCard;
class QTimer;
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

    // Where the page reads the current time; tests put in one of their own.
    using Clock = std::function<QDateTime()>;
    void setClock(Clock clock);
    // The year of `when` in the user's calendar, the one the pages' dates are counted in (see
    // UserCalendar); in the calendar of `calendarLocaleID` instead when given, an ICU
    // identifier such as "th_TH".
    static int calendarYear(const QDateTime &when, const QString &calendarLocaleID = QString());

protected:
    // The copyright year is taken anew whenever the page is rebuilt for its surroundings,
    // and again each new day while the page stays open.
    void applyEnvironment() override;

private:
    void takeCopyrightYear();

    QWidget *m_hero = nullptr;
    VersionInfoCard *m_versionCard = nullptr;
    QWidget *m_extraSections = nullptr;
    DeveloperInfoCard *m_developerCard = nullptr;
    Clock m_clock;
    QTimer *m_newDay = nullptr;
};
