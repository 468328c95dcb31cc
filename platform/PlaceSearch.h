#pragma once

#include "Result.h"

#include <QFuture>
#include <QList>
#include <QLocale>
#include <QString>

#include <memory>

// A place a search found.
struct MapItem
{
    QString name;
    double latitude = 0;
    double longitude = 0;
    bool operator==(const MapItem &) const = default;
};

using PlaceSearchResult = Result<QList<MapItem>>;

// A natural-language place search. The future finishes off the GUI thread; an empty list
// means nothing was found, a failure that the search itself broke.
class PlaceSearcher
{
public:
    virtual ~PlaceSearcher() = default;
    virtual QFuture<PlaceSearchResult> search(const QString &query) const = 0;
};

// Searches the offline gazetteer (libgeonames) by city name in English, in German (the
// language of the interface) and in the user's language, best match first: an exact name
// before a name starting with the query, then the larger city. Each item carries the name
// that matched. "Name, Region" is understood as a city in that state or country, named in
// any of these languages.
class GeonamesPlaceSearcher final : public PlaceSearcher
{
public:
    explicit GeonamesPlaceSearcher(const QLocale &userLocale = QLocale::system());
    QFuture<PlaceSearchResult> search(const QString &query) const override;
    // The same search, run on the calling thread. The names are indexed once per language,
    // on the first search.
    static QList<MapItem> searchNow(const QString &query, const QLocale &userLocale = QLocale::system());

private:
    QLocale m_userLocale;
};

namespace PlaceSearch {
// The searcher the screens use unless a test gives another.
std::shared_ptr<PlaceSearcher> defaultSearcher();
}
