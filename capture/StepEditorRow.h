#pragma once

#include <Binding.h>
#include <ShotStep.h>

#include <QWidget>

#include <functional>

class InsertWaitButton;
class QLabel;
class StepKindEditor;
class SymbolLabel;

// The recorder's row of one step: drag handle, kind icon, the kind's title over its editor,
// and the insert-wait menu. Reordering and deleting belong to the recorder's list.
class StepEditorRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepEditorRow)

public:
    explicit StepEditorRow(Binding<ShotStep> step, QWidget *parent = nullptr);

    void setOnInsertWaitBefore(std::function<void()> action);
    void setOnInsertWaitAfter(std::function<void()> action);

    // Shows `step` in place (fields keep focus and caret).
    void showStep(const ShotStep &step);

    StepKindEditor *editor() const { return m_editor; }
    InsertWaitButton *insertWaitButton() const { return m_insertWait; }

private:
    Binding<ShotStep> m_step;
    SymbolLabel *m_kindIcon = nullptr;
    QLabel *m_title = nullptr;
    StepKindEditor *m_editor = nullptr;
    InsertWaitButton *m_insertWait = nullptr;
};
