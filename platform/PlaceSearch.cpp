#include "PlaceSearch.h"

#include "Gazetteer.h"

#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

struct Candidate
{
    int index = 0;
    int rank = 0;
};

int nameRank(const QString &name, const QString &query)
{
    if (name.compare(query, Qt::CaseInsensitive) == 0)
        return 0;
    if (name.startsWith(query, Qt::CaseInsensitive))
        return 1;
    return 2;
}

QList<MapItem> ranked(const QList<int> &indices, const QString &name, const QString &region)
{
    const auto &cities = Gazetteer::cities();
    std::vector<Candidate> candidates;
    candidates.reserve(size_t(indices.size()));
    for (const int index : indices) {
        if (index < 0 || size_t(index) >= cities.size())
            continue;
        const GazetteerCity &city = cities[size_t(index)];
        if (!region.isEmpty() && !city.country.contains(region, Qt::CaseInsensitive)
            && !city.state.contains(region, Qt::CaseInsensitive))
            continue;
        candidates.push_back({index, nameRank(city.name, name)});
    }
    std::stable_sort(candidates.begin(), candidates.end(), [&](const Candidate &a, const Candidate &b) {
        if (a.rank != b.rank)
            return a.rank < b.rank;
        return cities[size_t(a.index)].population > cities[size_t(b.index)].population;
    });
    QList<MapItem> items;
    items.reserve(qsizetype(candidates.size()));
    for (const Candidate &c : candidates) {
        const GazetteerCity &city = cities[size_t(c.index)];
        items.append({city.name, city.latitude, city.longitude});
    }
    return items;
}

} // namespace

QList<MapItem> GeonamesPlaceSearcher::searchNow(const QString &query)
{
    const QString text = query.simplified();
    if (text.isEmpty())
        return {};
    QList<MapItem> items = ranked(Gazetteer::query(text), text, QString());
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (items.isEmpty() && comma > 0) {
        const QString name = text.left(comma).trimmed();
        const QString region = text.mid(comma + 1).trimmed();
        if (!name.isEmpty())
            items = ranked(Gazetteer::query(name), name, region);
    }
    return items;
}

QFuture<PlaceSearchResult> GeonamesPlaceSearcher::search(const QString &query) const
{
    return QtConcurrent::run([query]() -> PlaceSearchResult { return searchNow(query); });
}

namespace PlaceSearch {

std::shared_ptr<PlaceSearcher> defaultSearcher()
{
    return std::make_shared<GeonamesPlaceSearcher>();
}

} // namespace PlaceSearch
