#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The calendar the user counts days and years in: the one of the environment's locale for
// dates (LC_ALL, else LC_TIME, else LANG), including a calendar the locale names itself
// ("ja_JP.UTF-8@calendar=japanese"). Read from the variables themselves, so it holds whether
// or not the system has generated that locale; ICU's own default would drop a named calendar.
class UserCalendar final
{
public:
    // The environment's calendar, read anew on every call.
    static UserCalendar fromEnvironment();
    // The calendar of an ICU locale ("th_TH" counts in the Buddhist era).
    explicit UserCalendar(const QString &icuLocaleID);

    // A POSIX locale name as ICU reads it: "ja_JP.UTF-8@calendar=japanese" → "ja_JP@calendar=japanese".
    // Modifiers that are no ICU keywords ("@euro") are dropped; "C", "POSIX" and anything
    // that is no locale name stand for "en_US_POSIX".
    static QString icuLocaleID(const QString &posixName);

    QString localeID() const { return m_localeID; }
    // ICU's name of the calendar: "gregorian", "buddhist", "persian", "islamic-umalqura", "japanese" …
    QString type() const { return m_type; }
    // The year of `when` in this calendar and the user's time zone (2569 for 2026 in the
    // Buddhist era, 8 in the Japanese era Reiwa); for a calendar whose years go round a cycle,
    // the related Gregorian year its own date formats show (2026 for the Chinese year that
    // began in February 2026, not 43 of 60); the Gregorian year if ICU fails.
    int year(const QDateTime &when) const;
    // An ICU locale with the words and digits of `language`, counting in this calendar:
    // "de_DE@calendar=buddhist".
    QString localeIDFor(const QLocale &language) const;

private:
    QString m_localeID;
    QString m_type;
};
