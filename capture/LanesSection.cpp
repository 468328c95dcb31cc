#include "LanesSection.h"

#include "LaneCard.h"
#include "PlanEditorModel.h"
#include "ShotCardBuildQueue.h"

#include <AppPalette.h>
#include <SymbolLabel.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

LanesSection::LanesSection(PlanEditorModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("lanesSection"));
    // A screenful or two of step rows is built at once; the rest follows on the event loop.
    m_buildQueue = new ShotCardBuildQueue(240, this);

    auto *titleIcon = new SymbolLabel(QStringLiteral("square.stack.3d.up"), TextStyle::Headline, this);
    auto *title = new QLabel(QStringLiteral("Lanes"), this);
    title->setObjectName(QStringLiteral("lanesTitle"));
    title->setFont(TextStyles::font(TextStyle::Headline));
    auto *titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(0, 0, 0, 0);
    titleRow->setSpacing(6);
    titleRow->addWidget(titleIcon);
    titleRow->addWidget(title);
    titleRow->addStretch(1);

    m_lanesLayout = new QVBoxLayout;
    m_lanesLayout->setContentsMargins(0, 0, 0, 0);
    m_lanesLayout->setSpacing(16);

    m_addLaneButton = new QPushButton(QStringLiteral("Lane hinzufügen"), this);
    m_addLaneButton->setObjectName(QStringLiteral("addLaneButton"));
    m_addLaneButton->setIcon(Symbols::icon(QStringLiteral("plus.rectangle.on.rectangle"), AppPalette::accent(), 16));
    connect(m_addLaneButton, &QPushButton::clicked, this, [this] { m_model->addLane(); });

    auto *layout = new QVBoxLayout(this);
    // Grow at once when the content grows, instead of squeezing every sibling first.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addLayout(titleRow);
    layout->addLayout(m_lanesLayout);
    layout->addWidget(m_addLaneButton, 0, Qt::AlignLeft);

    connect(m_model, &PlanEditorModel::planChanged, this, &LanesSection::reconcile);
    connect(m_model, &PlanEditorModel::projectChanged, this, &LanesSection::reconcile);
    reconcile();
}

LanesSection::~LanesSection() = default;

void LanesSection::reconcile()
{
    const ScreenshotPlan &plan = m_model->plan();
    m_buildQueue->beginUpdate();
    QSet<QUuid> wanted;
    for (const Lane &lane : plan.lanes)
        wanted.insert(lane.id);
    for (auto it = m_cards.begin(); it != m_cards.end();) {
        if (!wanted.contains(it.key())) {
            LaneCard *card = it.value();
            m_lanesLayout->removeWidget(card);
            card->hide();
            card->deleteLater(); // its own trash button may have asked for this
            it = m_cards.erase(it);
        } else {
            ++it;
        }
    }
    int position = 0;
    QSet<QUuid> placed;
    for (const Lane &lane : plan.lanes) {
        if (placed.contains(lane.id))
            continue; // a repeated identifier in a hand-edited file: its first entry is shown
        placed.insert(lane.id);
        LaneCard *card = m_cards.value(lane.id);
        if (!card) {
            card = new LaneCard(m_model, lane.id, this);
            m_cards.insert(lane.id, card);
        }
        card->showLane(plan, m_model->project(), m_buildQueue);
        QLayoutItem *current = m_lanesLayout->itemAt(position);
        if (!current || current->widget() != card) {
            m_lanesLayout->removeWidget(card);
            m_lanesLayout->insertWidget(position, card);
        }
        ++position;
    }
}

bool LanesSection::isFullyBuilt() const
{
    return m_buildQueue->isIdle();
}

void LanesSection::finishBuilding()
{
    m_buildQueue->finish();
}

QList<LaneCard *> LanesSection::laneCards() const
{
    QList<LaneCard *> cards;
    for (int i = 0; i < m_lanesLayout->count(); ++i) {
        if (auto *card = qobject_cast<LaneCard *>(m_lanesLayout->itemAt(i)->widget()))
            cards.append(card);
    }
    return cards;
}
