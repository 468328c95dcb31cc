#pragma once

#include <QString>

#include <optional>

class PlanEditorModel;

// What the program asks before it quits while the plan could not be saved, and what each
// answer does. No widgets: a dialog shows it and hands back the answer.
class QuitConfirmation final
{
public:
    enum class Answer { Back, QuitWithoutSaving };

    // Makes the last try to save the plan; the question to ask when that failed too, none when
    // quitting loses nothing.
    static std::optional<QuitConfirmation> beforeQuit(PlanEditorModel &model);

    // `reason`: why the plan could not be saved, as the system or the store words it.
    explicit QuitConfirmation(const QString &reason);

    QString title() const;
    QString text() const;
    // The default answer, also given by Escape: nothing is lost by it.
    QString backLabel() const;
    QString quitLabel() const;
    // Whether the program goes on quitting after this answer.
    static bool quits(Answer answer);

private:
    QString m_reason;
};
