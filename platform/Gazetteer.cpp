// geonames.h pulls in GLib, whose headers use "signals" as a name: include it before Qt.
#include <geonames.h>

#include "Gazetteer.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex &libraryMutex()
{
    static QMutex mutex;
    return mutex;
}

// The library hands out a city as a tuple (identifier, name, state code, state, country code,
// country, time zone, population, latitude, longitude). Its getters translate the names
// through gettext, and so by the locales the system happens to have; read untranslated.
GazetteerCity readCity(GeonamesCity *city)
{
    if (g_variant_is_of_type(city, G_VARIANT_TYPE("(sssssssudd)"))) {
        const gchar *identifier = nullptr, *name = nullptr, *stateCode = nullptr, *state = nullptr;
        const gchar *countryCode = nullptr, *country = nullptr, *timeZone = nullptr;
        guint32 population = 0;
        gdouble latitude = 0, longitude = 0;
        g_variant_get(city, "(&s&s&s&s&s&s&sudd)", &identifier, &name, &stateCode, &state, &countryCode,
                      &country, &timeZone, &population, &latitude, &longitude);
        return {QString::fromUtf8(name), QString::fromUtf8(state), QString::fromUtf8(country), latitude, longitude,
                population, QByteArray(identifier), QByteArray(countryCode), QByteArray(stateCode)};
    }
    // Another layout: what the getters give, without the keys for other languages.
    return {QString::fromUtf8(geonames_city_get_name(city)), QString::fromUtf8(geonames_city_get_state(city)),
            QString::fromUtf8(geonames_city_get_country(city)), geonames_city_get_latitude(city),
            geonames_city_get_longitude(city), geonames_city_get_population(city), {}, {}, {}};
}

std::vector<GazetteerCity> readCities()
{
    QMutexLocker lock(&libraryMutex());
    std::vector<GazetteerCity> cities;
    const int count = geonames_get_n_cities();
    cities.reserve(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        GeonamesCity *city = geonames_get_city(i);
        if (!city) {
            cities.emplace_back();
            continue;
        }
        cities.push_back(readCity(city));
        geonames_city_free(city);
    }
    return cities;
}

MessageCatalog readCatalogue(const QString &root, const QString &folder)
{
    const Result<MessageCatalog> catalogue =
        MessageCatalog::read(root + QLatin1Char('/') + folder + QStringLiteral("/LC_MESSAGES/geonames.mo"));
    return catalogue ? catalogue.value() : MessageCatalog();
}

} // namespace

namespace Gazetteer {

const std::vector<GazetteerCity> &cities()
{
    static const std::vector<GazetteerCity> all = readCities();
    return all;
}

QString catalogueRoot()
{
    return QStringLiteral("/usr/share/locale");
}

MessageCatalog names(const QLocale &locale, const QString &root)
{
    if (locale.language() == QLocale::C)
        return {};
    MessageCatalog catalogue = readCatalogue(root, locale.name());
    const QString language = QLocale::languageToCode(locale.language());
    if (language != locale.name())
        catalogue.addFallback(readCatalogue(root, language));
    return catalogue;
}

} // namespace Gazetteer
