#pragma once

#include <ShotStep.h>

#include <QList>
#include <QLocale>
#include <QString>
#include <QUuid>

#include <optional>

// The edits of a shot's step list and of one step's fields, without widgets. Each list
// operation returns whether the list changed, so that the caller animates only real moves.
namespace StepListEditing {

enum class WaitPlacement { Before, After };

// The step the shot card's add menu appends for a kind: empty fields, no point, a wait of
// 1.0 second, a swipe upward.
ShotStep newStep(ShotStep::Kind kind);

// Appends a new item (fresh identifier) holding the step; returns the new item's identifier.
QUuid append(QList<ShotStepItem> &steps, const ShotStep &step);

// Inserts a wait of 1.0 second with a fresh identifier before or after the first item with
// the given identifier; gives the new item's identifier. Nothing happens when no item has it.
std::optional<QUuid> insertWait(QList<ShotStepItem> &steps, const QUuid &itemID, WaitPlacement placement);

// Removes every item with the identifier; the others keep their order.
bool deleteStep(QList<ShotStepItem> &steps, const QUuid &itemID);

// Moves the item whose canonical identifier text equals `droppedText` exactly so that it
// stands where the target item stood: dragged down it lands after the target, dragged up
// before it. Nothing happens for unknown text, an unknown target or a drop onto itself.
bool moveStep(QList<ShotStepItem> &steps, const QString &droppedText, const QUuid &targetID);

// --- one step's fields --------------------------------------------------------------------
// Each write rule gives the whole new step, or nothing when the edit does not apply.

// The selector of a tap, typeText or swipe; empty for a wait.
QString selector(const ShotStep &step);
// The text of a typeText step; empty for any other kind.
QString typedText(const ShotStep &step);
// The seconds of a wait; 0 for any other kind.
double seconds(const ShotStep &step);
// The direction of a swipe; up for any other kind.
SwipeDirection direction(const ShotStep &step);

// Replaces the selector and keeps every other field; a wait stays unchanged (nothing).
std::optional<ShotStep> withSelector(const ShotStep &step, const QString &selector);
// A typeText step with the step's selector and the new text.
std::optional<ShotStep> withText(const ShotStep &step, const QString &text);
// A wait of exactly the entered number (no rounding, no bounds); nothing for text the
// locale cannot read.
std::optional<ShotStep> withSecondsText(const ShotStep &step, const QString &text, const QLocale &locale = QLocale());
// A swipe with the same selector, label and point and the new direction; nothing for any
// other kind.
std::optional<ShotStep> withDirection(const ShotStep &step, SwipeDirection direction);

// The seconds as the locale writes them ("1,5" in German, "1" for a whole second).
QString formatSeconds(double seconds, const QLocale &locale = QLocale());

} // namespace StepListEditing
