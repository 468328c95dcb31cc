#include "LaneCard.h"

#include "KeyedCards.h"
#include "PlanEditorModel.h"
#include "PlanEditorStyle.h"
#include "ShotCard.h"
#include "ShotCardBuildQueue.h"
#include "StepKindEditor.h"

#include <AppPalette.h>
#include <SurfacePainter.h>
#include <SymbolLabel.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QToolButton>
#include <QVBoxLayout>

LaneCard::LaneCard(PlanEditorModel *model, const QUuid &laneID, QWidget *parent)
    : GlassSurface(parent)
    , m_model(model)
    , m_laneID(laneID)
{
    setObjectName(QStringLiteral("laneCard"));
    setKind(SurfacePainter::Kind::RegularGlass);
    setCornerRadius(18);
    setPadding(16);
    // Exactly as tall as the content: extra height never trickles into the rows.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto *icon = new SymbolLabel(QStringLiteral("square.stack.3d.up.fill"), TextStyle::Headline, this);
    icon->setColor(AppPalette::accent());

    m_nameField = new QLineEdit(this);
    m_nameField->setObjectName(QStringLiteral("laneNameField"));
    m_nameField->setPlaceholderText(QStringLiteral("Lane-Name"));
    m_nameField->setMaximumWidth(240);
    m_nameField->setFont(TextStyles::font(TextStyle::Headline));
    connect(m_nameField, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_model->setLaneName(m_laneID, text);
    });

    m_countLabel = new QLabel(QStringLiteral("0"), this);
    m_countLabel->setObjectName(QStringLiteral("laneShotCount"));
    m_countLabel->setFont(TextStyles::monospaced(TextStyle::Caption));
    QPalette countPalette = m_countLabel->palette();
    countPalette.setColor(QPalette::WindowText, AppPalette::secondaryText());
    m_countLabel->setPalette(countPalette);

    m_runButton = new QPushButton(QStringLiteral("Lane starten"), this);
    m_runButton->setObjectName(QStringLiteral("laneRunButton"));
    m_runButton->setIcon(Symbols::icon(QStringLiteral("play.fill"), Qt::white, 14));
    m_runButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    PlanEditorStyle::makeProminent(m_runButton);
    connect(m_runButton, &QPushButton::clicked, this, [this] {
        if (const std::optional<Lane> lane = currentLane())
            m_model->runLane(*lane);
    });

    m_removeButton = new QToolButton(this);
    m_removeButton->setObjectName(QStringLiteral("laneRemoveButton"));
    m_removeButton->setAutoRaise(true);
    m_removeButton->setIcon(Symbols::icon(QStringLiteral("trash"), AppPalette::destructive(), 16));
    m_removeButton->setIconSize(QSize(16, 16));
    m_removeButton->setAccessibleName(QStringLiteral("Lane entfernen"));
    connect(m_removeButton, &QToolButton::clicked, this, [this] { m_model->removeLane(m_laneID); });

    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(8);
    header->addWidget(icon, 0, Qt::AlignVCenter);
    header->addWidget(m_nameField, 1, Qt::AlignVCenter);
    header->addWidget(m_countLabel, 0, Qt::AlignVCenter);
    header->addSpacing(8);
    header->addStretch(0);
    header->addWidget(m_runButton, 0, Qt::AlignVCenter);
    header->addWidget(m_removeButton, 0, Qt::AlignVCenter);

    m_shotsLayout = new QVBoxLayout;
    m_shotsLayout->setContentsMargins(0, 0, 0, 0);
    m_shotsLayout->setSpacing(SurfacePainter::stackSpacing(12));

    m_addShotButton = new QToolButton(this);
    m_addShotButton->setObjectName(QStringLiteral("addShotButton"));
    m_addShotButton->setAutoRaise(true);
    m_addShotButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_addShotButton->setText(QStringLiteral("Shot hinzufügen"));
    m_addShotButton->setIcon(Symbols::icon(QStringLiteral("plus.circle.fill"), AppPalette::accent(), 16));
    connect(m_addShotButton, &QToolButton::clicked, this, [this] {
        addShotMenu()->popup(m_addShotButton->mapToGlobal(QPoint(0, m_addShotButton->height())));
    });

    auto *layout = new QVBoxLayout(this);
    // Grow at once when the content grows, instead of squeezing every sibling first.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addLayout(header);
    layout->addLayout(m_shotsLayout);
    layout->addWidget(m_addShotButton, 0, Qt::AlignLeft);
}

LaneCard::~LaneCard() = default;

void LaneCard::showLane(const ScreenshotPlan &plan, const XcodeProject &project, ShotCardBuildQueue *queue)
{
    const Lane *lane = nullptr;
    for (const Lane &candidate : plan.lanes) {
        if (candidate.id == m_laneID) {
            lane = &candidate;
            break;
        }
    }
    if (!lane)
        return; // the section drops this card

    setFieldText(m_nameField, lane->name);

    QList<const Shot *> laneShots;
    for (const Shot &shot : plan.shots) {
        if (plan.shotBelongsToLane(shot, m_laneID))
            laneShots.append(&shot);
    }
    const QString count = QString::number(laneShots.size());
    if (m_countLabel->text() != count)
        m_countLabel->setText(count);

    m_runButton->setEnabled(!laneShots.isEmpty() && project.xcodeprojPath.has_value()
                            && project.bundleIdentifier.has_value());
    const bool removable = plan.lanes.size() >= 2;
    m_removeButton->setEnabled(removable);
    const QString help = removable ? QStringLiteral("Lane entfernen (Shots wandern in die erste Lane)")
                                   : QStringLiteral("Die letzte Lane bleibt");
    if (m_removeButton->toolTip() != help)
        m_removeButton->setToolTip(help);

    // Keyed by shot identifier, in the order of the plan's shot list.
    QSet<QUuid> wanted;
    for (const Shot *shot : std::as_const(laneShots))
        wanted.insert(shot->id);
    KeyedCards::retireUnwanted(m_cards, wanted, m_shotsLayout);
    int position = 0;
    QSet<QUuid> placed;
    for (const Shot *shot : std::as_const(laneShots)) {
        if (placed.contains(shot->id))
            continue; // a repeated identifier in a hand-edited file: its first entry is shown
        placed.insert(shot->id);
        ShotCard *card = m_cards.value(shot->id);
        if (!card) {
            const bool now = !queue || queue->buildNow(int(shot->steps.size()));
            card = new ShotCard(m_model, shot->id, this, now ? ShotCard::Rows::Now : ShotCard::Rows::Later);
            const QUuid shotID = shot->id;
            card->setOnDelete([model = m_model, shotID] { model->deleteShot(shotID); });
            m_cards.insert(shot->id, card);
            if (!card->rowsBuilt())
                queue->enqueue(card);
        }
        card->showShot(*shot, plan.lanes);
        KeyedCards::placeAt(m_shotsLayout, card, position);
        ++position;
    }
}

QMenu *LaneCard::addShotMenu()
{
    if (!m_addShotMenu) {
        m_addShotMenu = new QMenu(this);
        m_addShotMenu->setObjectName(QStringLiteral("addShotMenu"));
        QAction *empty = m_addShotMenu->addAction(QStringLiteral("Leerer Shot"));
        connect(empty, &QAction::triggered, this, [this] {
            if (const std::optional<Lane> lane = currentLane())
                m_model->addEmptyShot(*lane);
        });
        QAction *record = m_addShotMenu->addAction(QStringLiteral("Live aufnehmen"));
        connect(record, &QAction::triggered, this, [this] {
            if (const std::optional<Lane> lane = currentLane())
                m_model->recordShot(*lane);
        });
    }
    return m_addShotMenu;
}

QList<ShotCard *> LaneCard::shotCards() const
{
    return KeyedCards::widgetsIn<ShotCard>(m_shotsLayout);
}

std::optional<Lane> LaneCard::currentLane() const
{
    for (const Lane &lane : m_model->plan().lanes) {
        if (lane.id == m_laneID)
            return lane;
    }
    return std::nullopt;
}
