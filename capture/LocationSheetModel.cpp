#include "LocationSheetModel.h"

#include <Locales.h>
#include <Whitespace.h>

#include <QFutureWatcher>

LocationSheetModel::LocationSheetModel(std::optional<PlanLocation> initial,
                                       std::function<void(double, double)> onApply,
                                       std::function<void()> onClear,
                                       QObject *parent)
    : QObject(parent)
    , m_searcher(PlaceSearch::defaultSearcher())
    , m_onApply(std::move(onApply))
    , m_onClear(std::move(onClear))
{
    if (initial) {
        m_latitude = initial->latitude;
        m_longitude = initial->longitude;
    }
    m_camera = {{m_latitude, m_longitude}, m_span};
}

void LocationSheetModel::setCoordinate(double latitude, double longitude)
{
    if (latitude == m_latitude && longitude == m_longitude)
        return;
    m_latitude = latitude;
    m_longitude = longitude;
    emit coordinateChanged();
}

void LocationSheetModel::setLatitude(double latitude)
{
    setCoordinate(latitude, m_longitude);
}

void LocationSheetModel::setLongitude(double longitude)
{
    setCoordinate(m_latitude, longitude);
}

void LocationSheetModel::tap(double latitude, double longitude)
{
    setCoordinate(latitude, longitude);
}

void LocationSheetModel::moveCamera(const MapCamera &camera, bool animated)
{
    if (camera == m_camera)
        return;
    m_camera = camera;
    emit cameraChanged(m_camera, animated);
}

void LocationSheetModel::setCamera(const MapCamera &camera)
{
    moveCamera(camera, false);
}

void LocationSheetModel::setSpan(const MapSpan &span)
{
    if (span == m_span)
        return;
    m_span = span;
    emit spanChanged();
}

void LocationSheetModel::recentre()
{
    moveCamera({{m_latitude, m_longitude}, m_span}, true);
}

QString LocationSheetModel::formatCoordinate(double value, const QLocale &locale)
{
    return Locales::formatDecimal(value, locale, 0, 6);
}

std::optional<double> LocationSheetModel::parseCoordinate(const QString &text, const QLocale &locale)
{
    return Locales::parseDecimal(Whitespace::trimmedSpacesAndTabs(text), locale);
}

bool LocationSheetModel::commitLatitudeText(const QString &text)
{
    const std::optional<double> value = parseCoordinate(text);
    if (value)
        setLatitude(*value);
    return value.has_value();
}

bool LocationSheetModel::commitLongitudeText(const QString &text)
{
    const std::optional<double> value = parseCoordinate(text);
    if (value)
        setLongitude(*value);
    return value.has_value();
}

void LocationSheetModel::setQuery(const QString &query)
{
    if (query == m_query)
        return;
    m_query = query;
    emit queryChanged();
}

bool LocationSheetModel::canSearch() const
{
    return !Whitespace::trimmedSpacesAndTabs(m_query).isEmpty();
}

void LocationSheetModel::setSearcher(std::shared_ptr<PlaceSearcher> searcher)
{
    if (searcher)
        m_searcher = std::move(searcher);
}

void LocationSheetModel::setSearching(bool searching)
{
    if (searching == m_searching)
        return;
    m_searching = searching;
    emit searchingChanged(m_searching);
}

void LocationSheetModel::setSearchError(const std::optional<QString> &error)
{
    if (error == m_searchError)
        return;
    m_searchError = error;
    emit searchErrorChanged();
}

void LocationSheetModel::search()
{
    const QString text = Whitespace::trimmedSpacesAndTabs(m_query);
    if (text.isEmpty())
        return;
    setSearching(true);
    setSearchError(std::nullopt);

    // Only the newest search may change the sheet: an older one that ends later is dropped.
    const quint64 generation = ++m_searchGeneration;
    // The watcher dies with the model; the search itself runs on to its end regardless.
    auto *watcher = new QFutureWatcher<PlaceSearchResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation != m_searchGeneration)
            return;
        const bool hasResult = watcher->future().resultCount() > 0;
        if (!hasResult || !watcher->result().ok()) {
            setSearchError(QStringLiteral("Suche fehlgeschlagen"));
        } else if (watcher->result().value().isEmpty()) {
            setSearchError(QStringLiteral("Nichts gefunden"));
        } else {
            const MapItem first = watcher->result().value().first();
            setCoordinate(first.latitude, first.longitude);
            recentre();
        }
        setSearching(false);
    });
    watcher->setFuture(m_searcher->search(text));
}

void LocationSheetModel::setCallbackGuard(QObject *guard)
{
    m_callbackGuard = guard;
    m_hasCallbackGuard = guard != nullptr;
}

QObject *LocationSheetModel::callbackGuard()
{
    if (m_hasCallbackGuard)
        return m_callbackGuard.data(); // gone: nothing more to call
    return this;
}

void LocationSheetModel::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    emit busyChanged(m_busy);
}

void LocationSheetModel::setOutcome(const SimulatorLocation::Outcome &outcome)
{
    if (m_outcome == outcome)
        return;
    m_outcome = outcome;
    emit outcomeChanged();
}

void LocationSheetModel::apply()
{
    QObject *guard = callbackGuard();
    if (m_busy || !guard)
        return;
    setBusy(true);
    const QPointer<LocationSheetModel> self(this);
    const double latitude = m_latitude;
    const double longitude = m_longitude;
    SimulatorLocation::set(latitude, longitude, guard,
                           [self, onApply = m_onApply, latitude, longitude](const SimulatorLocation::Outcome &outcome) {
                               if (self)
                                   self->setOutcome(outcome);
                               // The coordinate as it is now, or as it was sent once the sheet is gone.
                               if (onApply)
                                   onApply(self ? self->m_latitude : latitude, self ? self->m_longitude : longitude);
                               if (self)
                                   self->setBusy(false);
                           });
}

void LocationSheetModel::clear()
{
    QObject *guard = callbackGuard();
    if (m_busy || !guard)
        return;
    setBusy(true);
    const QPointer<LocationSheetModel> self(this);
    SimulatorLocation::clear(guard, [self, onClear = m_onClear](const SimulatorLocation::Outcome &outcome) {
        if (self)
            self->setOutcome(outcome);
        if (onClear)
            onClear();
        if (self)
            self->setBusy(false);
    });
}
