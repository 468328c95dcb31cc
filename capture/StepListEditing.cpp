#include "StepListEditing.h"

#include <Locales.h>
#include <Uuid.h>

namespace StepListEditing {
namespace {

int indexOf(const QList<ShotStepItem> &steps, const QUuid &itemID)
{
    for (int i = 0; i < steps.size(); ++i) {
        if (steps.at(i).id == itemID)
            return i;
    }
    return -1;
}

} // namespace

ShotStep newStep(ShotStep::Kind kind)
{
    switch (kind) {
    case ShotStep::Kind::Tap:
        return ShotStep::tap(QString(), QString());
    case ShotStep::Kind::TypeText:
        return ShotStep::typeText(QString(), QString());
    case ShotStep::Kind::Wait:
        return ShotStep::wait(1.0);
    case ShotStep::Kind::Swipe:
        return ShotStep::swipe(QString(), QString(), std::nullopt, SwipeDirection::Up);
    }
    return ShotStep();
}

QUuid append(QList<ShotStepItem> &steps, const ShotStep &step)
{
    steps.append(ShotStepItem::make(step));
    return steps.constLast().id;
}

std::optional<QUuid> insertWait(QList<ShotStepItem> &steps, const QUuid &itemID, WaitPlacement placement)
{
    const int index = indexOf(steps, itemID);
    if (index < 0)
        return std::nullopt;
    const ShotStepItem wait = ShotStepItem::make(ShotStep::wait(1.0));
    steps.insert(placement == WaitPlacement::Before ? index : index + 1, wait);
    return wait.id;
}

bool deleteStep(QList<ShotStepItem> &steps, const QUuid &itemID)
{
    const QUuid id = itemID; // the argument may refer into the list being changed
    return steps.removeIf([&id](const ShotStepItem &item) { return item.id == id; }) > 0;
}

bool moveStep(QList<ShotStepItem> &steps, const QString &droppedText, const QUuid &targetID)
{
    int from = -1;
    for (int i = 0; i < steps.size(); ++i) {
        if (Uuid::text(steps.at(i).id) == droppedText) {
            from = i;
            break;
        }
    }
    const int to = indexOf(steps, targetID);
    if (from < 0 || to < 0 || from == to)
        return false;
    // Taking the item out and inserting it at the target's old index puts it after the
    // target when it came from above and before the target when it came from below.
    steps.move(from, to);
    return true;
}

QString selector(const ShotStep &step)
{
    if (const auto *tap = step.as<ShotStep::Tap>())
        return tap->selector;
    if (const auto *typeText = step.as<ShotStep::TypeText>())
        return typeText->selector;
    if (const auto *swipe = step.as<ShotStep::Swipe>())
        return swipe->selector;
    return QString();
}

QString typedText(const ShotStep &step)
{
    if (const auto *typeText = step.as<ShotStep::TypeText>())
        return typeText->text;
    return QString();
}

double seconds(const ShotStep &step)
{
    if (const auto *wait = step.as<ShotStep::Wait>())
        return wait->seconds;
    return 0;
}

SwipeDirection direction(const ShotStep &step)
{
    if (const auto *swipe = step.as<ShotStep::Swipe>())
        return swipe->direction;
    return SwipeDirection::Up;
}

std::optional<ShotStep> withSelector(const ShotStep &step, const QString &newSelector)
{
    if (const auto *tap = step.as<ShotStep::Tap>()) {
        ShotStep::Tap edited = *tap;
        edited.selector = newSelector;
        return ShotStep(edited);
    }
    if (const auto *typeText = step.as<ShotStep::TypeText>()) {
        ShotStep::TypeText edited = *typeText;
        edited.selector = newSelector;
        return ShotStep(edited);
    }
    if (const auto *swipe = step.as<ShotStep::Swipe>()) {
        ShotStep::Swipe edited = *swipe;
        edited.selector = newSelector;
        return ShotStep(edited);
    }
    return std::nullopt;
}

std::optional<ShotStep> withText(const ShotStep &step, const QString &text)
{
    return ShotStep::typeText(selector(step), text);
}

std::optional<ShotStep> withSecondsText(const ShotStep &, const QString &text, const QLocale &locale)
{
    const std::optional<double> value = Locales::parseDecimal(text, locale);
    if (!value)
        return std::nullopt;
    return ShotStep::wait(*value);
}

std::optional<ShotStep> withDirection(const ShotStep &step, SwipeDirection newDirection)
{
    const auto *swipe = step.as<ShotStep::Swipe>();
    if (!swipe)
        return std::nullopt;
    ShotStep::Swipe edited = *swipe;
    edited.direction = newDirection;
    return ShotStep(edited);
}

QString formatSeconds(double value, const QLocale &locale)
{
    return Locales::formatDecimal(value, locale, 0, 6);
}

} // namespace StepListEditing
