#include "ShotCard.h"

#include "KeyedCards.h"
#include "PlanEditorModel.h"
#include "SimulatorLocationSheet.h"
#include "StepKindEditor.h"
#include "StepRow.h"

#include <AppPalette.h>
#include <Spring.h>
#include <SymbolLabel.h>
#include <Symbols.h>
#include <TextStyle.h>
#include <Uuid.h>

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {

QToolButton *makeIconButton(const QString &objectName, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(16, 16));
    return button;
}

const Shot *findShot(const ScreenshotPlan &plan, const QUuid &shotID)
{
    for (const Shot &shot : plan.shots) {
        if (shot.id == shotID)
            return &shot;
    }
    return nullptr;
}

} // namespace

ShotCard::ShotCard(PlanEditorModel *model, const QUuid &shotID, QWidget *parent, Rows rows)
    : GlassSurface(parent)
    , m_model(model)
    , m_shotID(shotID)
    , m_rowsBuilt(rows == Rows::Now)
{
    setObjectName(QStringLiteral("shotCard"));
    setKind(SurfacePainter::Kind::RegularGlass);
    setCornerRadius(16);
    setPadding(16);
    // Exactly as tall as the content: extra height never trickles into the rows.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto *camera = new SymbolLabel(QStringLiteral("camera.fill"), TextStyle::Body, this);
    camera->setColor(AppPalette::accent());

    m_nameField = new QLineEdit(this);
    m_nameField->setObjectName(QStringLiteral("shotNameField"));
    m_nameField->setPlaceholderText(QStringLiteral("Name"));
    m_nameField->setMaximumWidth(260);
    connect(m_nameField, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_model->updateShot(m_shotID, [&text](Shot &shot) { shot.name = text; });
    });

    m_laneButton = makeIconButton(QStringLiteral("shotLaneButton"), this);
    m_laneButton->setIcon(Symbols::icon(QStringLiteral("tray.and.arrow.down"), AppPalette::accent(), 16));
    m_laneButton->setToolTip(QStringLiteral("In andere Lane verschieben"));
    m_laneButton->setAccessibleName(QStringLiteral("In andere Lane verschieben"));
    m_laneButton->hide();
    connect(m_laneButton, &QToolButton::clicked, this, [this] {
        laneMenu()->popup(m_laneButton->mapToGlobal(QPoint(0, m_laneButton->height())));
    });

    m_locationButton = makeIconButton(QStringLiteral("shotLocationButton"), this);
    connect(m_locationButton, &QToolButton::clicked, this, &ShotCard::openLocationSheet);
    refreshLocationButton(false);

    m_deleteButton = makeIconButton(QStringLiteral("shotDeleteButton"), this);
    m_deleteButton->setIcon(Symbols::icon(QStringLiteral("trash"), AppPalette::destructive(), 16));
    m_deleteButton->setAccessibleName(QStringLiteral("Shot löschen"));
    connect(m_deleteButton, &QToolButton::clicked, this, [this] {
        if (m_onDelete)
            m_onDelete(); // no confirmation: the plan is saved and the step is one click away
    });

    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(8);
    header->addWidget(camera, 0, Qt::AlignVCenter);
    header->addWidget(m_nameField, 1, Qt::AlignVCenter);
    header->addStretch(0);
    header->addWidget(m_laneButton, 0, Qt::AlignVCenter);
    header->addWidget(m_locationButton, 0, Qt::AlignVCenter);
    header->addWidget(m_deleteButton, 0, Qt::AlignVCenter);

    m_stepsLayout = new QVBoxLayout;
    m_stepsLayout->setContentsMargins(0, 0, 0, 0);
    m_stepsLayout->setSpacing(10);

    m_addStepButton = new QToolButton(this);
    m_addStepButton->setObjectName(QStringLiteral("addStepButton"));
    m_addStepButton->setAutoRaise(true);
    m_addStepButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_addStepButton->setText(QStringLiteral("Schritt hinzufügen"));
    m_addStepButton->setIcon(Symbols::icon(QStringLiteral("plus"), AppPalette::accent(), 14));
    connect(m_addStepButton, &QToolButton::clicked, this, [this] {
        addStepMenu()->popup(m_addStepButton->mapToGlobal(QPoint(0, m_addStepButton->height())));
    });

    auto *layout = new QVBoxLayout(this);
    // Grow at once when the content grows, instead of squeezing every sibling first.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addLayout(header);
    layout->addLayout(m_stepsLayout);
    layout->addWidget(m_addStepButton, 0, Qt::AlignLeft);

    if (const Shot *shot = findShot(m_model->plan(), m_shotID))
        showShot(*shot, m_model->plan().lanes);
}

ShotCard::~ShotCard() = default;

void ShotCard::showShot(const Shot &shot, const QList<Lane> &lanes)
{
    // The lane menu is filled from m_lanes when it opens; a renamed lane costs nothing here.
    m_lanes = lanes;
    const bool laneMenuShown = lanes.size() >= 2;
    if (m_laneButton->isHidden() == laneMenuShown)
        m_laneButton->setVisible(laneMenuShown);
    if (m_hasShown && shot == m_shown)
        return;

    setFieldText(m_nameField, shot.name);
    if (!m_hasShown || shot.location.has_value() != m_locationShown)
        refreshLocationButton(shot.location.has_value());

    if (m_rowsBuilt)
        reconcileRows(shot);

    m_shown = shot;
    m_hasShown = true;
}

void ShotCard::buildRows()
{
    if (m_rowsBuilt)
        return;
    m_rowsBuilt = true;
    if (m_hasShown)
        reconcileRows(m_shown);
}

void ShotCard::reconcileRows(const Shot &shot)
{
    // Keyed by item identifier: keep the rows that stay, drop the removed ones, make new ones.
    QSet<QUuid> wanted;
    wanted.reserve(shot.steps.size());
    for (const ShotStepItem &item : shot.steps)
        wanted.insert(item.id);
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (!wanted.contains(it.key())) {
            StepRow *row = it.value();
            m_stepsLayout->removeWidget(row);
            row->hide();
            row->deleteLater(); // it may be the row whose button asked for the removal
            it = m_rows.erase(it);
        } else {
            ++it;
        }
    }
    int position = 0;
    QSet<QUuid> placed;
    for (const ShotStepItem &item : shot.steps) {
        if (placed.contains(item.id))
            continue; // a repeated identifier in a hand-edited file: its first entry is shown
        placed.insert(item.id);
        StepRow *row = m_rows.value(item.id);
        if (!row) {
            row = makeRow(item);
            m_rows.insert(item.id, row);
        } else {
            row->showStep(item.step);
        }
        QLayoutItem *current = m_stepsLayout->itemAt(position);
        if (!current || current->widget() != row) {
            m_stepsLayout->removeWidget(row);
            m_stepsLayout->insertWidget(position, row);
        }
        ++position;
    }
}

StepRow *ShotCard::makeRow(const ShotStepItem &item)
{
    const QUuid itemID = item.id;
    auto *row = new StepRow(stepBinding(itemID), Uuid::text(itemID), this);
    row->setOnInsertWaitBefore([this, itemID] { insertWait(itemID, StepListEditing::WaitPlacement::Before); });
    row->setOnInsertWaitAfter([this, itemID] { insertWait(itemID, StepListEditing::WaitPlacement::After); });
    row->setOnDelete([this, itemID] { deleteStep(itemID); });
    row->setOnDrop([this, itemID](const QString &text) { dropOnto(text, itemID); });
    return row;
}

Binding<ShotStep> ShotCard::stepBinding(const QUuid &itemID) const
{
    PlanEditorModel *model = m_model;
    const QUuid shotID = m_shotID;
    return makeBinding<ShotStep>(
        [model, shotID, itemID] {
            if (const Shot *shot = findShot(model->plan(), shotID)) {
                for (const ShotStepItem &item : shot->steps) {
                    if (item.id == itemID)
                        return item.step;
                }
            }
            return ShotStep();
        },
        [model, shotID, itemID](const ShotStep &step) {
            model->updateShot(shotID, [&](Shot &shot) {
                for (ShotStepItem &item : shot.steps) {
                    if (item.id == itemID) {
                        item.step = step;
                        return;
                    }
                }
            });
        });
}

bool ShotCard::editSteps(const std::function<bool(QList<ShotStepItem> &)> &edit)
{
    const Shot *current = findShot(m_model->plan(), m_shotID);
    if (!current)
        return false;
    QList<ShotStepItem> steps = current->steps;
    if (!edit(steps))
        return false; // nothing moved: no write, no animation
    m_model->updateShot(m_shotID, [&steps](Shot &shot) { shot.steps = steps; });
    // The page reconciles on the model's signal; this keeps a card on its own up to date too.
    if (const Shot *shot = findShot(m_model->plan(), m_shotID))
        showShot(*shot, m_model->plan().lanes);
    return true;
}

void ShotCard::addStep(ShotStep::Kind kind)
{
    editSteps([kind](QList<ShotStepItem> &steps) {
        StepListEditing::append(steps, StepListEditing::newStep(kind));
        return true;
    });
}

void ShotCard::insertWait(const QUuid &itemID, StepListEditing::WaitPlacement placement)
{
    std::optional<QUuid> inserted;
    editSteps([&](QList<ShotStepItem> &steps) {
        inserted = StepListEditing::insertWait(steps, itemID, placement);
        return inserted.has_value();
    });
    if (inserted)
        animateIn(*inserted);
}

void ShotCard::deleteStep(const QUuid &itemID)
{
    editSteps([&itemID](QList<ShotStepItem> &steps) { return StepListEditing::deleteStep(steps, itemID); });
}

void ShotCard::dropOnto(const QString &droppedText, const QUuid &targetID)
{
    const bool moved = editSteps([&](QList<ShotStepItem> &steps) {
        return StepListEditing::moveStep(steps, droppedText, targetID);
    });
    if (moved) {
        if (const std::optional<QUuid> id = Uuid::parse(droppedText))
            animateIn(*id);
    }
}

void ShotCard::moveToLane(const QUuid &laneID)
{
    m_model->updateShot(m_shotID, [&laneID](Shot &shot) { shot.laneID = laneID; });
}

void ShotCard::applyLocation(double latitude, double longitude)
{
    m_model->updateShot(m_shotID, [=](Shot &shot) { shot.location = PlanLocation{latitude, longitude}; });
}

void ShotCard::clearLocation()
{
    m_model->updateShot(m_shotID, [](Shot &shot) { shot.location.reset(); });
}

PlanLocation ShotCard::sheetInitialLocation(const Shot &shot)
{
    return shot.location.value_or(PlanLocation{37.3349, -122.009});
}

void ShotCard::openLocationSheet()
{
    const Shot *shot = findShot(m_model->plan(), m_shotID);
    if (!shot || m_showLocation)
        return;
    m_showLocation = true;
    auto *sheet = new SimulatorLocationSheet(
        sheetInitialLocation(*shot),
        [this](double latitude, double longitude) { applyLocation(latitude, longitude); },
        [this] { clearLocation(); },
        this);
    sheet->setObjectName(QStringLiteral("shotLocationSheet"));
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [this] { m_showLocation = false; });
    sheet->open();
}

QList<StepRow *> ShotCard::stepRows() const
{
    return KeyedCards::widgetsIn<StepRow>(m_stepsLayout);
}

QMenu *ShotCard::laneMenu()
{
    if (!m_laneMenu) {
        m_laneMenu = new QMenu(this);
        m_laneMenu->setObjectName(QStringLiteral("shotLaneMenu"));
    }
    m_laneMenu->clear();
    const QIcon check = Symbols::icon(QStringLiteral("checkmark"), AppPalette::primaryText(), 14);
    for (const Lane &lane : std::as_const(m_lanes)) {
        QAction *action = m_laneMenu->addAction(lane.name);
        action->setData(lane.id);
        if (m_shown.laneID && *m_shown.laneID == lane.id)
            action->setIcon(check);
        const QUuid laneID = lane.id;
        connect(action, &QAction::triggered, this, [this, laneID] { moveToLane(laneID); });
    }
    return m_laneMenu;
}

QMenu *ShotCard::addStepMenu()
{
    if (!m_addStepMenu) {
        m_addStepMenu = new QMenu(this);
        m_addStepMenu->setObjectName(QStringLiteral("addStepMenu"));
        const QList<std::pair<QString, ShotStep::Kind>> items = {
            {QStringLiteral("Tippen"), ShotStep::Kind::Tap},
            {QStringLiteral("Text eingeben"), ShotStep::Kind::TypeText},
            {QStringLiteral("Warten"), ShotStep::Kind::Wait},
            {QStringLiteral("Wischen"), ShotStep::Kind::Swipe},
        };
        for (const auto &[title, kind] : items) {
            QAction *action = m_addStepMenu->addAction(title);
            connect(action, &QAction::triggered, this, [this, kind = kind] { addStep(kind); });
        }
    }
    return m_addStepMenu;
}

void ShotCard::animateIn(const QUuid &itemID)
{
    ++m_animatedChanges;
    StepRow *row = m_rows.value(itemID);
    if (!row || !Motion::animationsEnabled())
        return;
    const Spring spring{0.5, 0.85};
    const int height = row->sizeHint().height();
    auto *animation = new QVariantAnimation(row);
    animation->setDuration(spring.durationMs());
    animation->setEasingCurve(spring.easingCurve());
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    connect(animation, &QVariantAnimation::valueChanged, row, [row, height](const QVariant &value) {
        row->setMaximumHeight(qMax(1, qRound(height * value.toDouble())));
    });
    connect(animation, &QVariantAnimation::finished, row, [row] { row->setMaximumHeight(QWIDGETSIZE_MAX); });
    row->setMaximumHeight(1);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void ShotCard::refreshLocationButton(bool hasLocation)
{
    m_locationShown = hasLocation;
    if (hasLocation) {
        m_locationButton->setIcon(Symbols::icon(QStringLiteral("location.fill"), AppPalette::accent(), 16));
        m_locationButton->setToolTip(QStringLiteral("Standort gesetzt — ändern oder entfernen"));
    } else {
        m_locationButton->setIcon(Symbols::icon(QStringLiteral("location"), AppPalette::secondaryText(), 16));
        m_locationButton->setToolTip(QStringLiteral("Standort für diesen Shot setzen"));
    }
    m_locationButton->setAccessibleName(m_locationButton->toolTip());
}
