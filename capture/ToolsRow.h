#pragma once

#include <QWidget>

class IconActionButton;
class PlanEditorModel;

// The simulator tools: "Inspector" opens the Accessibility Inspector, "Standort" opens the
// plan-wide location sheet.
class ToolsRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToolsRow)

public:
    explicit ToolsRow(PlanEditorModel *model, QWidget *parent = nullptr);

    IconActionButton *inspectorButton() const { return m_inspector; }
    IconActionButton *locationButton() const { return m_location; }

private:
    IconActionButton *m_inspector = nullptr;
    IconActionButton *m_location = nullptr;
};
