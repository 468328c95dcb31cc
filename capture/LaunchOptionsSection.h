#pragma once

#include <LaunchFlag.h>

#include <QHash>
#include <QList>
#include <QUuid>
#include <QWidget>

class DisclosureHeader;
class FlagRow;
class LaunchArgumentRow;
class LaunchVariableRow;
class PlanEditorModel;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The launch-options card's content: the app's flags and, behind a disclosure, the plan's own
// launch variables and arguments. Rows are reconciled in place: variables by id, arguments
// by index, flags by their arg.
class LaunchOptionsSection final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaunchOptionsSection)

public:
    explicit LaunchOptionsSection(PlanEditorModel *model, QWidget *parent = nullptr);

    DisclosureHeader *disclosure() const { return m_disclosure; }
    QWidget *advancedArea() const { return m_advanced; }
    QList<FlagRow *> flagRows() const { return m_flagRows; }
    QList<LaunchVariableRow *> variableRows() const { return m_variableRows; }
    QList<LaunchArgumentRow *> argumentRows() const { return m_argumentRows; }

private:
    void syncFlags();
    void syncState();
    void syncPlan();
    void syncVariables();
    void syncArguments();

    PlanEditorModel *m_model = nullptr;
    QWidget *m_flagsArea = nullptr;
    QVBoxLayout *m_flagsLayout = nullptr;
    QList<LaunchFlag> m_shownFlags;
    QList<FlagRow *> m_flagRows;
    QWidget *m_disclosureGap = nullptr;
    DisclosureHeader *m_disclosure = nullptr;
    QWidget *m_advanced = nullptr;
    QVBoxLayout *m_variablesLayout = nullptr;
    QList<LaunchVariableRow *> m_variableRows;
    QVBoxLayout *m_argumentsLayout = nullptr;
    QList<LaunchArgumentRow *> m_argumentRows;
};
