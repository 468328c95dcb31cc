#pragma once

#include <QObject>
#include <QPointer>

class AutomationRunView;
class PlanEditorModel;
class RecorderView;
class QWidget;

// Presents the plan editor's run and recorder sheets as the model's flags ask: a new run
// session for every opening of the run sheet, the plan's launch values for the recorder,
// and the flags set back when a sheet closes. Lives as a child of the presenting page.
class PlanEditorSheets final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlanEditorSheets)

public:
    PlanEditorSheets(PlanEditorModel *model, QWidget *presenter);
    ~PlanEditorSheets() override;

    // The presenter's helper, made on first use.
    static PlanEditorSheets *of(QWidget *presenter, PlanEditorModel *model);

    // Opens or closes the sheets to match showRun and showRecorder.
    void present();

    AutomationRunView *runSheet() const;
    RecorderView *recorderSheet() const;

private:
    void openRunSheet();
    void openRecorderSheet();

    QPointer<PlanEditorModel> m_model;
    QWidget *m_presenter = nullptr;
    QPointer<AutomationRunView> m_runSheet;
    QPointer<RecorderView> m_recorderSheet;
};
