#include "Locales.h"

#include <unicode/locid.h>
#include <unicode/uloc.h>
#include <unicode/unistr.h>

#include <cmath>

namespace Locales {
namespace {

std::string icuIdentifier(const QString &identifier)
{
    QString id = identifier;
    id.replace(QLatin1Char('-'), QLatin1Char('_'));
    return id.toStdString();
}

QString fromIcu(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

icu::Locale displayIcuLocale(const QLocale &displayLocale)
{
    return icu::Locale::createCanonical(displayLocale.name().toStdString().c_str());
}

// ICU hands back the identifier itself (or pieces of it) when it knows no name.
bool isKnownLanguage(const std::string &canonical)
{
    UErrorCode status = U_ZERO_ERROR;
    char language[ULOC_LANG_CAPACITY] = {};
    uloc_getLanguage(canonical.c_str(), language, ULOC_LANG_CAPACITY, &status);
    if (U_FAILURE(status) || language[0] == '\0')
        return false;
    // A language ICU has a display name for in English is one it knows.
    UChar buffer[128] = {};
    status = U_ZERO_ERROR;
    const int32_t length = uloc_getDisplayLanguage(language, "en", buffer, 128, &status);
    if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING || length <= 0)
        return false;
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer), length) != QString::fromLatin1(language);
}

} // namespace

QString localeName(const QString &identifier, const QLocale &displayLocale)
{
    if (identifier.trimmed().isEmpty())
        return {};
    const std::string id = icuIdentifier(identifier);
    if (!isKnownLanguage(id))
        return {};
    const icu::Locale locale = icu::Locale::createCanonical(id.c_str());
    if (locale.isBogus())
        return {};
    icu::UnicodeString name;
    locale.getDisplayName(displayIcuLocale(displayLocale), name);
    return fromIcu(name);
}

QString languageName(const QString &code, const QLocale &displayLocale)
{
    if (code.trimmed().isEmpty())
        return {};
    const std::string id = icuIdentifier(code);
    if (!isKnownLanguage(id))
        return {};
    const icu::Locale locale(id.c_str());
    icu::UnicodeString name;
    locale.getDisplayLanguage(displayIcuLocale(displayLocale), name);
    return fromIcu(name);
}

QString formatDecimal(double value, const QLocale &locale, int minFraction, int maxFraction)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = l.toString(value, 'f', maxFraction);
    const QString decimal = l.decimalPoint();
    const int point = text.indexOf(decimal);
    if (point >= 0) {
        int keep = text.size();
        const int minimumEnd = point + decimal.size() + minFraction;
        while (keep > minimumEnd && text.at(keep - 1) == QLatin1Char('0'))
            --keep;
        if (keep == point + decimal.size())
            keep = point; // no fraction digits left: drop the separator too
        text.truncate(keep);
    }
    return text;
}

std::optional<double> parseDecimal(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace Locales
