#pragma once

#include <SettingsStore.h>
#include <XcodeProject.h>

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// The observable application state all views share. One per process, on the GUI thread.
class AppModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppModel)

public:
    enum class Section { Projects, Settings };
    Q_ENUM(Section)

    explicit AppModel(bool demoMode = false, QObject *parent = nullptr);
    ~AppModel() override;

    // The application's one settings store, created with the model and never replaced.
    SettingsStore *settings() const { return m_settings; }

    bool showOnboarding() const { return m_showOnboarding; }
    // Setting true always notifies, in demo mode too: the demo only never greets at start-up.
    void setShowOnboarding(bool show);
    // The end of onboarding: records it in the settings (not in demo mode, whose settings
    // are the real ones), closes the sheet and refreshes.
    void completeOnboarding();

    Section section() const { return m_section; }
    void setSection(Section section);

    const QList<XcodeProject> &projects() const { return m_projects; }
    std::optional<QString> selectedProjectID() const { return m_selectedProjectID; }
    void setSelectedProjectID(const std::optional<QString> &id);
    const XcodeProject *selectedProject() const;

    bool isScanning() const { return m_isScanning; }
    bool isDemo() const { return m_isDemo; }
    // The folder that is scanned: the demo workspace in demo mode, else the projects root ("~" expanded).
    QString projectsRoot() const;
    // The same folder as the user reads it: "~" for the home folder.
    QString projectsRootText() const;
    // The folder chosen to be scanned, scanned at once when it differs from the current one.
    // Stored in the settings with "~" for the home folder; in demo mode it replaces the demo
    // workspace for this session only and leaves the settings alone.
    void chooseProjectsRoot(const QString &folder);
    // "/home/me/Apps" → "~/Apps"; a folder outside the home folder stays as it is.
    static QString homeRelative(const QString &folder);

    // Scans the projects folder off the GUI thread and applies the result on it.
    void refresh();

Q_SIGNALS:
    void showOnboardingChanged(bool show);
    void sectionChanged(AppModel::Section section);
    void projectsChanged();
    void selectionChanged();
    void scanningChanged(bool scanning);
    void projectsRootChanged();

private:
    void applyProjects(const QList<XcodeProject> &projects);
    void setScanning(bool scanning);

    SettingsStore *m_settings = nullptr;
    bool m_showOnboarding = false;
    Section m_section = Section::Projects;
    QList<XcodeProject> m_projects;
    std::optional<QString> m_selectedProjectID;
    bool m_isScanning = false;
    bool m_isDemo = false;
    QString m_demoRoot;
    int m_scanGeneration = 0;
};
