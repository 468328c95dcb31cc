#include "AppInfoView.h"

#include "DefaultAppInfoHero.h"
#include "DeveloperInfoCard.h"
#include "UserCalendar.h"
#include "VersionInfoCard.h"

#include <QTimer>

AppInfoView::AppInfoView(const LegalEntity &entity, const std::optional<QString> &released, bool showWebsiteLinks,
                         QWidget *hero, QWidget *extraSections, QWidget *parent)
    : LegalPage(QStringLiteral("appinfo.title"), parent)
    , m_hero(hero)
    , m_versionCard(new VersionInfoCard(released))
    , m_extraSections(extraSections)
    , m_developerCard(new DeveloperInfoCard(entity, calendarYear(QDateTime::currentDateTime()), showWebsiteLinks))
    , m_clock([] { return QDateTime::currentDateTime(); })
    , m_newDay(new QTimer(this))
{
    setObjectName(QStringLiteral("appInfoView"));
    m_newDay->setObjectName(QStringLiteral("copyrightYearTimer"));
    m_newDay->setSingleShot(true);
    connect(m_newDay, &QTimer::timeout, this, &AppInfoView::takeCopyrightYear);
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

void AppInfoView::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); });
    takeCopyrightYear();
}

int AppInfoView::calendarYear(const QDateTime &when, const QString &calendarLocaleID)
{
    const UserCalendar calendar = calendarLocaleID.isEmpty() ? UserCalendar::fromEnvironment() : UserCalendar(calendarLocaleID);
    return calendar.year(when);
}

void AppInfoView::applyEnvironment()
{
    LegalPage::applyEnvironment();
    takeCopyrightYear();
}

void AppInfoView::takeCopyrightYear()
{
    const QDateTime now = m_clock();
    m_developerCard->setCopyrightYear(calendarYear(now));
    // Look again just after the next midnight: a year may begin there, in any calendar.
    const qint64 untilMidnight = now.msecsTo(now.date().addDays(1).startOfDay());
    m_newDay->start(int(qBound(qint64(0), untilMidnight, qint64(24) * 3600 * 1000)) + 500);
}
