#include "ShotPlanEditorView.h"

#include "DisclosureHeader.h"
#include "LanesSection.h"
#include "LanguagesSection.h"
#include "LaunchOptionsSection.h"
#include "PlanEditorModel.h"
#include "PlanEditorSheets.h"
#include "PlanEditorStyle.h"
#include "QuitConfirmation.h"
#include "QuitConfirmationDialog.h"
#include "RunBlock.h"
#include "SaveErrorBar.h"
#include "SimulatorLocationSheet.h"
#include "ToolsRow.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <GlassCard.h>
#include <PlaceholderPane.h>
#include <Spring.h>
#include <SurfacePainter.h>
#include <SymbolLabel.h>

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QVariantAnimation>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {
constexpr int kColumnMaxWidth = 820;
constexpr int kColumnPadding = 16;
constexpr int kFadeMs = 200;

QWidget *statusLine(const QString &symbol, const QColor &color, QLabel **text, QWidget *parent)
{
    auto *line = new QWidget(parent);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto *icon = new SymbolLabel(symbol, TextStyle::Body, line);
    icon->setColor(color);
    layout->addWidget(icon, 0, Qt::AlignTop);
    *text = PlanEditorStyle::label(QString(), TextStyle::Body, line, color);
    (*text)->setWordWrap(true);
    (*text)->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(*text, 1);
    return line;
}
// A column at most kColumnMaxWidth wide, centred in `outer`, which gets the centring layout.
QWidget *centredColumn(QWidget *outer, QHBoxLayout **centring = nullptr)
{
    auto *layout = new QHBoxLayout(outer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    auto *column = new QWidget(outer);
    column->setMaximumWidth(kColumnMaxWidth);
    column->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout->addWidget(column, 100);
    layout->addStretch(1);
    if (centring)
        *centring = layout;
    return column;
}
} // namespace

ShotPlanEditorView::ShotPlanEditorView(const XcodeProject &project, QWidget *parent)
    : QWidget(parent)
    , m_model(new PlanEditorModel(project, this))
{
    setObjectName(QStringLiteral("shotPlanEditor"));

    m_stack = new QStackedLayout(this);
    m_placeholder = new PlaceholderPane(
        QStringLiteral("camera.viewfinder"), QStringLiteral("Screenshot-Automation"),
        {QStringLiteral("Dieses Projekt hat kein fastlane-Verzeichnis"),
         QStringLiteral("Die Automation legt ihre Dateien additiv unter fastlane/velorancestudio/ ab")},
        this);
    m_stack->addWidget(m_placeholder);
    m_stack->addWidget(buildEditorPage());

    connect(m_model, &PlanEditorModel::stateChanged, this, &ShotPlanEditorView::syncState);
    connect(m_model, &PlanEditorModel::projectChanged, this, &ShotPlanEditorView::syncProject);
    syncProject();
    syncState();
}

ShotPlanEditorView::~ShotPlanEditorView()
{
    // Sheets are top-level dialogs of this page; they go with it.
    delete m_locationSheet.data();
}

QWidget *ShotPlanEditorView::buildEditorPage()
{
    m_editorPage = new QWidget(this);
    m_editorPage->setObjectName(QStringLiteral("planEditorPage"));
    auto *page = new QVBoxLayout(m_editorPage);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    // A failed save, and a version kept aside, stay in view above the scrolling page, lined up
    // with the column.
    m_errorPin = new QWidget(m_editorPage);
    m_errorPin->setObjectName(QStringLiteral("saveErrorPin"));
    QHBoxLayout *pinCentring = nullptr;
    QWidget *pinColumn = centredColumn(m_errorPin, &pinCentring);
    auto *pinLayout = new QVBoxLayout(pinColumn);
    // Lined up with the cards below, which keep their shadow's room inside the column.
    const QMargins shadow = SurfacePainter::shadowMargins();
    pinLayout->setContentsMargins(kColumnPadding + shadow.left(), kColumnPadding, kColumnPadding + shadow.right(), 0);
    pinLayout->setSpacing(8);
    m_errorBar = new SaveErrorBar(pinColumn);
    pinLayout->addWidget(m_errorBar);
    m_noticeBar = new SaveErrorBar(pinColumn, SaveErrorBar::Kind::Notice);
    connect(m_noticeBar, &SaveErrorBar::closeClicked, m_model, &PlanEditorModel::closeKeptNotice);
    pinLayout->addWidget(m_noticeBar);
    m_errorPin->hide();
    page->addWidget(m_errorPin);

    m_scroll = new QScrollArea(m_editorPage);
    m_scroll->setObjectName(QStringLiteral("planEditorScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ControlStyles::makeSlim(m_scroll->verticalScrollBar());

    auto *canvas = new QWidget(m_scroll);
    canvas->setObjectName(QStringLiteral("planEditorCanvas"));
    m_column = centredColumn(canvas);
    m_column->setObjectName(QStringLiteral("planEditorColumn"));
    auto *column = new QVBoxLayout(m_column);
    column->setContentsMargins(kColumnPadding, kColumnPadding, kColumnPadding, kColumnPadding);
    column->setSpacing(20);

    // 1. Settings
    auto *settings = new QWidget(m_column);
    auto *settingsLayout = new QVBoxLayout(settings);
    settingsLayout->setContentsMargins(0, 0, 0, 0);
    settingsLayout->setSpacing(0);
    m_settingsHeader = new DisclosureHeader(QStringLiteral("gearshape"), QStringLiteral("Einstellungen"),
                                            TextStyle::Headline, TextStyles::defaultWeight(TextStyle::Headline),
                                            settings);
    m_settingsHeader->setObjectName(QStringLiteral("settingsDisclosure"));
    connect(m_settingsHeader, &DisclosureHeader::clicked, m_model, &PlanEditorModel::setShowSettings);
    settingsLayout->addWidget(m_settingsHeader);

    m_settingsContent = new QWidget(settings);
    m_settingsContent->setObjectName(QStringLiteral("settingsContent"));
    auto *cards = new QVBoxLayout(m_settingsContent);
    cards->setContentsMargins(0, 8, 0, 0);
    cards->setSpacing(SurfacePainter::stackSpacing(16));
    m_languages = new LanguagesSection(m_model);
    auto *languagesCard = new GlassCard(QStringLiteral("Sprachen"), QStringLiteral("character.bubble"), m_languages,
                                        m_settingsContent);
    languagesCard->setObjectName(QStringLiteral("languagesCard"));
    cards->addWidget(languagesCard);
    m_launchOptions = new LaunchOptionsSection(m_model);
    auto *launchCard = new GlassCard(QStringLiteral("Start-Optionen"), QStringLiteral("slider.horizontal.3"),
                                     m_launchOptions, m_settingsContent);
    launchCard->setObjectName(QStringLiteral("launchOptionsCard"));
    cards->addWidget(launchCard);
    m_tools = new ToolsRow(m_model);
    auto *toolsCard = new GlassCard(QStringLiteral("Simulator-Werkzeuge"), QStringLiteral("wrench.and.screwdriver"),
                                    m_tools, m_settingsContent);
    toolsCard->setObjectName(QStringLiteral("toolsCard"));
    cards->addWidget(toolsCard);
    settingsLayout->addWidget(m_settingsContent);
    column->addWidget(settings);

    // 2. Lanes
    m_lanes = new LanesSection(m_model, m_column);
    column->addWidget(m_lanes);

    // 3. Run, build configuration and export
    m_runBlock = new RunBlock(m_model, m_column);
    column->addWidget(m_runBlock);

    // 4. and 5. Note and error
    m_noteLine = statusLine(QStringLiteral("checkmark.circle.fill"), AppPalette::accent(), &m_noteText, m_column);
    m_noteLine->setObjectName(QStringLiteral("saveNoteLine"));
    m_noteText->setObjectName(QStringLiteral("saveNoteText"));
    // The opacity effect lives only while the line fades: painting through it costs an
    // offscreen pass on every repaint.
    m_noteFade = new QVariantAnimation(this);
    m_noteFade->setDuration(kFadeMs);
    connect(m_noteFade, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        if (auto *effect = qobject_cast<QGraphicsOpacityEffect *>(m_noteLine->graphicsEffect()))
            effect->setOpacity(value.toReal());
    });
    connect(m_noteFade, &QVariantAnimation::finished, this, [this] {
        m_noteLine->setGraphicsEffect(nullptr);
        if (!m_noteShown)
            m_noteLine->hide();
    });
    m_noteLine->hide();
    column->addWidget(m_noteLine);

    m_errorLine = statusLine(QStringLiteral("exclamationmark.triangle.fill"), AppPalette::destructive(), &m_errorText,
                             m_column);
    m_errorLine->setObjectName(QStringLiteral("saveErrorLine"));
    m_errorText->setObjectName(QStringLiteral("saveErrorText"));
    m_errorLine->hide();
    column->addWidget(m_errorLine);
    column->addStretch(1);

    m_scroll->setWidget(canvas);
    page->addWidget(m_scroll, 1);
    // The column below is centred beside the scroll bar while it shows; so is the pinned one.
    connect(m_scroll->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this, pinCentring](int, int maximum) {
        pinCentring->setContentsMargins(0, 0, maximum > 0 ? m_scroll->verticalScrollBar()->sizeHint().width() : 0, 0);
    });
    return m_editorPage;
}

void ShotPlanEditorView::setProject(const XcodeProject &project)
{
    // Another project's plan may be loaded in place of this one: what this one has not yet
    // written gets its last try now.
    m_model->saveNow();
    m_model->setProject(project);
    loadIfNeeded();
}

SimulatorLocationSheet *ShotPlanEditorView::locationSheet() const
{
    return m_locationSheet.data();
}

bool ShotPlanEditorView::confirmQuit()
{
    const std::optional<QuitConfirmation> question = QuitConfirmation::beforeQuit(*m_model);
    return !question || QuitConfirmation::quits(QuitConfirmationDialog::ask(*question, window()));
}

void ShotPlanEditorView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Costs nothing when all is on disk.
    m_model->saveNow();
}

bool ShotPlanEditorView::showsPlaceholder() const
{
    return m_stack->currentWidget() == m_placeholder;
}

void ShotPlanEditorView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    loadIfNeeded();
}

void ShotPlanEditorView::loadIfNeeded()
{
    // Without a fastlane folder nothing is read or written. Reloads after the first load are
    // the model's own (a changed project folder).
    if (!isVisible() || m_model->hasLoaded() || !m_model->project().fastlaneDirectory)
        return;
    m_model->load();
}

void ShotPlanEditorView::syncProject()
{
    const bool placeholder = !m_model->project().fastlaneDirectory.has_value();
    QWidget *page = placeholder ? static_cast<QWidget *>(m_placeholder) : m_editorPage;
    if (m_stack->currentWidget() != page)
        m_stack->setCurrentWidget(page);
}

void ShotPlanEditorView::syncState()
{
    m_settingsHeader->setExpanded(m_model->showSettings());
    m_settingsContent->setVisible(m_model->showSettings());

    syncNote();

    const std::optional<QString> error = m_model->saveError();
    if (error && m_errorText->text() != *error)
        m_errorText->setText(*error);
    m_errorLine->setVisible(error.has_value());
    if (error)
        m_errorBar->setText(*error);
    m_errorBar->setVisible(error.has_value());
    const std::optional<QString> notice = m_model->keptNotice();
    if (notice)
        m_noticeBar->setText(*notice);
    m_noticeBar->setVisible(notice.has_value());
    m_errorPin->setVisible(error || notice);

    presentSheets();
}

void ShotPlanEditorView::syncNote()
{
    const std::optional<QString> note = m_model->saveNote();
    if (note && m_noteText->text() != *note)
        m_noteText->setText(*note); // a new note replaces the text at once
    if (note.has_value() == m_noteShown)
        return;
    m_noteShown = note.has_value();

    // Where the line stands now, also in the middle of a fade.
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(m_noteLine->graphicsEffect());
    const qreal from = effect ? effect->opacity() : (m_noteLine->isHidden() ? 0.0 : 1.0);
    m_noteFade->stop();
    if (m_noteShown)
        m_noteLine->show();
    if (!Motion::animationsEnabled() || !isVisible()) {
        m_noteLine->setGraphicsEffect(nullptr);
        m_noteLine->setVisible(m_noteShown);
        return;
    }
    if (!effect) {
        effect = new QGraphicsOpacityEffect(m_noteLine);
        m_noteLine->setGraphicsEffect(effect);
    }
    effect->setOpacity(from);
    m_noteFade->setStartValue(from);
    m_noteFade->setEndValue(m_noteShown ? 1.0 : 0.0);
    m_noteFade->start();
}

void ShotPlanEditorView::presentSheets()
{
    if (m_model->showLocation() && !m_locationSheet) {
        PlanEditorModel *model = m_model;
        m_locationSheet = new SimulatorLocationSheet(
            model->plan().location,
            [model](double latitude, double longitude) { model->setPlanLocation(PlanLocation{latitude, longitude}); },
            [model] { model->setPlanLocation(std::nullopt); },
            this);
        m_locationSheet->setObjectName(QStringLiteral("planLocationSheet"));
        m_locationSheet->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_locationSheet, &QDialog::finished, m_model, [model] { model->setShowLocation(false); });
        m_locationSheet->open();
    } else if (!m_model->showLocation() && m_locationSheet) {
        m_locationSheet->close();
    }
    // The run sheet (showRun) and the recorder sheet (showRecorder).
    PlanEditorSheets::of(this, m_model)->present();
}
