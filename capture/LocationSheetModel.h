#pragma once

#include <MapCamera.h>
#include <PlaceSearch.h>
#include <ScreenshotPlan.h>
#include <SimulatorLocation.h>

#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The state and actions of the simulator location sheet, free of widgets: the chosen
// coordinate, the map camera and span, the place search and the simulator calls.
class LocationSheetModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LocationSheetModel)

public:
    static constexpr double defaultLatitude = 37.3349;
    static constexpr double defaultLongitude = -122.009;
    static constexpr double defaultSpanDegrees = 0.05;

    LocationSheetModel(std::optional<PlanLocation> initial,
                       std::function<void(double latitude, double longitude)> onApply,
                       std::function<void()> onClear,
                       QObject *parent = nullptr);

    double latitude() const { return m_latitude; }
    double longitude() const { return m_longitude; }
    void setLatitude(double latitude);
    void setLongitude(double longitude);
    // A map tap: moves the coordinate, not the camera.
    void tap(double latitude, double longitude);

    MapCamera camera() const { return m_camera; }
    // The map moved by the user; the camera follows without animation.
    void setCamera(const MapCamera &camera);
    MapSpan span() const { return m_span; }
    // A camera change came to rest.
    void setSpan(const MapSpan &span);
    // Centres the camera on the coordinate, keeping the current span.
    void recentre();

    // Coordinates as the fields show them: the locale's decimals with 0 to 6 fraction digits.
    static QString formatCoordinate(double value, const QLocale &locale = QLocale());
    // Text that does not parse gives nothing (and leaves the value as it is).
    static std::optional<double> parseCoordinate(const QString &text, const QLocale &locale = QLocale());
    // Takes a field's text when it parses; returns whether it did.
    bool commitLatitudeText(const QString &text);
    bool commitLongitudeText(const QString &text);

    QString query() const { return m_query; }
    void setQuery(const QString &query);
    // The query without leading and trailing spaces and tabs is not empty.
    bool canSearch() const;
    bool isSearching() const { return m_searching; }
    std::optional<QString> searchError() const { return m_searchError; }
    void search();
    void setSearcher(std::shared_ptr<PlaceSearcher> searcher);

    bool isBusy() const { return m_busy; }
    std::optional<SimulatorLocation::Outcome> outcome() const { return m_outcome; }
    void apply();
    void clear();
    // The simulator calls outlive the sheet; their callbacks still reach the presenter as long
    // as this object lives (the presenter). By default that is the model itself.
    void setCallbackGuard(QObject *guard);

signals:
    void coordinateChanged();
    void cameraChanged(const MapCamera &camera, bool animated);
    void spanChanged();
    void queryChanged();
    void searchingChanged(bool searching);
    void searchErrorChanged();
    void busyChanged(bool busy);
    void outcomeChanged();

private:
    void setCoordinate(double latitude, double longitude);
    void moveCamera(const MapCamera &camera, bool animated);
    void setSearching(bool searching);
    void setSearchError(const std::optional<QString> &error);
    void setBusy(bool busy);
    void setOutcome(const SimulatorLocation::Outcome &outcome);
    QObject *callbackGuard();

    double m_latitude = defaultLatitude;
    double m_longitude = defaultLongitude;
    MapCamera m_camera;
    MapSpan m_span{defaultSpanDegrees, defaultSpanDegrees};
    bool m_busy = false;
    std::optional<SimulatorLocation::Outcome> m_outcome;
    QString m_query;
    bool m_searching = false;
    std::optional<QString> m_searchError;
    quint64 m_searchGeneration = 0;
    std::shared_ptr<PlaceSearcher> m_searcher;
    std::function<void(double, double)> m_onApply;
    std::function<void()> m_onClear;
    QPointer<QObject> m_callbackGuard;
    bool m_hasCallbackGuard = false;
};
