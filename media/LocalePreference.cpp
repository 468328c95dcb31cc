#include "LocalePreference.h"

#include <Locales.h>

namespace LocalePreference {

QString displayName(const QString &code, const QLocale &displayLocale)
{
    QString name = Locales::localeName(code, displayLocale);
    if (name.isEmpty())
        name = Locales::languageName(code, displayLocale);
    if (name.isEmpty() || name == code)
        return code;
    return name + QStringLiteral(" (") + code + QLatin1Char(')');
}

} // namespace LocalePreference
