#pragma once

#include <QWidget>

class PlanEditorModel;
class QAction;
class QComboBox;
class QPushButton;
class QToolButton;

// Under the lanes: "Alle starten", the build picker, the export menu and two lines that say
// where the pictures go and that the plan saves itself (the latter hidden while a save failed).
class RunBlock final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RunBlock)

public:
    explicit RunBlock(PlanEditorModel *model, QWidget *parent = nullptr);

    QPushButton *startAllButton() const { return m_startAll; }
    QComboBox *buildPicker() const { return m_build; }
    QToolButton *exportButton() const { return m_export; }
    QAction *exportAction() const { return m_exportAction; }

private:
    void refresh();

    PlanEditorModel *m_model = nullptr;
    QPushButton *m_startAll = nullptr;
    QComboBox *m_build = nullptr;
    QToolButton *m_export = nullptr;
    QAction *m_exportAction = nullptr;
    QWidget *m_savedLine = nullptr;
};
