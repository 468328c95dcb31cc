#include "LaunchOptionsSection.h"

#include "DisclosureHeader.h"
#include "FlagRow.h"
#include "LaunchArgumentRow.h"
#include "LaunchVariableRow.h"
#include "PlanEditorModel.h"
#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <Symbols.h>

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *smallAddButton(const QString &title, QWidget *parent)
{
    auto *button = new QPushButton(Symbols::icon(QStringLiteral("plus"), AppPalette::primaryText(), 14), title, parent);
    button->setIconSize(QSize(14, 14));
    button->setFont(TextStyles::font(TextStyle::Callout));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    ControlStyles::makeBordered(button, ControlStyles::ControlSize::Small);
    return button;
}

// A heading, the list its rows go into and the small button that adds a row.
QVBoxLayout *listBlock(QVBoxLayout *into, const QString &heading, const QString &addTitle, QWidget *parent,
                       QPushButton *&addButton)
{
    into->addWidget(PlanEditorStyle::label(heading, TextStyle::Caption, parent, AppPalette::secondaryText(),
                                           QFont::DemiBold));
    auto *rows = new QVBoxLayout;
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(10);
    into->addLayout(rows);
    addButton = smallAddButton(addTitle, parent);
    into->addWidget(addButton, 0, Qt::AlignLeft);
    return rows;
}

// Rows that remove themselves are deleted later: the click that removed them is still running.
void retire(QWidget *row)
{
    row->hide();
    row->setParent(nullptr);
    row->deleteLater();
}

} // namespace

LaunchOptionsSection::LaunchOptionsSection(PlanEditorModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("launchOptionsSection"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_flagsArea = new QWidget(this);
    m_flagsArea->setObjectName(QStringLiteral("flagsArea"));
    m_flagsLayout = new QVBoxLayout(m_flagsArea);
    m_flagsLayout->setContentsMargins(0, 0, 0, 0);
    m_flagsLayout->setSpacing(8);
    m_flagsLayout->addWidget(PlanEditorStyle::caption(
        QStringLiteral("Von der App unterstützte Flags, werden beim Start gesetzt (Lauf und Recorder)."), m_flagsArea));
    layout->addWidget(m_flagsArea);

    m_disclosureGap = new QWidget(this);
    m_disclosureGap->setFixedHeight(6);
    layout->addWidget(m_disclosureGap);

    m_disclosure = new DisclosureHeader(QStringLiteral("terminal"), QStringLiteral("Eigene Variablen & Argumente"),
                                        TextStyle::Subheadline, QFont::Medium, this);
    m_disclosure->setObjectName(QStringLiteral("advancedLaunchDisclosure"));
    layout->addWidget(m_disclosure);
    connect(m_disclosure, &DisclosureHeader::clicked, m_model, &PlanEditorModel::setShowAdvancedLaunch);

    m_advanced = new QWidget(this);
    m_advanced->setObjectName(QStringLiteral("advancedLaunchArea"));
    auto *advanced = new QVBoxLayout(m_advanced);
    advanced->setContentsMargins(0, 6, 0, 0);
    advanced->setSpacing(10);
    advanced->addWidget(PlanEditorStyle::caption(
        QStringLiteral("Variablen liest die App über ProcessInfo (z. B. PREMIUM = 1), Argumente über CommandLine "
                       "(z. B. -isAdFreeActive true)."),
        m_advanced));
    QPushButton *addVariable = nullptr;
    m_variablesLayout = listBlock(advanced, QStringLiteral("Variablen"), QStringLiteral("Variable"), m_advanced,
                                  addVariable);
    addVariable->setObjectName(QStringLiteral("addVariableButton"));
    advanced->addSpacing(4);
    QPushButton *addArgument = nullptr;
    m_argumentsLayout = listBlock(advanced, QStringLiteral("Argumente"), QStringLiteral("Argument"), m_advanced,
                                  addArgument);
    addArgument->setObjectName(QStringLiteral("addArgumentButton"));
    layout->addWidget(m_advanced);

    connect(addVariable, &QPushButton::clicked, m_model, &PlanEditorModel::addVariable);
    connect(addArgument, &QPushButton::clicked, m_model, &PlanEditorModel::addArgument);
    connect(m_model, &PlanEditorModel::planChanged, this, &LaunchOptionsSection::syncPlan);
    connect(m_model, &PlanEditorModel::stateChanged, this, &LaunchOptionsSection::syncState);

    syncState();
    syncPlan();
}

void LaunchOptionsSection::syncState()
{
    syncFlags();
    m_disclosure->setExpanded(m_model->showAdvancedLaunch());
    m_advanced->setVisible(m_model->showAdvancedLaunch());
}

void LaunchOptionsSection::syncFlags()
{
    const QList<LaunchFlag> flags = m_model->availableFlags();
    if (flags != m_shownFlags) {
        // The manifest only changes on load; rows are rebuilt then, never while typing.
        for (FlagRow *row : std::as_const(m_flagRows))
            retire(row);
        m_flagRows.clear();
        for (const LaunchFlag &flag : flags) {
            auto *row = new FlagRow(flag, m_model->flagBinding(flag.arg), m_flagsArea);
            m_flagsLayout->addWidget(row);
            m_flagRows.append(row);
        }
        m_shownFlags = flags;
    }
    m_flagsArea->setVisible(!flags.isEmpty());
    m_disclosureGap->setVisible(!flags.isEmpty());
}

void LaunchOptionsSection::syncPlan()
{
    for (FlagRow *row : std::as_const(m_flagRows))
        row->refresh();
    syncVariables();
    syncArguments();
}

void LaunchOptionsSection::syncVariables()
{
    const QList<LaunchVariable> &variables = m_model->plan().launchVariables;

    QHash<QUuid, LaunchVariableRow *> byID;
    for (LaunchVariableRow *row : std::as_const(m_variableRows))
        byID.insert(row->variableID(), row);

    QList<LaunchVariableRow *> rows;
    rows.reserve(variables.size());
    for (const LaunchVariable &variable : variables) {
        LaunchVariableRow *row = byID.take(variable.id);
        if (row)
            row->setVariable(variable);
        else
            row = new LaunchVariableRow(m_model, variable, m_advanced);
        rows.append(row);
    }
    for (LaunchVariableRow *row : std::as_const(byID))
        retire(row);

    // Fix the order only when it changed.
    if (rows != m_variableRows) {
        for (int i = 0; i < rows.size(); ++i) {
            if (m_variablesLayout->indexOf(rows.at(i)) != i) {
                m_variablesLayout->removeWidget(rows.at(i));
                m_variablesLayout->insertWidget(i, rows.at(i));
            }
            rows.at(i)->show();
        }
        m_variableRows = rows;
    }
}

void LaunchOptionsSection::syncArguments()
{
    const QStringList &arguments = m_model->plan().launchArguments;
    while (m_argumentRows.size() > arguments.size())
        retire(m_argumentRows.takeLast());
    while (m_argumentRows.size() < arguments.size()) {
        auto *row = new LaunchArgumentRow(m_model, int(m_argumentRows.size()), m_advanced);
        m_argumentsLayout->addWidget(row);
        m_argumentRows.append(row);
    }
    for (int i = 0; i < arguments.size(); ++i)
        m_argumentRows.at(i)->setText(arguments.at(i));
}
