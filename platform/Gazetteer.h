#pragma once

#include "MessageCatalog.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

#include <vector>

// One city of the offline gazetteer, with its names in English.
struct GazetteerCity
{
    QString name;
    QString state;
    QString country;
    double latitude = 0;
    double longitude = 0;
    quint32 population = 0;
    // What the name catalogues are keyed by: the city's GeoNames identifier ("2867714"), its
    // country's code ("DE") and its state's code within the country ("02", key "DE.02").
    QByteArray identifier;
    QByteArray countryCode;
    QByteArray stateCode;
    bool operator==(const GazetteerCity &) const = default;
};

// The cities of libgeonames (about 24,000) and their names in other languages, from the
// message catalogues the library ships. Safe to call from any thread; the library itself is
// only entered by one thread at a time.
namespace Gazetteer {

// Every city, read once on first use. The names are the library's own, whatever the locale.
const std::vector<GazetteerCity> &cities();

// The folder holding the library's name catalogues, <folder>/<language>/LC_MESSAGES/geonames.mo.
QString catalogueRoot();
// The names of cities, states and countries in a locale's language: the catalogue for its
// language and territory ("pt_BR"), completed by the one for its language ("pt"). Empty
// when the library has none or it cannot be read.
MessageCatalog names(const QLocale &locale, const QString &root = catalogueRoot());

} // namespace Gazetteer
