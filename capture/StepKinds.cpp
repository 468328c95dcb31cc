#include "StepKinds.h"

QString stepSystemImage(ShotStep::Kind kind)
{
    switch (kind) {
    case ShotStep::Kind::Tap:
        return QStringLiteral("hand.tap");
    case ShotStep::Kind::TypeText:
        return QStringLiteral("keyboard");
    case ShotStep::Kind::Wait:
        return QStringLiteral("clock");
    case ShotStep::Kind::Swipe:
        return QStringLiteral("hand.draw");
    }
    return QStringLiteral("hand.tap");
}

QString stepSystemImage(const ShotStep &step)
{
    return stepSystemImage(step.kind());
}

QString stepKindTitle(ShotStep::Kind kind)
{
    switch (kind) {
    case ShotStep::Kind::Tap:
        return QStringLiteral("Tippen");
    case ShotStep::Kind::TypeText:
        return QStringLiteral("Text");
    case ShotStep::Kind::Wait:
        return QStringLiteral("Warten");
    case ShotStep::Kind::Swipe:
        return QStringLiteral("Wischen");
    }
    return QString();
}

QString swipeDirectionLabel(SwipeDirection direction)
{
    switch (direction) {
    case SwipeDirection::Up:
        return QStringLiteral("hoch");
    case SwipeDirection::Down:
        return QStringLiteral("runter");
    case SwipeDirection::Left:
        return QStringLiteral("links");
    case SwipeDirection::Right:
        return QStringLiteral("rechts");
    }
    return QString();
}

QList<SwipeDirection> swipeDirections()
{
    return {SwipeDirection::Up, SwipeDirection::Down, SwipeDirection::Left, SwipeDirection::Right};
}
