#include "LanesSection.h"

#include "KeyedCards.h"
#include "LaneCard.h"
#include "PlanEditorModel.h"
#include "ShotCardBuildQueue.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <SurfacePainter.h>
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
    m_lanesLayout->setSpacing(SurfacePainter::stackSpacing(16));

    m_addLaneButton = new QPushButton(QStringLiteral("Lane hinzufügen"), this);
    m_addLaneButton->setObjectName(QStringLiteral("addLaneButton"));
    m_addLaneButton->setIcon(Symbols::icon(QStringLiteral("plus.rectangle.on.rectangle"), AppPalette::accent(), 16));
    ControlStyles::makeBordered(m_addLaneButton);
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
    KeyedCards::retireUnwanted(m_cards, wanted, m_lanesLayout);
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
        KeyedCards::placeAt(m_lanesLayout, card, position);
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
    return KeyedCards::widgetsIn<LaneCard>(m_lanesLayout);
}
