#pragma once

#include <ShotStep.h>

#include <QList>
#include <QString>

// What the step rows and the shot card show for a step's kind and a swipe's direction.

// The symbol of a step's kind: tap "hand.tap", typeText "keyboard", wait "clock", swipe "hand.draw".
QString stepSystemImage(const ShotStep &step);
QString stepSystemImage(ShotStep::Kind kind);

// The kind's title as the recorder's row shows it: "Tippen", "Text", "Warten", "Wischen".
QString stepKindTitle(ShotStep::Kind kind);

// "hoch", "runter", "links", "rechts".
QString swipeDirectionLabel(SwipeDirection direction);
// Every direction in the order the pickers offer them.
QList<SwipeDirection> swipeDirections();
