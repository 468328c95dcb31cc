#pragma once

#include <Binding.h>
#include <ShotStep.h>

#include <QPoint>
#include <QWidget>

#include <functional>

class InsertWaitButton;
class QMimeData;
class QToolButton;
class StepKindEditor;

// The shot card's row of one step: drag handle, kind icon, the kind's editor, the
// insert-wait menu and a delete button. The whole row is a drag source (its item's
// canonical identifier as plain text) and a drop target for plain text.
class StepRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepRow)

public:
    StepRow(Binding<ShotStep> step, const QString &dragID, QWidget *parent = nullptr);

    QString dragID() const { return m_dragID; }

    void setOnInsertWaitBefore(std::function<void()> action);
    void setOnInsertWaitAfter(std::function<void()> action);
    void setOnDelete(std::function<void()> action) { m_onDelete = std::move(action); }
    void setOnDrop(std::function<void(const QString &)> action) { m_onDrop = std::move(action); }

    // Shows `step` in place (fields keep focus and caret).
    void showStep(const ShotStep &step);

    StepKindEditor *editor() const { return m_editor; }
    // The kind's symbol as drawn beside the editor.
    QString kindSymbol() const { return m_kindSymbol; }

    // The plain-text items a drop carries: the text's non-empty lines.
    static QStringList dropItems(const QMimeData *data);
    // The drag payload and its preview: the kind icon and the step's summary on a rounded
    // material.
    QMimeData *makeDragData() const;
    QPixmap dragPreview() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Binding<ShotStep> m_step;
    QString m_dragID;
    std::function<void()> m_onDelete;
    std::function<void(const QString &)> m_onDrop;
    QString m_kindSymbol;
    StepKindEditor *m_editor = nullptr;
    InsertWaitButton *m_insertWait = nullptr;
    QToolButton *m_delete = nullptr;
    QPoint m_pressPosition;
    bool m_pressed = false;
};
