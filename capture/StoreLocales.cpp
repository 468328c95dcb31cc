#include "StoreLocales.h"

#include <LocalePreference.h>

namespace StoreLocales {

const QStringList &storeLocaleCodes()
{
    static const QStringList codes = {
        QStringLiteral("ar-SA"), QStringLiteral("ca"),      QStringLiteral("cs"),      QStringLiteral("da"),
        QStringLiteral("de-DE"), QStringLiteral("el"),      QStringLiteral("en-AU"),   QStringLiteral("en-CA"),
        QStringLiteral("en-GB"), QStringLiteral("en-US"),   QStringLiteral("es-ES"),   QStringLiteral("es-MX"),
        QStringLiteral("fi"),    QStringLiteral("fr-CA"),   QStringLiteral("fr-FR"),   QStringLiteral("he"),
        QStringLiteral("hi"),    QStringLiteral("hr"),      QStringLiteral("hu"),      QStringLiteral("id"),
        QStringLiteral("it"),    QStringLiteral("ja"),      QStringLiteral("ko"),      QStringLiteral("ms"),
        QStringLiteral("nl-NL"), QStringLiteral("no"),      QStringLiteral("pl"),      QStringLiteral("pt-BR"),
        QStringLiteral("pt-PT"), QStringLiteral("ro"),      QStringLiteral("ru"),      QStringLiteral("sk"),
        QStringLiteral("sv"),    QStringLiteral("th"),      QStringLiteral("tr"),      QStringLiteral("uk"),
        QStringLiteral("vi"),    QStringLiteral("zh-Hans"), QStringLiteral("zh-Hant"),
    };
    return codes;
}

QStringList offeredLanguages(const QStringList &supportedLocales)
{
    return supportedLocales.isEmpty() ? storeLocaleCodes() : supportedLocales;
}

QString offeredHeader(const QStringList &supportedLocales)
{
    return supportedLocales.isEmpty() ? QStringLiteral("App Store Connect") : QStringLiteral("Vom Projekt unterstützt");
}

QStringList extraLanguages(const QStringList &planLanguages, const QStringList &offered)
{
    QStringList extra;
    for (const QString &code : planLanguages) {
        if (!offered.contains(code, Qt::CaseSensitive))
            extra.append(code);
    }
    return extra;
}

QString languageSummary(const QStringList &planLanguages)
{
    if (planLanguages.isEmpty())
        return QStringLiteral("Sprachen wählen");
    QStringList names;
    names.reserve(planLanguages.size());
    for (const QString &code : planLanguages)
        names.append(LocalePreference::displayName(code));
    return names.join(QStringLiteral(", "));
}

} // namespace StoreLocales
