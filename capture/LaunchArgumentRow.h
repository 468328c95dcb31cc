#pragma once

#include <QWidget>

class PlanEditorModel;
class QLineEdit;
class QToolButton;

// One launch-argument line and its remove button. Keyed by its index in the plan's list.
class LaunchArgumentRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaunchArgumentRow)

public:
    LaunchArgumentRow(PlanEditorModel *model, int index, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QLineEdit *field() const { return m_field; }
    QToolButton *removeButton() const { return m_remove; }

    // Shows the line; the field only gets new text when its text differs.
    void setText(const QString &text);

private:
    PlanEditorModel *m_model = nullptr;
    int m_index = 0;
    QLineEdit *m_field = nullptr;
    QToolButton *m_remove = nullptr;
};
