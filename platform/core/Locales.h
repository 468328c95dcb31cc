#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace Locales {

// The name of a locale identifier ("de-DE", "zh-Hans") in the given display locale, from
// ICU; empty when ICU knows no name for it.
QString localeName(const QString &identifier, const QLocale &displayLocale = QLocale());
// The name of a bare language code ("de", "ja") in the display locale; empty when unknown.
QString languageName(const QString &code, const QLocale &displayLocale = QLocale());

// A decimal number as the locale writes it, with between minFraction and maxFraction
// fraction digits and no digit grouping.
QString formatDecimal(double value, const QLocale &locale, int minFraction, int maxFraction);
// Reads a decimal number as the locale writes it (group separators allowed); text that
// does not parse gives nothing.
std::optional<double> parseDecimal(const QString &text, const QLocale &locale = QLocale());

} // namespace Locales
