#include "UserCalendar.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>

#include <algorithm>
#include <memory>

namespace {

const QString posixFallback = QStringLiteral("en_US_POSIX");

bool isAsciiAlpha(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiAlnum(QChar c)
{
    return isAsciiAlpha(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// "de", "de_DE", "zh_Hant_TW": a language of two or three letters, then subtags of letters and digits.
bool isLocaleName(const QString &name)
{
    const QStringList tags = name.split(QLatin1Char('_'));
    const QString &language = tags.first();
    if (language.size() < 2 || language.size() > 3 || !std::all_of(language.begin(), language.end(), isAsciiAlpha))
        return false;
    return std::all_of(tags.begin() + 1, tags.end(), [](const QString &tag) {
        return tag.size() >= 2 && tag.size() <= 8 && std::all_of(tag.begin(), tag.end(), isAsciiAlnum);
    });
}

// "calendar=japanese;numbers=jpan" stays; glibc's "euro" or "latin" names no keyword and goes.
QString keywords(const QString &modifier)
{
    const auto isWord = [](const QString &s) {
        return !s.isEmpty() && s.size() <= 64
               && std::all_of(s.begin(), s.end(), [](QChar c) { return isAsciiAlnum(c) || c == QLatin1Char('-'); });
    };
    QStringList kept;
    for (const QString &item : modifier.split(QLatin1Char(';'))) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        if (eq > 0 && isWord(item.left(eq)) && isWord(item.mid(eq + 1)))
            kept << item;
    }
    return kept.join(QLatin1Char(';'));
}

icu::Locale icuLocale(const QString &id)
{
    return icu::Locale::createCanonical(id.toLatin1().constData());
}

std::unique_ptr<icu::Calendar> calendarFor(const QString &id)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(icuLocale(id), status));
    if (U_FAILURE(status))
        return nullptr;
    return calendar;
}

// Years counted round a cycle (the Chinese and the Korean calendar count 1…60 and name the
// year rather than number it): the year field never goes beyond the cycle's length, where
// eras and epochs run into the thousands.
bool countsYearsInACycle(const icu::Calendar &calendar)
{
    return calendar.getMaximum(UCAL_YEAR) < 100;
}

// The Gregorian year in which the calendar's current year began: the related year its own date
// formats show beside the cycle's name ("2026丙午年"). Moves the calendar to that day.
int relatedGregorianYear(icu::Calendar &calendar, UErrorCode &status)
{
    calendar.set(UCAL_DAY_OF_YEAR, 1);
    const UDate start = calendar.getTime(status);
    icu::GregorianCalendar gregorian(calendar.getTimeZone(), status);
    gregorian.setTime(start, status);
    return gregorian.get(UCAL_EXTENDED_YEAR, status);
}

} // namespace

UserCalendar UserCalendar::fromEnvironment()
{
    // The C library's order for the date category: LC_ALL, LC_TIME, LANG; an empty one counts as unset.
    for (const char *name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return UserCalendar(icuLocaleID(value));
    }
    return UserCalendar(posixFallback);
}

UserCalendar::UserCalendar(const QString &icuLocaleID)
    : m_localeID(icuLocaleID)
    , m_type(QStringLiteral("gregorian"))
{
    if (const auto calendar = calendarFor(m_localeID))
        m_type = QString::fromLatin1(calendar->getType());
}

QString UserCalendar::icuLocaleID(const QString &posixName)
{
    // language[_territory][.codeset][@modifier]
    QString name = posixName.trimmed();
    QString modifier;
    if (const qsizetype at = name.indexOf(QLatin1Char('@')); at >= 0) {
        modifier = keywords(name.mid(at + 1));
        name.truncate(at);
    }
    if (const qsizetype dot = name.indexOf(QLatin1Char('.')); dot >= 0)
        name.truncate(dot);
    if (!isLocaleName(name))
        name = posixFallback;
    return modifier.isEmpty() ? name : name + QLatin1Char('@') + modifier;
}

int UserCalendar::year(const QDateTime &when) const
{
    const auto calendar = calendarFor(m_localeID);
    if (!calendar || !when.isValid())
        return when.date().year();
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(UDate(when.toMSecsSinceEpoch()), status);
    const int year = countsYearsInACycle(*calendar) ? relatedGregorianYear(*calendar, status) : calendar->get(UCAL_YEAR, status);
    return U_FAILURE(status) ? when.date().year() : year;
}

QString UserCalendar::localeIDFor(const QLocale &language) const
{
    icu::Locale locale = icuLocale(icuLocaleID(language.name()));
    UErrorCode status = U_ZERO_ERROR;
    locale.setKeywordValue("calendar", m_type.toLatin1().constData(), status);
    return QString::fromLatin1(locale.getName());
}
