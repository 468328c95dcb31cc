#pragma once

#include <QList>
#include <QString>

#include <vector>

// One city of the offline gazetteer.
struct GazetteerCity
{
    QString name;
    QString state;
    QString country;
    double latitude = 0;
    double longitude = 0;
    quint32 population = 0;
    bool operator==(const GazetteerCity &) const = default;
};

// The cities of libgeonames (about 24,000). Safe to call from any thread; the library
// itself is only entered by one thread at a time.
namespace Gazetteer {

// Every city, read once on first use.
const std::vector<GazetteerCity> &cities();
// Indices into cities() of the cities whose names match the query, as libgeonames finds them.
QList<int> query(const QString &text);

} // namespace Gazetteer
