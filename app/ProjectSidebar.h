#pragma once

#include <QWidget>

class AppModel;
class QLabel;
class QListWidget;
class QToolButton;
class SidebarEntry;

// The source list on the left of the main window: the projects, a refresh button and the
// "Einstellungen" entry at the bottom. Reads the model and writes the section and selection.
class ProjectSidebar final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProjectSidebar)

public:
    explicit ProjectSidebar(AppModel *model, QWidget *parent = nullptr);

    QListWidget *projectList() const { return m_list; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void syncProjects();
    void syncSelection();
    void syncScanning();

    AppModel *m_model = nullptr;
    QListWidget *m_list = nullptr;
    QToolButton *m_refresh = nullptr;
    QLabel *m_emptyHint = nullptr;
    SidebarEntry *m_settingsEntry = nullptr;
    bool m_syncing = false;
};
