#include "RecorderView.h"

#include "BusyIndicator.h"
#include "LaunchBanner.h"
#include "PlanEditorStyle.h"
#include "RecorderModel.h"
#include "RecorderStepList.h"
#include "SheetHeader.h"
#include "SheetLayout.h"
#include "SimulatorLocationSheet.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <RecorderListener.h>
#include <Spring.h>
#include <StepResolver.h>
#include <SymbolLabel.h>
#include <Symbols.h>

#include <QCheckBox>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {
constexpr PlanLocation fallbackLocation{37.3349, -122.009};
constexpr int busyDiameter = 14;

QPushButton *bordered(const QString &objectName, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

// Red text that still reads as disabled when the button is.
void setDestructiveText(QPushButton *button)
{
    ControlStyles::makeBordered(button, ControlStyles::ControlSize::Regular, AppPalette::destructive());
}

void setButtonLook(QPushButton *button, const QString &text, const QString &symbol, const QColor &color)
{
    if (button->text() != text)
        button->setText(text);
    button->setIcon(Symbols::icon(symbol, color, 16));
    ControlStyles::makeBordered(button, ControlStyles::ControlSize::Regular, color);
}
} // namespace

RecorderView::RecorderView(const XcodeProject &project, BuildConfiguration configuration,
                           QMap<QString, QString> launchEnvironment, QStringList launchArguments,
                           std::optional<PlanLocation> initialLocation, std::function<void(const Shot &)> onSave,
                           QWidget *parent)
    : QDialog(parent)
    , m_model(new RecorderModel(project, configuration, launchEnvironment, launchArguments, initialLocation,
                                std::move(onSave), this))
{
    setObjectName(QStringLiteral("recorderView"));
    setWindowTitle(QStringLiteral("Live-Recorder · ") + project.name);
    setWindowModality(Qt::WindowModal);
    QVBoxLayout *column = SheetLayout::install(this, QSize(560, 520));

    auto *top = new QWidget(this);
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(16, 16, 16, 16);
    topLayout->setSpacing(12);
    topLayout->addWidget(buildHeader());
    topLayout->addWidget(buildToolbar());
    column->addWidget(top);

    m_banner = new LaunchBanner(m_model, this);
    column->addWidget(m_banner);
    column->addWidget(PlanEditorStyle::divider(this));

    m_body = new QStackedWidget(this);
    m_body->setObjectName(QStringLiteral("recorderBody"));
    m_stepList = new RecorderStepList(m_model, m_body);
    m_placeholder = buildPlaceholder();
    m_body->addWidget(m_placeholder);
    m_body->addWidget(m_stepList);
    column->addWidget(m_body, 1);

    column->addWidget(PlanEditorStyle::divider(this));
    column->addWidget(buildFooter());

    connect(m_model, &RecorderModel::statusChanged, this, [this] {
        updateStatus();
        updateToolbar();
    });
    connect(m_model->listener(), &RecorderListener::statusChanged, this, &RecorderView::updateToolbar);
    connect(m_model, &RecorderModel::stepsChanged, this, &RecorderView::updateSteps);
    connect(m_model, &RecorderModel::resolverStatusChanged, this, [this] {
        updateResolver();
        updateToolbar();
        updateSaveRow();
    });
    connect(m_model, &RecorderModel::locationChanged, this, &RecorderView::updateLocationButton);
    connect(m_model, &RecorderModel::stabilizeChanged, this, [this] {
        if (m_stabilizeBox->isChecked() != m_model->stabilize())
            m_stabilizeBox->setChecked(m_model->stabilize());
    });
    connect(m_model, &RecorderModel::shotNameChanged, this, [this] {
        if (m_shotNameField->text() != m_model->shotName())
            m_shotNameField->setText(m_model->shotName());
    });
    connect(m_model, &RecorderModel::finished, this, &RecorderView::accept);

    updateStatus();
    updateToolbar();
    updateSteps();
    updateResolver();
    updateLocationButton();
    updateSaveRow();
    // The minimum holds from the start, before the sheet is first shown.
    QDialog::layout()->activate();
}

RecorderView::~RecorderView()
{
    stop();
}

// --- building ----------------------------------------------------------------------------

QWidget *RecorderView::buildHeader()
{
    m_header = new SheetHeader(QStringLiteral("circle.dashed"), QStringLiteral("Live-Recorder · ") + m_model->project().name, this);
    m_header->setObjectName(QStringLiteral("recorderHeader"));
    // The top area pads the header and the toolbar alike.
    m_header->setPadding(0);
    m_header->titleLabel()->setObjectName(QStringLiteral("recorderTitle"));
    m_header->subtitleLabel()->setObjectName(QStringLiteral("recorderStatusLine"));
    m_header->closeButton()->setObjectName(QStringLiteral("recorderCloseButton"));
    m_header->closeButton()->setToolTip(QStringLiteral("Schließen (ohne zu speichern)"));
    connect(m_header, &SheetHeader::closeRequested, this, &RecorderView::reject);

    SymbolLabel *statusIcon = m_header->symbolLabel();
    statusIcon->setObjectName(QStringLiteral("recorderStatusIcon"));
    m_pulseEffect = new QGraphicsOpacityEffect(statusIcon);
    m_pulseEffect->setOpacity(1.0);
    statusIcon->setGraphicsEffect(m_pulseEffect);
    m_pulse = new QVariantAnimation(this);
    m_pulse->setStartValue(1.0);
    m_pulse->setKeyValueAt(0.5, 0.3);
    m_pulse->setEndValue(1.0);
    m_pulse->setDuration(1200);
    m_pulse->setLoopCount(-1);
    m_pulse->setEasingCurve(QEasingCurve::InOutSine);
    connect(m_pulse, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_pulseEffect->setOpacity(value.toDouble());
    });
    return m_header;
}

QWidget *RecorderView::buildToolbar()
{
    auto *toolbar = new QWidget(this);
    toolbar->setObjectName(QStringLiteral("recorderToolbar"));
    auto *row = new QHBoxLayout(toolbar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    m_startButton = bordered(QStringLiteral("recorderStartButton"), toolbar);
    m_startButton->setText(QStringLiteral("App mit Recorder starten"));
    m_startButton->setIcon(Symbols::icon(QStringLiteral("play.fill"), Qt::white, 16));
    PlanEditorStyle::makeProminent(m_startButton);
    connect(m_startButton, &QPushButton::clicked, m_model, &RecorderModel::startAppWithRecorder);
    row->addWidget(m_startButton);

    m_pauseButton = bordered(QStringLiteral("recorderPauseButton"), toolbar);
    connect(m_pauseButton, &QPushButton::clicked, m_model, &RecorderModel::togglePause);
    row->addWidget(m_pauseButton);

    m_locationButton = bordered(QStringLiteral("recorderLocationButton"), toolbar);
    m_locationButton->setText(QStringLiteral("Standort"));
    m_locationButton->setToolTip(QStringLiteral(
        "Standort für diesen Shot setzen — wird beim Start im Simulator gesetzt und auf den Shot übernommen"));
    ControlStyles::makeBordered(m_locationButton);
    connect(m_locationButton, &QPushButton::clicked, this, &RecorderView::openLocationSheet);
    row->addWidget(m_locationButton);

    row->addStretch(1);
    row->addSpacing(12);

    m_stepCount = new QWidget(toolbar);
    m_stepCount->setObjectName(QStringLiteral("recorderStepCount"));
    auto *countRow = new QHBoxLayout(m_stepCount);
    countRow->setContentsMargins(0, 0, 0, 0);
    countRow->setSpacing(4);
    auto *countIcon = new SymbolLabel(QStringLiteral("list.number"), TextStyle::Caption, m_stepCount);
    countIcon->setColor(AppPalette::secondaryText());
    countRow->addWidget(countIcon);
    m_stepCountText = PlanEditorStyle::label(QString(), TextStyle::Caption, m_stepCount, AppPalette::secondaryText());
    m_stepCountText->setObjectName(QStringLiteral("recorderStepCountText"));
    countRow->addWidget(m_stepCountText);
    row->addWidget(m_stepCount);
    return toolbar;
}

QWidget *RecorderView::buildPlaceholder()
{
    auto *outer = new QWidget(this);
    outer->setObjectName(QStringLiteral("recorderPlaceholder"));
    auto *outerLayout = new QVBoxLayout(outer);
    // Padded 32 all round; above and below, the padding grows to centre the column. The sheet
    // grows rather than squeeze it when the launch log takes room.
    outerLayout->setContentsMargins(32, 0, 32, 0);
    outerLayout->addSpacerItem(new QSpacerItem(0, 32, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));

    constexpr int columnWidth = 420;
    auto *column = new QWidget(outer);
    column->setFixedWidth(columnWidth);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    auto *symbol = new SymbolLabel(QStringLiteral("dot.radiowaves.left.and.right"), TextStyle::Body, column);
    symbol->setPixelSize(40);
    symbol->setColor(AppPalette::accent());
    symbol->setAlignment(Qt::AlignCenter);
    layout->addWidget(symbol);

    QLabel *title = PlanEditorStyle::label(QStringLiteral("Bereit zum Aufnehmen"), TextStyle::Title3, column, QColor(), QFont::Bold);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    QLabel *text = PlanEditorStyle::label(
        QStringLiteral("Klick oben auf App mit Recorder starten. Velorance Studio baut und startet deine App im "
                       "Simulator und injiziert den Recorder nur für diesen Lauf, dein Projekt bleibt unangetastet. "
                       "Dann navigierst du per Hand, jeder Tap erscheint hier als Schritt."),
        TextStyle::Callout, column, AppPalette::secondaryText());
    text->setObjectName(QStringLiteral("recorderPlaceholderText"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    // A wrapped label does not ask for its height by itself; it must never be cut off.
    text->setMinimumHeight(text->heightForWidth(columnWidth));
    layout->addWidget(text);

    // The app the launch starts, not the project's Release identifier shown elsewhere.
    if (m_model->project().bundleIdentifier) {
        auto *identifier = new QLabel(m_model->launchedBundleIdentifier(), column);
        identifier->setObjectName(QStringLiteral("recorderPlaceholderBundleID"));
        identifier->setTextFormat(Qt::PlainText);
        identifier->setFont(TextStyles::monospaced(TextStyle::Caption));
        PlanEditorStyle::setTextColor(identifier, AppPalette::tertiaryText());
        identifier->setAlignment(Qt::AlignCenter);
        layout->addWidget(identifier);
    }

    outerLayout->addWidget(column, 0, Qt::AlignHCenter);
    outerLayout->addSpacerItem(new QSpacerItem(0, 32, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));
    return outer;
}

QWidget *RecorderView::buildFooter()
{
    auto *footer = new QWidget(this);
    footer->setObjectName(QStringLiteral("recorderFooter"));
    auto *column = new QVBoxLayout(footer);
    column->setContentsMargins(16, 12, 16, 12);
    column->setSpacing(10);

    auto *first = new QHBoxLayout;
    first->setSpacing(10);
    m_addMenuButton = new QToolButton(footer);
    m_addMenuButton->setObjectName(QStringLiteral("recorderAddStepButton"));
    PlanEditorStyle::makeBorderless(m_addMenuButton, QStringLiteral("plus"), QStringLiteral("Schritt"), AppPalette::accent());
    m_addMenuButton->setPopupMode(QToolButton::InstantPopup);
    m_addMenuButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    auto *menu = new QMenu(m_addMenuButton);
    menu->setObjectName(QStringLiteral("recorderAddStepMenu"));
    const QList<std::pair<QString, ShotStep::Kind>> entries{
        {QStringLiteral("Tippen"), ShotStep::Kind::Tap},
        {QStringLiteral("Text eingeben"), ShotStep::Kind::TypeText},
        {QStringLiteral("Warten"), ShotStep::Kind::Wait},
        {QStringLiteral("Wischen"), ShotStep::Kind::Swipe},
    };
    for (const auto &[title, kind] : entries) {
        const ShotStep::Kind entryKind = kind;
        menu->addAction(title, this, [this, entryKind] { m_model->addStep(entryKind); });
    }
    m_addMenuButton->setMenu(menu);
    first->addWidget(m_addMenuButton);

    m_clearButton = bordered(QStringLiteral("recorderClearButton"), footer);
    m_clearButton->setText(QStringLiteral("Liste leeren"));
    setDestructiveText(m_clearButton);
    connect(m_clearButton, &QPushButton::clicked, m_model, &RecorderModel::clearSteps);
    first->addWidget(m_clearButton);

    m_resolverProgress = new BusyIndicator(busyDiameter, footer);
    m_resolverProgress->setObjectName(QStringLiteral("recorderResolverProgress"));
    first->addWidget(m_resolverProgress, 0, Qt::AlignVCenter);
    m_resolverMessage = PlanEditorStyle::label(QString(), TextStyle::Caption, footer, AppPalette::secondaryText());
    m_resolverMessage->setObjectName(QStringLiteral("recorderResolverMessage"));
    first->addWidget(m_resolverMessage);
    first->addStretch(1);
    column->addLayout(first);

    auto *second = new QHBoxLayout;
    second->setSpacing(10);
    m_stabilizeBox = new QCheckBox(QStringLiteral("Identifier ermitteln (optional)"), footer);
    m_stabilizeBox->setObjectName(QStringLiteral("recorderStabilizeBox"));
    m_stabilizeBox->setToolTip(QStringLiteral(
        "Standard ist Replay über Koordinaten — läuft ohne App-Änderung. Optional sucht ein kurzer XCUITest-Lauf "
        "stabile accessibilityIdentifier, falls die App welche gesetzt hat, und bevorzugt die dann."));
    m_stabilizeBox->setEnabled(m_model->project().bundleIdentifier.has_value());
    ControlStyles::makeCheckBox(m_stabilizeBox, AppPalette::accent());
    connect(m_stabilizeBox, &QCheckBox::toggled, m_model, &RecorderModel::setStabilize);
    second->addWidget(m_stabilizeBox);
    second->addStretch(1);

    m_shotNameField = new QLineEdit(m_model->shotName(), footer);
    m_shotNameField->setObjectName(QStringLiteral("recorderShotNameField"));
    m_shotNameField->setPlaceholderText(QStringLiteral("Shot-Name"));
    m_shotNameField->setFixedWidth(180);
    connect(m_shotNameField, &QLineEdit::textChanged, m_model, &RecorderModel::setShotName);
    second->addWidget(m_shotNameField);

    m_saveButton = bordered(QStringLiteral("recorderSaveButton"), footer);
    m_saveButton->setText(QStringLiteral("Speichern"));
    PlanEditorStyle::makeProminent(m_saveButton);
    connect(m_saveButton, &QPushButton::clicked, m_model, &RecorderModel::save);
    second->addWidget(m_saveButton);
    column->addLayout(second);
    return footer;
}

// --- updates -----------------------------------------------------------------------------

void RecorderView::updateStatus()
{
    const QString text = m_model->statusText();
    m_header->setSubtitle(text);
    const RecorderModel::StatusIcon icon = m_model->statusIcon();
    m_header->setSymbol(icon.symbol, icon.color);
    updatePulse(icon.pulsing);
}

void RecorderView::updatePulse(bool pulsing)
{
    if (pulsing && Motion::animationsEnabled()) {
        if (m_pulse->state() != QAbstractAnimation::Running)
            m_pulse->start();
        return;
    }
    m_pulse->stop();
    m_pulseEffect->setOpacity(1.0);
}

void RecorderView::updateToolbar()
{
    m_startButton->setEnabled(m_model->canStartApp());

    const RecorderListener *listener = m_model->listener();
    m_pauseButton->setVisible(listener->isConnected());
    if (m_model->isRecording()) {
        setButtonLook(m_pauseButton, QStringLiteral("Pause"), QStringLiteral("pause.fill"), AppPalette::secondaryText());
        m_pauseButton->setToolTip(QStringLiteral("Aufnahme pausieren (Sim weiter nutzbar, ohne aufzunehmen)"));
    } else {
        setButtonLook(m_pauseButton, QStringLiteral("Aufnahme"), QStringLiteral("record.circle"), AppPalette::destructive());
        m_pauseButton->setToolTip(QStringLiteral("Aufnahme fortsetzen"));
    }
    m_pauseButton->setEnabled(!m_model->resolver()->isRunning());

    m_stepCount->setVisible(listener->status().kind == RecorderListener::Status::Kind::Listening);
}

void RecorderView::updateSteps()
{
    const qsizetype count = m_model->steps().size();
    m_body->setCurrentWidget(count > 0 ? static_cast<QWidget *>(m_stepList) : m_placeholder);
    const QString countText = QStringLiteral("%1 Schritte").arg(count);
    if (m_stepCountText->text() != countText)
        m_stepCountText->setText(countText);
    m_clearButton->setEnabled(count > 0);
    updateSaveRow();
}

void RecorderView::updateResolver()
{
    const StepResolver::Status &status = m_model->resolver()->status();
    const bool running = status.kind == StepResolver::Status::Kind::Running;
    m_resolverProgress->setVisible(running);
    m_resolverMessage->setVisible(running);
    if (running && m_resolverMessage->text() != status.message)
        m_resolverMessage->setText(status.message);
}

void RecorderView::updateLocationButton()
{
    m_locationButton->setIcon(Symbols::icon(m_model->location() ? QStringLiteral("location.fill") : QStringLiteral("location"),
                                            AppPalette::primaryText(), 16));
}

void RecorderView::updateSaveRow()
{
    m_saveButton->setEnabled(!m_model->steps().isEmpty() && !m_model->resolver()->isRunning());
}

// --- actions -----------------------------------------------------------------------------

SimulatorLocationSheet *RecorderView::locationSheet() const
{
    return m_locationSheet.data();
}

void RecorderView::openLocationSheet()
{
    if (m_locationSheet)
        return;
    const QPointer<RecorderModel> model(m_model);
    auto *sheet = new SimulatorLocationSheet(
        m_model->location().value_or(fallbackLocation),
        [model](double latitude, double longitude) {
            if (model)
                model->setLocation(PlanLocation{latitude, longitude});
        },
        [model] {
            if (model)
                model->setLocation(std::nullopt);
        },
        this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    m_locationSheet = sheet;
    sheet->open();
}

// --- lifecycle ---------------------------------------------------------------------------

void RecorderView::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        m_stopped = false;
        m_model->startListening();
    }
}

void RecorderView::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        stop();
}

void RecorderView::keyPressEvent(QKeyEvent *event)
{
    // Return in a field must not press whichever button happens to be the default.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void RecorderView::done(int result)
{
    stop();
    QDialog::done(result);
}

void RecorderView::stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    m_model->stopListening();
}
