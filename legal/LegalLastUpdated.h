#pragma once

#include "LegalWidget.h"

#include <QDate>

class QLabel;
class UserCalendar;

// The footer of a legal page: a divider and "<Zuletzt aktualisiert>: <long date>".
class LegalLastUpdated final : public LegalWidget
{
    Q_OBJECT

public:
    explicit LegalLastUpdated(const QDate &date, QWidget *parent = nullptr);

    // "Zuletzt aktualisiert: <date>": the date counted in the user's calendar (the
    // environment's, see UserCalendar), with the month names and digits of the page's language.
    QString lineText() const;
    // The date as a long date without time in the words and digits of `language`, counted
    // in `calendar` ("9. März 2569 BE" for a German page and a Thai user).
    static QString longDate(const QDate &date, const QLocale &language, const UserCalendar &calendar);
    // The date as a long date without time in the locale's language and calendar
    // ("7. Dezember 2026"; "۱۸ اسفند ۱۴۰۴" under "fa_IR").
    static QString longDate(const QDate &date, const QLocale &locale);
    // The same for an ICU locale identifier, which may name a calendar
    // ("ja_JP@calendar=japanese").
    static QString longDate(const QDate &date, const QString &icuLocaleID);

protected:
    void applyEnvironment() override;

private:
    QDate m_date;
    QLabel *m_line = nullptr;
};
