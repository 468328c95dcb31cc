#include "RunBlock.h"

#include "PlanEditorModel.h"
#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <SymbolLabel.h>
#include <Symbols.h>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kBuildHelp = QStringLiteral("Entwicklung oder Produktion bauen. Für Screenshots meist Produktion.");
const QString kExportHelp = QStringLiteral(
    "Erzeugt eine XCUITest-Datei im fastlane-snapshot-Stil (fastlane/velorancestudio/) zum Einbinden in ein "
    "eigenes UITest-Target");
}

RunBlock::RunBlock(PlanEditorModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("runBlock"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(8);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    m_startAll = new QPushButton(Symbols::icon(QStringLiteral("play.circle.fill"), Qt::white, 16),
                                 QStringLiteral("Alle starten"), this);
    m_startAll->setObjectName(QStringLiteral("startAllButton"));
    m_startAll->setFont(TextStyles::font(TextStyle::Body, QFont::Medium));
    PlanEditorStyle::makeProminent(m_startAll);
    connect(m_startAll, &QPushButton::clicked, m_model, &PlanEditorModel::startAll);
    row->addWidget(m_startAll);

    auto *buildBox = new QHBoxLayout;
    buildBox->setSpacing(6);
    QLabel *buildTitle = PlanEditorStyle::label(QStringLiteral("Build"), TextStyle::Body, this);
    buildTitle->setToolTip(kBuildHelp);
    m_build = new QComboBox(this);
    m_build->setObjectName(QStringLiteral("buildPicker"));
    m_build->addItem(QStringLiteral("Produktion"), int(BuildConfiguration::Release));
    m_build->addItem(QStringLiteral("Entwicklung"), int(BuildConfiguration::Debug));
    m_build->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ControlStyles::makeMenuPicker(m_build);
    m_build->setToolTip(kBuildHelp);
    buildTitle->setBuddy(m_build);
    connect(m_build, &QComboBox::activated, this, [this](int index) {
        m_model->setBuildConfig(BuildConfiguration(m_build->itemData(index).toInt()));
    });
    buildBox->addWidget(buildTitle);
    buildBox->addWidget(m_build);
    row->addLayout(buildBox);
    row->addStretch(1);

    m_export = new QToolButton(this);
    m_export->setObjectName(QStringLiteral("exportButton"));
    PlanEditorStyle::makeBorderless(m_export, QStringLiteral("square.and.arrow.up"), QStringLiteral("Exportieren"),
                                    AppPalette::accent());
    PlanEditorStyle::setTextColor(m_export, AppPalette::accent());
    m_export->setPopupMode(QToolButton::InstantPopup);
    ControlStyles::hideMenuIndicator(m_export);
    m_export->setToolTip(kExportHelp);
    auto *menu = new QMenu(m_export);
    menu->setObjectName(QStringLiteral("exportMenu"));
    m_exportAction = menu->addAction(QStringLiteral("Als fastlane-snapshot-Test exportieren"));
    m_exportAction->setObjectName(QStringLiteral("exportSnapshotAction"));
    connect(m_exportAction, &QAction::triggered, m_model, &PlanEditorModel::exportSnapshotTest);
    m_export->setMenu(menu);
    row->addWidget(m_export);
    layout->addLayout(row);

    layout->addWidget(PlanEditorStyle::caption(
        QStringLiteral("Startet im Simulator und legt die Bilder additiv unter \u201EVorbereitet\u201C ab."), this));

    m_savedLine = new QWidget(this);
    m_savedLine->setObjectName(QStringLiteral("autosaveLine"));
    auto *saved = new QHBoxLayout(m_savedLine);
    saved->setContentsMargins(0, 0, 0, 0);
    saved->setSpacing(4);
    auto *check = new SymbolLabel(QStringLiteral("checkmark.circle"), TextStyle::Caption, m_savedLine);
    check->setColor(AppPalette::secondaryText());
    saved->addWidget(check);
    saved->addWidget(
        PlanEditorStyle::caption(QStringLiteral("Änderungen am Plan werden automatisch gespeichert."), m_savedLine), 1);
    layout->addWidget(m_savedLine);

    connect(m_model, &PlanEditorModel::planChanged, this, &RunBlock::refresh);
    connect(m_model, &PlanEditorModel::stateChanged, this, &RunBlock::refresh);
    connect(m_model, &PlanEditorModel::projectChanged, this, &RunBlock::refresh);
    refresh();
}

void RunBlock::refresh()
{
    m_startAll->setEnabled(m_model->startAllEnabled());
    m_export->setEnabled(m_model->exportEnabled());
    m_exportAction->setEnabled(m_model->exportEnabled());
    // No promise of saving while the last save failed.
    m_savedLine->setVisible(!m_model->saveError().has_value());
    const int index = m_build->findData(int(m_model->buildConfig()));
    if (m_build->currentIndex() != index)
        m_build->setCurrentIndex(index);
}
