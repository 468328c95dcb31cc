#pragma once

#include <XcodeProject.h>

#include <QPointer>
#include <QWidget>

class DisclosureHeader;
class GlassCard;
class LanesSection;
class LanguagesSection;
class LaunchOptionsSection;
class PlaceholderPane;
class PlanEditorModel;
class QLabel;
class QScrollArea;
class QStackedLayout;
class QVariantAnimation;
class RunBlock;
class SaveErrorBar;
class SimulatorLocationSheet;
class ToolsRow;

// The screenshot-automation page of one project: settings (languages, launch options, tools),
// the lanes, the run block and the note and error lines; a failure, and a version of the plan
// file kept aside, stay pinned above the scrolling page. Without a fastlane folder it shows
// only a placeholder. It loads the plan when first shown and again when the project's folder
// changes; every edit goes through its model, which saves at once.
class ShotPlanEditorView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShotPlanEditorView)

public:
    explicit ShotPlanEditorView(const XcodeProject &project, QWidget *parent = nullptr);
    ~ShotPlanEditorView() override;

    // The same page for another project: the view state stays, the plan is loaded again
    // when the project's folder changed.
    void setProject(const XcodeProject &project);
    PlanEditorModel *model() const { return m_model; }
    // Before the program quits: a last try to save; when that fails, asks whether to quit
    // anyway. False when the user chose to go back.
    bool confirmQuit();

    bool showsPlaceholder() const;
    QScrollArea *scrollArea() const { return m_scroll; }
    // The failure pinned above the scroll area while a save or export has failed.
    SaveErrorBar *saveErrorBar() const { return m_errorBar; }
    // Pinned there too while a version of the plan file kept aside is to be told.
    SaveErrorBar *keptNoticeBar() const { return m_noticeBar; }
    QWidget *column() const { return m_column; }
    LanesSection *lanesSection() const { return m_lanes; }
    SimulatorLocationSheet *locationSheet() const;

protected:
    void showEvent(QShowEvent *event) override;
    // The page goes out of view (another tab or page, the window closes): a last try to save.
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *buildEditorPage();
    void loadIfNeeded();
    void syncProject();
    void syncState();
    void syncNote();
    // Opens and closes the sheets bound to the model's flags. The run and recorder sheets
    // are presented here as well once they exist.
    void presentSheets();

    PlanEditorModel *m_model = nullptr;
    QStackedLayout *m_stack = nullptr;
    PlaceholderPane *m_placeholder = nullptr;
    QWidget *m_editorPage = nullptr;
    QWidget *m_errorPin = nullptr;
    SaveErrorBar *m_errorBar = nullptr;
    SaveErrorBar *m_noticeBar = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_column = nullptr;
    DisclosureHeader *m_settingsHeader = nullptr;
    QWidget *m_settingsContent = nullptr;
    LanguagesSection *m_languages = nullptr;
    LaunchOptionsSection *m_launchOptions = nullptr;
    ToolsRow *m_tools = nullptr;
    LanesSection *m_lanes = nullptr;
    RunBlock *m_runBlock = nullptr;
    QWidget *m_noteLine = nullptr;
    QLabel *m_noteText = nullptr;
    QVariantAnimation *m_noteFade = nullptr;
    bool m_noteShown = false;
    QWidget *m_errorLine = nullptr;
    QLabel *m_errorText = nullptr;
    QPointer<SimulatorLocationSheet> m_locationSheet;
};
