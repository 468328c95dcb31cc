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
        cities.push_back({QString::fromUtf8(geonames_city_get_name(city)),
                          QString::fromUtf8(geonames_city_get_state(city)),
                          QString::fromUtf8(geonames_city_get_country(city)),
                          geonames_city_get_latitude(city),
                          geonames_city_get_longitude(city),
                          geonames_city_get_population(city)});
        geonames_city_free(city);
    }
    return cities;
}

} // namespace

namespace Gazetteer {

const std::vector<GazetteerCity> &cities()
{
    static const std::vector<GazetteerCity> all = readCities();
    return all;
}

QList<int> query(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QMutexLocker lock(&libraryMutex());
    guint length = 0;
    GError *error = nullptr;
    gint *indices = geonames_query_cities_sync(utf8.constData(), GEONAMES_QUERY_DEFAULT, &length, nullptr, &error);
    QList<int> result;
    if (error)
        g_error_free(error);
    if (indices) {
        result.reserve(length);
        for (guint i = 0; i < length; ++i)
            result.append(indices[i]);
        g_free(indices);
    }
    return result;
}

} // namespace Gazetteer
