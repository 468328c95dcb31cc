#include "AppModel.h"

#include "DemoWorkspace.h"
#include "ProjectScanner.h"

#include <QDir>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

AppModel::AppModel(bool demoMode, QObject *parent)
    : QObject(parent)
    , m_settings(new SettingsStore(nullptr, this))
    , m_isDemo(demoMode)
{
    if (m_isDemo) {
        // The demo never greets: it stands for a set-up machine. Its list stays empty until
        // the first refresh.
        m_demoRoot = DemoWorkspace::defaultFolder();
        DemoWorkspace::prepare(m_demoRoot);
        m_showOnboarding = false;
    } else {
        m_showOnboarding = !m_settings->onboardingCompleted();
        connect(m_settings, &SettingsStore::projectsRootChanged, this, &AppModel::projectsRootChanged);
    }
}

AppModel::~AppModel() = default;

void AppModel::setShowOnboarding(bool show)
{
    // Asking for the sheet again always notifies, so a sheet closed by other means reappears.
    if (m_showOnboarding == show && !show)
        return;
    m_showOnboarding = show;
    Q_EMIT showOnboardingChanged(show);
}

void AppModel::completeOnboarding()
{
    if (!m_isDemo)
        m_settings->setOnboardingCompleted(true);
    setShowOnboarding(false);
    refresh();
}

void AppModel::setSection(Section section)
{
    if (m_section == section)
        return;
    m_section = section;
    Q_EMIT sectionChanged(section);
}

void AppModel::setSelectedProjectID(const std::optional<QString> &id)
{
    if (m_selectedProjectID == id)
        return;
    m_selectedProjectID = id;
    Q_EMIT selectionChanged();
}

const XcodeProject *AppModel::selectedProject() const
{
    if (!m_selectedProjectID)
        return nullptr;
    for (const XcodeProject &project : m_projects) {
        if (project.id == *m_selectedProjectID)
            return &project;
    }
    return nullptr;
}

QString AppModel::projectsRoot() const
{
    if (m_isDemo)
        return m_demoRoot;
    return ProjectScanner::expandTilde(m_settings->projectsRoot());
}

QString AppModel::projectsRootText() const
{
    return m_isDemo ? homeRelative(m_demoRoot) : m_settings->projectsRoot();
}

void AppModel::chooseProjectsRoot(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QString chosen = QDir::cleanPath(ProjectScanner::expandTilde(folder));
    const QString before = projectsRoot();
    if (m_isDemo) {
        if (m_demoRoot == chosen)
            return;
        m_demoRoot = chosen;
        Q_EMIT projectsRootChanged();
    } else {
        // The store notifies only on a real change; the model passes that on.
        m_settings->setProjectsRoot(homeRelative(chosen));
    }
    // Scanned at once: the list must not go on showing the old folder's projects beside the
    // new folder, whichever way the chooser's sheet is closed afterwards.
    if (projectsRoot() != before)
        refresh();
}

QString AppModel::homeRelative(const QString &folder)
{
    const QString home = QDir::cleanPath(QDir::homePath());
    const QString path = QDir::cleanPath(folder);
    if (home.isEmpty() || home == QLatin1String("/"))
        return path;
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/')))
        return QStringLiteral("~") + path.mid(home.size());
    return path;
}

void AppModel::refresh()
{
    const int generation = ++m_scanGeneration;
    setScanning(true);
    const QString root = projectsRoot();
    // The watcher belongs to the model: a scan that ends after the model is gone reports to
    // no one, and the result always arrives on the GUI thread.
    auto *watcher = new QFutureWatcher<QList<XcodeProject>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        // A newer refresh started meanwhile: its result is the one to show.
        if (generation != m_scanGeneration)
            return;
        applyProjects(watcher->result());
        setScanning(false);
    });
    watcher->setFuture(QtConcurrent::run([root] { return ProjectScanner::scan(root); }));
}

void AppModel::applyProjects(const QList<XcodeProject> &projects)
{
    if (m_projects != projects) {
        m_projects = projects;
        Q_EMIT projectsChanged();
    }
    // Keep the selection while its project is still there; otherwise take the first one.
    if (!selectedProject())
        setSelectedProjectID(m_projects.isEmpty() ? std::nullopt : std::optional<QString>(m_projects.first().id));
}

void AppModel::setScanning(bool scanning)
{
    if (m_isScanning == scanning)
        return;
    m_isScanning = scanning;
    Q_EMIT scanningChanged(scanning);
}
