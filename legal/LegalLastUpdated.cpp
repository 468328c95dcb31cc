#include "LegalLastUpdated.h"

#include "LocalizedText.h"

#include <QLabel>
#include <QVBoxLayout>

#include <unicode/datefmt.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

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

QString LegalLastUpdated::longDate(const QDate &date, const QLocale &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale icuLocale = icu::Locale::createCanonical(locale.name().toStdString().c_str());
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateInstance(icu::DateFormat::kLong, icuLocale));
    if (!format)
        return locale.toString(date, QLocale::LongFormat);
    // Noon in the formatter's own time zone keeps the calendar day whatever the zone.
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(format->getTimeZone(), icuLocale, status));
    if (U_FAILURE(status) || !calendar)
        return locale.toString(date, QLocale::LongFormat);
    calendar->clear();
    calendar->set(date.year(), date.month() - 1, date.day(), 12, 0, 0);
    const UDate when = calendar->getTime(status);
    if (U_FAILURE(status))
        return locale.toString(date, QLocale::LongFormat);
    icu::UnicodeString text;
    format->format(when, text);
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

void LegalLastUpdated::applyEnvironment()
{
    LegalStyle::setColor(m_line, theme().textSecondary);
    const QLocale l = locale();
    LegalStyle::setText(m_line, legalString(QStringLiteral("legal.lastUpdated"), l) + QStringLiteral(": ") + longDate(m_date, l));
}
