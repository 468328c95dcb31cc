#pragma once

#include <QMainWindow>
#include <QPointer>

class AppModel;
class OnboardingSheet;
class PlaceholderPane;
class ProjectDetailView;
class ProjectSidebar;
class QAction;
class QStackedWidget;

// The main window ("main"): the project sidebar beside the selected project or the
// settings section, the menu commands, and the onboarding sheet while the model asks for it.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(AppModel *model, QWidget *parent = nullptr);

    AppModel *model() const { return m_model; }
    ProjectSidebar *sidebar() const { return m_sidebar; }
    ProjectDetailView *projectDetail() const { return m_detail; }
    OnboardingSheet *onboardingSheet() const;
    QAction *refreshAction() const { return m_refreshAction; }
    QAction *aboutAction() const { return m_aboutAction; }
    // The page on the right: the project, the settings, or the note that nothing is selected.
    QWidget *currentPage() const;

protected:
    void showEvent(QShowEvent *event) override;
    // The plan editor closes with the window (and the program quits with it): the window
    // stays open when the plan could not be saved and the user goes back.
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    QWidget *makeSettingsPage();
    void syncPage();
    void syncOnboarding();

    AppModel *m_model = nullptr;
    ProjectSidebar *m_sidebar = nullptr;
    QStackedWidget *m_pages = nullptr;
    PlaceholderPane *m_noProject = nullptr;
    ProjectDetailView *m_detail = nullptr;
    QWidget *m_settings = nullptr;
    QPointer<OnboardingSheet> m_onboarding;
    QAction *m_refreshAction = nullptr;
    QAction *m_aboutAction = nullptr;
    bool m_started = false;
};
