#include "LegalLastUpdated.h"

#include "LocalizedText.h"
#include "UserCalendar.h"

#include <QLabel>
#include <QVBoxLayout>

#include <unicode/datefmt.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <limits>
#include <memory>

LegalLastUpdated::LegalLastUpdated(const QDate &date, QWidget *parent)
    : LegalWidget(parent)
    , m_date(date)
    , m_line(LegalStyle::wrappingLabel())
{
    setObjectName(QStringLiteral("legalLastUpdated"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addWidget(LegalStyle::divider());
    m_line->setFont(LegalStyle::font(TextStyle::Caption));
    m_line->setAlignment(Qt::AlignHCenter);
    column->addWidget(m_line);
    watchEnvironment();
}

QString LegalLastUpdated::lineText() const
{
    return m_line->text();
}

QString LegalLastUpdated::longDate(const QDate &date, const QLocale &language, const UserCalendar &calendar)
{
    return longDate(date, calendar.localeIDFor(language));
}

QString LegalLastUpdated::longDate(const QDate &date, const QLocale &locale)
{
    return longDate(date, locale.name());
}

QString LegalLastUpdated::longDate(const QDate &date, const QString &icuLocaleID)
{
    const QString fallback = QLocale(icuLocaleID.section(QLatin1Char('@'), 0, 0)).toString(date, QLocale::LongFormat);
    if (!date.isValid())
        return fallback;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale icuLocale = icu::Locale::createCanonical(icuLocaleID.toStdString().c_str());
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateInstance(icu::DateFormat::kLong, icuLocale));
    if (!format)
        return fallback;
    // The date's fields are Gregorian (QDate is proleptic Gregorian): they give the instant,
    // noon in the formatter's own zone so the day holds; the formatter then shows that
    // instant in the locale's own calendar (Persian, Hijri, Buddhist, Japanese …).
    icu::GregorianCalendar gregorian(format->getTimeZone(), status);
    gregorian.setGregorianChange(-std::numeric_limits<double>::max(), status);
    if (U_FAILURE(status))
        return fallback;
    gregorian.clear();
    gregorian.set(UCAL_EXTENDED_YEAR, date.year() > 0 ? date.year() : date.year() + 1); // QDate has no year 0
    gregorian.set(UCAL_MONTH, date.month() - 1);
    gregorian.set(UCAL_DATE, date.day());
    gregorian.set(UCAL_HOUR_OF_DAY, 12);
    const UDate when = gregorian.getTime(status);
    if (U_FAILURE(status))
        return fallback;
    icu::UnicodeString text;
    format->format(when, text);
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

void LegalLastUpdated::applyEnvironment()
{
    LegalStyle::setColor(m_line, theme().textSecondary);
    const QLocale l = locale();
    LegalStyle::setText(m_line, legalString(QStringLiteral("legal.lastUpdated"), l) + QStringLiteral(": ")
                                    + longDate(m_date, l, UserCalendar::fromEnvironment()));
}
