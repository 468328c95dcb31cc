#pragma once

#include <ScreenshotPlan.h>

#include <QUuid>
#include <QWidget>

class PlanEditorModel;
class QLineEdit;
class QToolButton;

// One launch variable: "Name" = "Wert" and a remove button. Keyed by the variable's id.
class LaunchVariableRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaunchVariableRow)

public:
    LaunchVariableRow(PlanEditorModel *model, const LaunchVariable &variable, QWidget *parent = nullptr);

    QUuid variableID() const { return m_id; }
    QLineEdit *keyField() const { return m_key; }
    QLineEdit *valueField() const { return m_value; }
    QToolButton *removeButton() const { return m_remove; }

    // Shows the variable; a field only gets new text when its text differs.
    void setVariable(const LaunchVariable &variable);

private:
    PlanEditorModel *m_model = nullptr;
    QUuid m_id;
    QLineEdit *m_key = nullptr;
    QLineEdit *m_value = nullptr;
    QToolButton *m_remove = nullptr;
};
