#pragma once

#include <QLocale>
#include <QString>

namespace LocalePreference {
// "Deutsch (Deutschland) (de-DE)": the name of the code in the display locale followed by the
// code in parentheses; the code alone when no name differs from it.
QString displayName(const QString &code, const QLocale &displayLocale = QLocale());
}
