#pragma once

#include <XcodeProject.h>

#include <QWidget>

class QLabel;
class QStackedWidget;
class QTabWidget;

// The selected project: a header with its name and bundle identifier over its tabs. Only
// the tab "Aufnahme" (the screenshot plan editor) exists so far.
class ProjectDetailView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProjectDetailView)

public:
    explicit ProjectDetailView(QWidget *parent = nullptr);

    // Shows the project, updating the header and the tabs in place.
    void setProject(const XcodeProject &project);
    const XcodeProject &project() const { return m_project; }

    QTabWidget *tabs() const { return m_tabs; }
    // Before the program quits: false when a page holds work that could not be saved and the
    // user chose to go back.
    bool confirmQuit();
    QWidget *captureTab() const { return m_capture; }

private:
    QWidget *makeCapturePage();
    void updateCapturePage();

    XcodeProject m_project;
    QLabel *m_name = nullptr;
    QLabel *m_bundleIdentifier = nullptr;
    QTabWidget *m_tabs = nullptr;
    QWidget *m_capture = nullptr;
    QWidget *m_captureContent = nullptr;
};
