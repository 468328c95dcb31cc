#pragma once

#include <GlassSurface.h>
#include <ScreenshotPlan.h>
#include <XcodeProject.h>

#include <QHash>
#include <QUuid>

class PlanEditorModel;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class ShotCard;
class ShotCardBuildQueue;

// One lane of the plan: its name, shot count, run and remove buttons, its shots as shot
// cards, and the menu that adds a shot to it.
class LaneCard final : public GlassSurface
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaneCard)

public:
    LaneCard(PlanEditorModel *model, const QUuid &laneID, QWidget *parent = nullptr);
    ~LaneCard() override;

    QUuid laneID() const { return m_laneID; }

    // Shows the lane as `plan` has it, in place: shot cards are kept per shot identifier.
    // New cards build their step rows at once or, past the queue's allowance, through it.
    void showLane(const ScreenshotPlan &plan, const XcodeProject &project, ShotCardBuildQueue *queue = nullptr);

    QLineEdit *nameField() const { return m_nameField; }
    QLabel *countLabel() const { return m_countLabel; }
    QPushButton *runButton() const { return m_runButton; }
    QToolButton *removeButton() const { return m_removeButton; }
    QToolButton *addShotButton() const { return m_addShotButton; }
    QMenu *addShotMenu();
    QList<ShotCard *> shotCards() const;

private:
    std::optional<Lane> currentLane() const;

    PlanEditorModel *m_model = nullptr;
    QUuid m_laneID;
    QLineEdit *m_nameField = nullptr;
    QLabel *m_countLabel = nullptr;
    QPushButton *m_runButton = nullptr;
    QToolButton *m_removeButton = nullptr;
    QToolButton *m_addShotButton = nullptr;
    QMenu *m_addShotMenu = nullptr;
    QVBoxLayout *m_shotsLayout = nullptr;
    QHash<QUuid, ShotCard *> m_cards;
};
