#pragma once

#include <QStringList>
#include <QWidget>

class PlanEditorModel;
class QMenu;
class QToolButton;

// The languages card's content: a caption and a pull-down menu with one check item per
// language. The menu is filled when it opens, from the plan as it is then.
class LanguagesSection final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LanguagesSection)

public:
    explicit LanguagesSection(PlanEditorModel *model, QWidget *parent = nullptr);

    QToolButton *menuButton() const { return m_button; }
    QMenu *menu() const { return m_menu; }
    // The whole summary; the button shows it elided.
    QString summary() const { return m_summary; }
    // Fills the menu as it is about to be shown (also used by tests).
    void rebuildMenu();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateSummary();
    void applyElidedText();

    PlanEditorModel *m_model = nullptr;
    QToolButton *m_button = nullptr;
    QMenu *m_menu = nullptr;
    QStringList m_summaryLanguages;
    QString m_summary;
    bool m_summaryValid = false;
};
