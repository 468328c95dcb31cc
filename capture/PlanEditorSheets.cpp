#include "PlanEditorSheets.h"

#include "AutomationRunView.h"
#include "PlanEditorModel.h"
#include "RecorderView.h"
#include "SimulatorLocationSheet.h" // RecorderView.h keeps a QPointer to it

#include <ScreenshotRunSession.h>

#include <QWidget>

PlanEditorSheets::PlanEditorSheets(PlanEditorModel *model, QWidget *presenter)
    : QObject(presenter)
    , m_model(model)
    , m_presenter(presenter)
{
    setObjectName(QStringLiteral("planEditorSheets"));
}

PlanEditorSheets::~PlanEditorSheets()
{
    // The sheets end their run and listener with the page.
    delete m_runSheet.data();
    delete m_recorderSheet.data();
}

PlanEditorSheets *PlanEditorSheets::of(QWidget *presenter, PlanEditorModel *model)
{
    if (auto *existing = presenter->findChild<PlanEditorSheets *>(QStringLiteral("planEditorSheets"),
                                                                  Qt::FindDirectChildrenOnly))
        return existing;
    return new PlanEditorSheets(model, presenter);
}

AutomationRunView *PlanEditorSheets::runSheet() const
{
    return m_runSheet.data();
}

RecorderView *PlanEditorSheets::recorderSheet() const
{
    return m_recorderSheet.data();
}

void PlanEditorSheets::present()
{
    if (!m_model)
        return;
    if (m_model->showRun() && !m_runSheet)
        openRunSheet();
    else if (!m_model->showRun() && m_runSheet)
        m_runSheet->close();

    if (m_model->showRecorder() && !m_recorderSheet)
        openRecorderSheet();
    else if (!m_model->showRecorder() && m_recorderSheet)
        m_recorderSheet->close();
}

void PlanEditorSheets::openRunSheet()
{
    // One new session per opening, for the plan as it is in memory now.
    auto *session = new ScreenshotRunSession(m_model->project(), m_model->planForRun(), m_model->buildConfig());
    auto *sheet = new AutomationRunView(session, m_presenter);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    m_runSheet = sheet;
    connect(sheet, &QDialog::finished, this, [this, sheet] {
        if (m_runSheet == sheet)
            m_runSheet.clear();
        if (m_model)
            m_model->setShowRun(false);
    });
    sheet->open();
}

void PlanEditorSheets::openRecorderSheet()
{
    const ScreenshotPlan &plan = m_model->plan();
    QPointer<PlanEditorModel> model = m_model;
    auto *sheet = new RecorderView(m_model->project(), m_model->buildConfig(), plan.launchEnvironment(),
                                   plan.resolvedLaunchArguments(), plan.location,
                                   [model](const Shot &shot) {
                                       if (model)
                                           model->addRecordedShot(shot);
                                   },
                                   m_presenter);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    m_recorderSheet = sheet;
    connect(sheet, &QDialog::finished, this, [this, sheet] {
        if (m_recorderSheet == sheet)
            m_recorderSheet.clear();
        if (m_model)
            m_model->setShowRecorder(false);
    });
    sheet->open();
}
