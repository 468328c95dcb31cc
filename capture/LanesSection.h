#pragma once

#include <QHash>
#include <QUuid>
#include <QWidget>

class LaneCard;
class PlanEditorModel;
class QPushButton;
class QVBoxLayout;
class ShotCardBuildQueue;

// The plan editor's lanes: the "Lanes" label, one card per lane with its shots, and the
// button that adds a lane. Follows the editor model's plan in place.
class LanesSection final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LanesSection)

public:
    explicit LanesSection(PlanEditorModel *model, QWidget *parent = nullptr);
    ~LanesSection() override;

    QList<LaneCard *> laneCards() const;
    QPushButton *addLaneButton() const { return m_addLaneButton; }

    // A large plan's shot cards get their step rows a few at a time after the page shows.
    bool isFullyBuilt() const;
    void finishBuilding();

private:
    // Brings the cards in line with the model's plan: cards are kept per lane identifier.
    void reconcile();

    PlanEditorModel *m_model = nullptr;
    QVBoxLayout *m_lanesLayout = nullptr;
    QPushButton *m_addLaneButton = nullptr;
    ShotCardBuildQueue *m_buildQueue = nullptr;
    QHash<QUuid, LaneCard *> m_cards;
};
