#include "PlaceSearch.h"

#include "Gazetteer.h"
#include "PlaceIndex.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// The index of the names in English, the user's language and German, built on first use
// for each user language and kept.
std::shared_ptr<const PlaceIndex> indexFor(const QLocale &userLocale)
{
    static QMutex mutex;
    static QHash<QString, std::shared_ptr<const PlaceIndex>> indices;
    const QString language = userLocale.language() == QLocale::C ? QString() : userLocale.name();
    QMutexLocker lock(&mutex);
    std::shared_ptr<const PlaceIndex> &index = indices[language];
    if (!index) {
        std::vector<MessageCatalog> catalogues;
        catalogues.push_back(Gazetteer::names(userLocale));
        catalogues.push_back(Gazetteer::names(QLocale(QLocale::German, QLocale::Germany)));
        index = std::make_shared<const PlaceIndex>(Gazetteer::cities(), std::move(catalogues));
    }
    return index;
}

QList<MapItem> items(const PlaceIndex &index, const QString &name, const QString &region)
{
    const auto &cities = Gazetteer::cities();
    QList<MapItem> result;
    for (const PlaceIndex::Match &match : index.find(name)) {
        if (!region.isEmpty() && !index.isInRegion(match.city, region))
            continue;
        const GazetteerCity &city = cities[size_t(match.city)];
        result.append({match.name, city.latitude, city.longitude});
    }
    return result;
}

} // namespace

GeonamesPlaceSearcher::GeonamesPlaceSearcher(const QLocale &userLocale) : m_userLocale(userLocale) {}

QList<MapItem> GeonamesPlaceSearcher::searchNow(const QString &query, const QLocale &userLocale)
{
    const QString text = query.simplified();
    if (text.isEmpty())
        return {};
    const std::shared_ptr<const PlaceIndex> index = indexFor(userLocale);
    QList<MapItem> found = items(*index, text, QString());
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (found.isEmpty() && comma > 0) {
        const QString name = text.left(comma).trimmed();
        const QString region = text.mid(comma + 1).trimmed();
        if (!name.isEmpty())
            found = items(*index, name, region);
    }
    return found;
}

QFuture<PlaceSearchResult> GeonamesPlaceSearcher::search(const QString &query) const
{
    return QtConcurrent::run([query, locale = m_userLocale]() -> PlaceSearchResult { return searchNow(query, locale); });
}

namespace PlaceSearch {

std::shared_ptr<PlaceSearcher> defaultSearcher()
{
    return std::make_shared<GeonamesPlaceSearcher>();
}

} // namespace PlaceSearch
