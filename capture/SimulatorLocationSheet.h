#pragma once

#include <ScreenshotPlan.h>

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class LocationSheetModel;
class MapWidget;
class PlaceSearcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class SymbolLabel;

// The sheet that sets a fake location in the booted simulator: search a place, tap the map
// or type coordinates, then apply or clear. Window-modal; Escape closes it like its close
// button. The simulator call and the search run on after the sheet closes; their callbacks
// reach the presenter while the sheet's parent (the presenter) lives.
class SimulatorLocationSheet final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SimulatorLocationSheet)

public:
    SimulatorLocationSheet(std::optional<PlanLocation> initial,
                           std::function<void(double latitude, double longitude)> onApply,
                           std::function<void()> onClear,
                           QWidget *parent = nullptr);
    ~SimulatorLocationSheet() override;

    LocationSheetModel *model() const { return m_model; }
    MapWidget *map() const { return m_map; }
    // Tests give a searcher of their own.
    void setPlaceSearcher(std::shared_ptr<PlaceSearcher> searcher);

protected:
    void changeEvent(QEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildSearchRow();
    QWidget *buildControls();
    QWidget *coordinateField(const QString &caption, const QString &objectName, QLineEdit *&field);

    void updateCoordinateFields();
    void updateSearchRow();
    void updateBusy();
    void updateOutcome();
    void commitField(QLineEdit *field, bool recentre);
    void commitFields();

    LocationSheetModel *m_model = nullptr;
    MapWidget *m_map = nullptr;
    QLineEdit *m_queryField = nullptr;
    QPushButton *m_searchButton = nullptr;
    QWidget *m_searchProgress = nullptr;
    QLabel *m_searchError = nullptr;
    QLineEdit *m_latitudeField = nullptr;
    QLineEdit *m_longitudeField = nullptr;
    QToolButton *m_recentreButton = nullptr;
    QWidget *m_outcome = nullptr;
    SymbolLabel *m_outcomeSymbol = nullptr;
    QLabel *m_outcomeText = nullptr;
    QPushButton *m_clearButton = nullptr;
    QPushButton *m_applyButton = nullptr;
    QWidget *m_applyProgress = nullptr;
};
