#pragma once

#include "StepListEditing.h"

#include <Binding.h>
#include <GlassSurface.h>
#include <ScreenshotPlan.h>

#include <QHash>
#include <QUuid>

#include <functional>

class PlanEditorModel;
class QLineEdit;
class QMenu;
class QToolButton;
class QVBoxLayout;
class StepRow;

// The plan editor's card of one shot: name, lane, own location, delete, and its steps with
// adding, inserting waits, deleting and reordering by drag and drop. Every change goes into
// the plan through the editor model, one whole shot at a time.
class ShotCard final : public GlassSurface
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShotCard)

public:
    // Step rows are built at once, or with `Later` only when buildRows() is called (the page
    // builds the cards of a large plan a few at a time).
    enum class Rows { Now, Later };

    ShotCard(PlanEditorModel *model, const QUuid &shotID, QWidget *parent = nullptr, Rows rows = Rows::Now);
    ~ShotCard() override;

    QUuid shotID() const { return m_shotID; }
    void setOnDelete(std::function<void()> action) { m_onDelete = std::move(action); }

    // Shows the shot and the plan's lanes in place: rows are kept per step identifier,
    // created for new steps, dropped for removed ones and put in order.
    void showShot(const Shot &shot, const QList<Lane> &lanes);
    void buildRows();
    bool rowsBuilt() const { return m_rowsBuilt; }

    // --- what the card's controls do -------------------------------------------------------
    void addStep(ShotStep::Kind kind);
    void insertWait(const QUuid &itemID, StepListEditing::WaitPlacement placement);
    void deleteStep(const QUuid &itemID);
    void dropOnto(const QString &droppedText, const QUuid &targetID);
    void moveToLane(const QUuid &laneID);
    void applyLocation(double latitude, double longitude);
    void clearLocation();
    // Presents the shot's location sheet (window-modal).
    void openLocationSheet();
    bool showLocation() const { return m_showLocation; }

    // Where the location sheet starts: the shot's location, else Apple Park.
    static PlanLocation sheetInitialLocation(const Shot &shot);

    // --- for tests and the page ----------------------------------------------------------
    QList<StepRow *> stepRows() const;
    StepRow *stepRow(const QUuid &itemID) const { return m_rows.value(itemID); }
    QLineEdit *nameField() const { return m_nameField; }
    QToolButton *laneButton() const { return m_laneButton; }
    QToolButton *locationButton() const { return m_locationButton; }
    QToolButton *deleteButton() const { return m_deleteButton; }
    QToolButton *addStepButton() const { return m_addStepButton; }
    // The menus, filled for the current state (built on first use).
    QMenu *laneMenu();
    QMenu *addStepMenu();
    // How many inserts and moves asked for an animation (also when animations are off).
    int animatedChanges() const { return m_animatedChanges; }

private:
    Binding<ShotStep> stepBinding(const QUuid &itemID) const;
    StepRow *makeRow(const ShotStepItem &item);
    void reconcileRows(const Shot &shot);
    // Applies `edit` to the shot's steps; true when the steps changed.
    bool editSteps(const std::function<bool(QList<ShotStepItem> &)> &edit);
    void animateIn(const QUuid &itemID);
    void refreshLocationButton(bool hasLocation);

    PlanEditorModel *m_model = nullptr;
    QUuid m_shotID;
    std::function<void()> m_onDelete;
    Shot m_shown;
    QList<Lane> m_lanes;
    bool m_hasShown = false;
    bool m_rowsBuilt = true;
    bool m_locationShown = false;
    bool m_showLocation = false;
    int m_animatedChanges = 0;

    QLineEdit *m_nameField = nullptr;
    QToolButton *m_laneButton = nullptr;
    QToolButton *m_locationButton = nullptr;
    QToolButton *m_deleteButton = nullptr;
    QToolButton *m_addStepButton = nullptr;
    QMenu *m_laneMenu = nullptr;
    QMenu *m_addStepMenu = nullptr;
    QVBoxLayout *m_stepsLayout = nullptr;
    QHash<QUuid, StepRow *> m_rows;
};
