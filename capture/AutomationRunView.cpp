#include "AutomationRunView.h"

#include "BusyIndicator.h"
#include "NodeBadge.h"
#include "NodeChainView.h"
#include "PlanEditorStyle.h"
#include "RunSheetState.h"
#include "SheetHeader.h"
#include "SheetLayout.h"
#include "ThrottledLogView.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <GlassSurface.h>
#include <LocalePreference.h>
#include <SymbolLabel.h>
#include <Symbols.h>

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using Kind = ScreenshotRunSession::Phase::Kind;

namespace {

constexpr int standardPadding = 16;
constexpr int progressSteps = 1000;

// The bordered look; `small` for the compact control size.
void makeBordered(QPushButton *button, bool small, const QColor &textColor = QColor())
{
    button->setFont(TextStyles::font(small ? TextStyle::Footnote : TextStyle::Body));
    ControlStyles::makeBordered(button, small ? ControlStyles::ControlSize::Small : ControlStyles::ControlSize::Regular,
                                textColor);
}

QPushButton *button(const QString &title, const QString &objectName, QWidget *parent)
{
    auto *result = new QPushButton(title, parent);
    result->setObjectName(objectName);
    // Return must not cancel a run by accident.
    result->setAutoDefault(false);
    result->setDefault(false);
    return result;
}

bool hasBundleIdentifier(const XcodeProject &project)
{
    return project.bundleIdentifier.has_value() && !project.bundleIdentifier->isEmpty();
}

} // namespace

AutomationRunView::AutomationRunView(ScreenshotRunSession *session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    Q_ASSERT(session);
    m_session->setParent(this);
    setObjectName(QStringLiteral("automationRunView"));
    setWindowTitle(QStringLiteral("Automation · %1").arg(m_session->project().name));
    setWindowModality(Qt::WindowModal);
    QVBoxLayout *layout = SheetLayout::install(this, QSize(620, 540));
    layout->addWidget(buildHeader());
    layout->addWidget(PlanEditorStyle::divider(this));
    layout->addWidget(buildGrid(), 1);
    layout->addWidget(PlanEditorStyle::divider(this));
    layout->addWidget(buildFooter());

    m_log = new ThrottledLogView(this);
    m_log->setObjectName(QStringLiteral("runLog"));
    m_log->setPlaceholder(QStringLiteral("Noch keine Ausgabe…"));
    m_log->setFixedHeight(160);
    m_log->setVisible(false);
    layout->addWidget(m_log);

    connect(m_session, &ScreenshotRunSession::phaseChanged, this, &AutomationRunView::updatePhase);
    connect(m_session, &ScreenshotRunSession::importedCountChanged, this, &AutomationRunView::updatePhase);
    connect(m_session, &ScreenshotRunSession::nodesChanged, this, &AutomationRunView::updateNodes);
    connect(m_session, &ScreenshotRunSession::recentLinesChanged, this, &AutomationRunView::updateLog);

    updatePhase();
    updateNodes();
    // The minimum holds from the start, before the sheet is first shown.
    QDialog::layout()->activate();
    resize(680, 600);
}

AutomationRunView::~AutomationRunView()
{
    // The widgets go before the session; nothing may reach them while the run is ended.
    disconnect(m_session, nullptr, this, nullptr);
    m_session->cancel();
}

QWidget *AutomationRunView::buildHeader()
{
    m_header = new SheetHeader(QStringLiteral("camera.viewfinder"),
                               QStringLiteral("Automation · %1").arg(m_session->project().name), this);
    m_header->setObjectName(QStringLiteral("runHeader"));
    m_header->symbolLabel()->setObjectName(QStringLiteral("phaseIcon"));
    m_header->busyIndicator()->setObjectName(QStringLiteral("phaseBusy"));
    m_header->titleLabel()->setObjectName(QStringLiteral("runTitle"));
    m_header->subtitleLabel()->setObjectName(QStringLiteral("phaseText"));
    m_header->subtitleLabel()->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_header->closeButton()->setObjectName(QStringLiteral("closeButton"));
    // The same path as Escape.
    connect(m_header, &SheetHeader::closeRequested, this, &QDialog::reject);
    return m_header;
}

QWidget *AutomationRunView::buildGrid()
{
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("nodeGrid"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto *content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("nodeGridContent"));
    auto *cards = new QVBoxLayout(content);
    cards->setContentsMargins(standardPadding, standardPadding, standardPadding, standardPadding);
    cards->setSpacing(18);
    // The plan is the session's constant: the grid is built once and then only updated.
    for (const QString &language : m_session->plan().languages)
        cards->addWidget(languageCard(language, content));
    cards->addStretch(1);
    scroll->setWidget(content);
    return scroll;
}

QWidget *AutomationRunView::languageCard(const QString &language, QWidget *parent)
{
    auto *card = new GlassSurface(parent);
    card->setObjectName(QStringLiteral("languageCard"));
    card->setKind(SurfacePainter::Kind::RegularGlass);
    card->setCornerRadius(16);
    card->setPadding(14);
    card->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *stack = new QVBoxLayout(card);
    stack->setSpacing(8);

    auto *labelRow = new QHBoxLayout;
    labelRow->setSpacing(6);
    auto *symbol = new SymbolLabel(QStringLiteral("character.bubble"), TextStyle::Subheadline, card);
    labelRow->addWidget(symbol);
    QLabel *name = PlanEditorStyle::label(LocalePreference::displayName(language), TextStyle::Subheadline, card,
                                          QColor(), QFont::DemiBold);
    name->setObjectName(QStringLiteral("languageName"));
    labelRow->addWidget(name);
    labelRow->addStretch(1);
    stack->addLayout(labelRow);

    LanguageChain chain;
    chain.language = language;
    const QList<Shot> &shots = m_session->plan().shots;
    if (!shots.isEmpty()) {
        auto *strip = new NodeChainView(card);

        auto *rowWidget = new QWidget(strip);
        auto *row = new QHBoxLayout(rowWidget);
        row->setContentsMargins(0, 4, 0, 4);
        row->setSpacing(0);
        for (qsizetype i = 0; i < shots.size(); ++i) {
            if (i > 0) {
                // The line runs level with the circles' centres.
                auto *holder = new QVBoxLayout;
                holder->setContentsMargins(0, NodeBadge::circleDiameter / 2 - 1, 0, 0);
                holder->setSpacing(0);
                auto *connector = new NodeConnector(rowWidget);
                holder->addWidget(connector);
                holder->addStretch(1);
                row->addLayout(holder);
                chain.connectors << connector;
            }
            auto *badge = new NodeBadge(shots.at(i).name, RunNodeState::Pending, rowWidget);
            row->addWidget(badge, 0, Qt::AlignTop);
            chain.badges << badge;
        }
        row->addStretch(1);
        strip->setWidget(rowWidget);
        strip->setFixedHeight(rowWidget->sizeHint().height());
        stack->addWidget(strip);
        chain.view = strip;
    }
    m_chains << chain;
    return card;
}

QWidget *AutomationRunView::buildFooter()
{
    auto *footer = new QWidget(this);
    footer->setObjectName(QStringLiteral("runFooter"));
    auto *row = new QHBoxLayout(footer);
    row->setContentsMargins(standardPadding, standardPadding, standardPadding, standardPadding);
    row->setSpacing(10);

    m_logToggle = button(QStringLiteral("Protokoll"), QStringLiteral("logToggle"), footer);
    makeBordered(m_logToggle, true);
    connect(m_logToggle, &QPushButton::clicked, this, [this] { setShowLog(!m_showLog); });
    row->addWidget(m_logToggle, 0, Qt::AlignVCenter);

    m_progressBar = new QProgressBar(footer);
    m_progressBar->setObjectName(QStringLiteral("runProgress"));
    m_progressBar->setRange(0, progressSteps);
    m_progressBar->setTextVisible(false);
    m_progressBar->setMaximumWidth(240);
    m_progressBar->setFixedHeight(6);
    m_progressBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_progressBar->setStyleSheet(QStringLiteral("QProgressBar { background-color: %1; border: none; border-radius: 3px; }"
                                                "QProgressBar::chunk { background-color: %2; border-radius: 3px; }")
                                     .arg(AppPalette::quaternaryFill().name(QColor::HexArgb), AppPalette::accent().name()));
    row->addWidget(m_progressBar, 1, Qt::AlignVCenter);
    row->addStretch(1);

    m_finishButton = button(QStringLiteral("Fertig"), QStringLiteral("finishButton"), footer);
    PlanEditorStyle::makeProminent(m_finishButton);
    connect(m_finishButton, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(m_finishButton);

    m_cancelButton = button(QStringLiteral("Abbrechen"), QStringLiteral("cancelRunButton"), footer);
    makeBordered(m_cancelButton, false, AppPalette::destructive());
    connect(m_cancelButton, &QPushButton::clicked, m_session, &ScreenshotRunSession::cancel);
    row->addWidget(m_cancelButton);

    m_restartButton = button(QStringLiteral("Erneut starten"), QStringLiteral("restartButton"), footer);
    PlanEditorStyle::makeProminent(m_restartButton);
    m_restartButton->setEnabled(hasBundleIdentifier(m_session->project()));
    connect(m_restartButton, &QPushButton::clicked, m_session, &ScreenshotRunSession::start);
    row->addWidget(m_restartButton);

    m_dismissButton = button(QStringLiteral("Schließen"), QStringLiteral("dismissButton"), footer);
    makeBordered(m_dismissButton, false);
    connect(m_dismissButton, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(m_dismissButton);
    return footer;
}

void AutomationRunView::setShowLog(bool show)
{
    if (show == m_showLog)
        return;
    m_showLog = show;
    m_logToggle->setText(show ? QStringLiteral("Protokoll aus") : QStringLiteral("Protokoll"));
    // Showing the log applies the lines at once and brings the newest into view.
    if (show)
        m_log->setLines(m_session->recentLines());
    m_log->setVisible(show);
}

QList<NodeBadge *> AutomationRunView::badges(int languageIndex) const
{
    return m_chains.value(languageIndex).badges;
}

QList<NodeConnector *> AutomationRunView::connectors(int languageIndex) const
{
    return m_chains.value(languageIndex).connectors;
}

NodeChainView *AutomationRunView::chainView(int languageIndex) const
{
    return m_chains.value(languageIndex).view;
}

void AutomationRunView::updatePhase()
{
    const ScreenshotRunSession::Phase &phase = m_session->phase();
    const QString text = RunSheetState::phaseText(phase, m_session->doneCount(), int(m_session->nodes().size()),
                                                  m_session->importedCount());
    m_header->setSubtitle(text);

    // While running the busy indicator stands in for the icon.
    QString symbol;
    QColor color;
    switch (phase.kind) {
    case Kind::Idle:
    case Kind::Running:
        symbol = QStringLiteral("camera.viewfinder");
        color = AppPalette::secondaryText();
        break;
    case Kind::Done:
        symbol = QStringLiteral("checkmark.circle.fill");
        color = AppPalette::accent();
        break;
    case Kind::Failed:
        symbol = QStringLiteral("xmark.octagon.fill");
        color = AppPalette::destructive();
        break;
    }
    m_header->setSymbol(symbol, color);
    const bool running = phase.kind == Kind::Running;
    m_header->setBusy(running);

    const double progress = m_session->progress();
    m_progressBar->setVisible(RunSheetState::showsProgress(phase, progress));
    m_progressBar->setValue(qRound(progress * progressSteps));

    const bool finished = phase.kind == Kind::Idle || phase.kind == Kind::Done;
    m_finishButton->setVisible(finished);
    m_cancelButton->setVisible(running);
    m_restartButton->setVisible(phase.kind == Kind::Failed);
    m_dismissButton->setVisible(phase.kind == Kind::Failed);
}

void AutomationRunView::updateNodes()
{
    const QList<Shot> &shots = m_session->plan().shots;
    const RunSheetState::NodeStateLookup lookup(m_session->nodes());
    for (const LanguageChain &chain : std::as_const(m_chains)) {
        RunNodeState previous = RunNodeState::Pending;
        for (qsizetype i = 0; i < chain.badges.size() && i < shots.size(); ++i) {
            const RunNodeState state = lookup.state(chain.language, shots.at(i).name);
            chain.badges.at(i)->setState(state);
            if (i > 0)
                chain.connectors.at(i - 1)->setFilled(RunSheetState::connectorFilled(previous));
            previous = state;
        }
    }
    // The count in the phase text and the progress bar follow the nodes.
    updatePhase();
}

void AutomationRunView::updateLog()
{
    if (m_showLog)
        m_log->setLines(m_session->recentLines());
}

void AutomationRunView::stopSession()
{
    m_session->cancel();
}

void AutomationRunView::done(int result)
{
    stopSession();
    QDialog::done(result);
}

void AutomationRunView::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started && !event->spontaneous()) {
        m_started = true;
        m_session->start();
    }
}

void AutomationRunView::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // Hidden by its presenter without done(): the run must not go on unseen.
    if (!event->spontaneous())
        stopSession();
}
