#include "QuitConfirmation.h"

#include "PlanEditorModel.h"

std::optional<QuitConfirmation> QuitConfirmation::beforeQuit(PlanEditorModel &model)
{
    const Status saved = model.saveNow();
    if (saved)
        return std::nullopt;
    return QuitConfirmation(saved.error());
}

QuitConfirmation::QuitConfirmation(const QString &reason)
    : m_reason(reason.trimmed())
{
    // The sentence goes on after the reason: a reason that ends one already takes no second stop.
    while (m_reason.endsWith(QLatin1Char('.')))
        m_reason.chop(1);
}

QString QuitConfirmation::title() const
{
    return QStringLiteral("Plan nicht gespeichert");
}

QString QuitConfirmation::text() const
{
    return QStringLiteral("Der Plan konnte nicht gespeichert werden: %1. "
                          "Wenn du jetzt beendest, gehen deine letzten Änderungen verloren.")
        .arg(m_reason);
}

QString QuitConfirmation::backLabel() const
{
    return QStringLiteral("Zurück");
}

QString QuitConfirmation::quitLabel() const
{
    return QStringLiteral("Ohne Speichern beenden");
}

bool QuitConfirmation::quits(Answer answer)
{
    return answer == Answer::QuitWithoutSaving;
}
