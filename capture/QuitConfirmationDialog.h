#pragma once

#include "QuitConfirmation.h"

class QWidget;

// Shows the question asked before quitting while the plan could not be saved, modal on
// `parent`, and returns the answer; closing it any other way counts as "Zurück".
namespace QuitConfirmationDialog {

QuitConfirmation::Answer ask(const QuitConfirmation &question, QWidget *parent);

} // namespace QuitConfirmationDialog
