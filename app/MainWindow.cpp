#include "MainWindow.h"

#include "OnboardingSheet.h"
#include "ProjectDetailView.h"
#include "ProjectSidebar.h"

#include <AppModel.h>
#include <AppPalette.h>
#include <PlaceholderPane.h>
#include <WindowRegistry.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>

#if __has_include(<SettingsView.h>)
#include <SettingsView.h>
#define VELORANCE_HAS_SETTINGS_VIEW 1
#endif

MainWindow::MainWindow(AppModel *model, QWidget *parent)
    : QMainWindow(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Velorance Studio"));
    setMinimumSize(900, 600);
    resize(1180, 760);

    m_sidebar = new ProjectSidebar(m_model, this);

    m_noProject = new PlaceholderPane(QStringLiteral("app.badge"), QStringLiteral("Kein Projekt ausgewählt"),
                                      {QStringLiteral("Wähle links ein Projekt aus.")}, this);
    m_noProject->setObjectName(QStringLiteral("noProjectPane"));
    m_detail = new ProjectDetailView(this);
    m_settings = makeSettingsPage();

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("detailPages"));
    m_pages->addWidget(m_noProject);
    m_pages->addWidget(m_detail);
    m_pages->addWidget(m_settings);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("rootSplit"));
    split->setHandleWidth(1);
    split->setChildrenCollapsible(false);
    split->addWidget(m_sidebar);
    split->addWidget(m_pages);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({250, 930});
    setCentralWidget(split);

    buildMenus();

    connect(m_model, &AppModel::sectionChanged, this, &MainWindow::syncPage);
    connect(m_model, &AppModel::selectionChanged, this, &MainWindow::syncPage);
    connect(m_model, &AppModel::projectsChanged, this, &MainWindow::syncPage);
    connect(m_model, &AppModel::showOnboardingChanged, this, &MainWindow::syncOnboarding);
    syncPage();
}

OnboardingSheet *MainWindow::onboardingSheet() const
{
    return m_onboarding;
}

QWidget *MainWindow::currentPage() const
{
    return m_pages->currentWidget();
}

void MainWindow::buildMenus()
{
    QMenu *appMenu = menuBar()->addMenu(QStringLiteral("Velorance Studio"));
    m_aboutAction = appMenu->addAction(QStringLiteral("Über Velorance Studio"));
    m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
    m_aboutAction->setMenuRole(QAction::AboutRole);
    connect(m_aboutAction, &QAction::triggered, this, [] { WindowRegistry::instance().open(QStringLiteral("about")); });
    appMenu->addSeparator();
    QAction *quit = appMenu->addAction(QStringLiteral("Velorance Studio beenden"));
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QApplication::closeAllWindows);

    QMenu *projectsMenu = menuBar()->addMenu(QStringLiteral("Projekte"));
    m_refreshAction = projectsMenu->addAction(QStringLiteral("Projekte aktualisieren"));
    m_refreshAction->setObjectName(QStringLiteral("refreshAction"));
    m_refreshAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(m_refreshAction, &QAction::triggered, m_model, &AppModel::refresh);
}

QWidget *MainWindow::makeSettingsPage()
{
#ifdef VELORANCE_HAS_SETTINGS_VIEW
    auto *page = new SettingsView(m_model, this);
#else
    auto *page = new PlaceholderPane(QStringLiteral("gearshape"), QStringLiteral("Einstellungen"),
                                     {QStringLiteral("Die Einstellungen folgen hier.")}, this);
#endif
    page->setObjectName(QStringLiteral("settingsPage"));
    return page;
}

void MainWindow::syncPage()
{
    if (m_model->section() == AppModel::Section::Settings) {
        m_pages->setCurrentWidget(m_settings);
        return;
    }
    if (const XcodeProject *project = m_model->selectedProject()) {
        m_detail->setProject(*project);
        m_pages->setCurrentWidget(m_detail);
        return;
    }
    const bool none = m_model->projects().isEmpty();
    m_noProject->setTitle(none ? QStringLiteral("Keine Projekte gefunden") : QStringLiteral("Kein Projekt ausgewählt"));
    m_noProject->setLines(none ? QStringList{QStringLiteral("Im Projektordner %1 liegt kein Xcode-Projekt.").arg(m_model->projectsRoot())}
                               : QStringList{QStringLiteral("Wähle links ein Projekt aus.")});
    m_pages->setCurrentWidget(m_noProject);
}

void MainWindow::syncOnboarding()
{
    if (m_model->showOnboarding()) {
        if (!m_onboarding)
            m_onboarding = new OnboardingSheet(m_model, this);
        if (!m_onboarding->isVisible())
            m_onboarding->open();
    } else if (m_onboarding && m_onboarding->isVisible()) {
        m_onboarding->accept();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_detail->confirmQuit()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    // The start-up task: scan once the window is up, and greet when the model asks for it.
    QTimer::singleShot(0, this, [this] {
        m_model->refresh();
        syncOnboarding();
    });
}
