#include "LaunchBanner.h"

#include "BusyIndicator.h"
#include "PlanEditorStyle.h"
#include "RecorderModel.h"
#include "ThrottledLogView.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <LaneRunModel.h>
#include <SymbolLabel.h>
#include <Symbols.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
void makeSmall(QPushButton *button, const QColor &textColor = QColor())
{
    button->setAutoDefault(false);
    button->setFont(TextStyles::font(TextStyle::Caption));
    ControlStyles::makeBordered(button, ControlStyles::ControlSize::Small, textColor);
}
} // namespace

LaunchBanner::LaunchBanner(RecorderModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("launchBanner"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 8, 16, 8);
    column->setSpacing(8);

    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    column->addLayout(row);

    // The busy indicator and the result icon share one 22-wide slot.
    m_busy = new BusyIndicator(16, this);
    m_busy->setObjectName(QStringLiteral("launchBusyIndicator"));
    row->addWidget(m_busy, 0, Qt::AlignVCenter);

    m_resultIcon = new SymbolLabel(QStringLiteral("checkmark.circle.fill"), TextStyle::Title3, this);
    m_resultIcon->setObjectName(QStringLiteral("launchResultIcon"));
    m_resultIcon->setFixedWidth(22);
    m_resultIcon->setAlignment(Qt::AlignCenter);
    row->addWidget(m_resultIcon, 0, Qt::AlignVCenter);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(3);
    m_title = PlanEditorStyle::label(QString(), TextStyle::Callout, this, QColor(), QFont::Medium);
    m_title->setObjectName(QStringLiteral("launchTitle"));
    texts->addWidget(m_title);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("launchProgressBar"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(6);
    m_progress->setMaximumWidth(320);
    texts->addWidget(m_progress);
    m_summary = PlanEditorStyle::label(QString(), TextStyle::Caption, this, AppPalette::secondaryText());
    m_summary->setObjectName(QStringLiteral("launchSummary"));
    texts->addWidget(m_summary);
    row->addLayout(texts, 1);
    row->addSpacing(12);

    m_logButton = new QPushButton(this);
    m_logButton->setObjectName(QStringLiteral("launchLogButton"));
    makeSmall(m_logButton);
    connect(m_logButton, &QPushButton::clicked, this, [this] { m_model->setShowLaunchLog(!m_model->showLaunchLog()); });
    row->addWidget(m_logButton, 0, Qt::AlignVCenter);

    m_cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancelButton->setObjectName(QStringLiteral("launchCancelButton"));
    makeSmall(m_cancelButton, AppPalette::destructive());
    connect(m_cancelButton, &QPushButton::clicked, m_model, &RecorderModel::cancelLaunch);
    row->addWidget(m_cancelButton, 0, Qt::AlignVCenter);

    m_hideButton = PlanEditorStyle::symbolButton(QStringLiteral("xmark"), AppPalette::secondaryText(),
                                                 QStringLiteral("Ausblenden"), this);
    m_hideButton->setObjectName(QStringLiteral("launchHideButton"));
    connect(m_hideButton, &QToolButton::clicked, m_model, &RecorderModel::hideLaunch);
    row->addWidget(m_hideButton, 0, Qt::AlignVCenter);

    m_log = new ThrottledLogView(this);
    m_log->setObjectName(QStringLiteral("launchLog"));
    m_log->setPlaceholder(QStringLiteral("Starte… (Ausgabe erscheint, sobald der Prozess schreibt)"));
    m_log->setFixedHeight(150);
    column->addWidget(m_log);

    connect(m_model, &RecorderModel::launchRunChanged, this, &LaunchBanner::refresh);
    connect(m_model, &RecorderModel::launchProgressChanged, this, &LaunchBanner::refresh);
    connect(m_model, &RecorderModel::showLaunchLogChanged, this, &LaunchBanner::refresh);
    refresh();
}

void LaunchBanner::refresh()
{
    const LaneRunModel *run = m_model->launchRun();
    setVisible(run != nullptr);
    if (!run)
        return;

    const LaneRunProgress &progress = run->progress();
    const bool running = run->isRunning();
    m_busy->setVisible(running);
    m_resultIcon->setVisible(!running);
    if (!running) {
        const bool succeeded = progress.exitCode && *progress.exitCode == 0;
        m_resultIcon->setSymbolName(succeeded ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("xmark.octagon.fill"));
        m_resultIcon->setColor(succeeded ? AppPalette::accent() : AppPalette::destructive());
    }

    const QString title = RecorderModel::launchTitle(*run);
    if (m_title->text() != title)
        m_title->setText(title);

    const bool showBar = running && progress.expectedBuildSteps && *progress.expectedBuildSteps > 0;
    m_progress->setVisible(showBar);
    if (showBar) {
        const double fraction = std::min(double(progress.buildSteps) / double(*progress.expectedBuildSteps), 1.0);
        m_progress->setValue(int(fraction * 1000.0));
    }

    const QString summary = progress.summary();
    m_summary->setVisible(!summary.isEmpty());
    if (m_summary->text() != summary)
        m_summary->setText(summary);

    const QString logTitle = m_model->showLaunchLog() ? QStringLiteral("Protokoll aus") : QStringLiteral("Protokoll");
    if (m_logButton->text() != logTitle)
        m_logButton->setText(logTitle);
    m_cancelButton->setVisible(running);
    m_hideButton->setVisible(!running);

    m_log->setVisible(m_model->showLaunchLog());
    m_log->setLines(progress.recentLines);
}

void LaunchBanner::paintEvent(QPaintEvent *)
{
    // A thin veil over the sheet, like a light material.
    QPainter painter(this);
    painter.fillRect(rect(), QColor(255, 255, 255, 12));
}
