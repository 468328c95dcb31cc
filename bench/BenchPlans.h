#pragma once

// The large plan the benchmarks work on: two lanes, every step kind in turn.
#include <ScreenshotPlan.h>
#include <Uuid.h>

inline ScreenshotPlan largePlan(int shotCount, int stepsPerShot)
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault({"de-DE", "en-US", "fr-FR", "ja", "zh-Hans"});
    plan.lanes.append(Lane{Uuid::make(), "iPad"});
    plan.launchVariables = {LaunchVariable{Uuid::make(), "PREMIUM", "1"}};
    plan.launchArguments = {"-isAdFreeActive true", "-demo"};
    plan.flagSelections = {{"-theme", "dark"}};
    for (int s = 0; s < shotCount; ++s) {
        Shot shot{Uuid::make(), QStringLiteral("Shot %1").arg(s + 1), {}, std::nullopt, std::nullopt};
        if (s % 2)
            shot.laneID = plan.lanes[1].id;
        for (int i = 0; i < stepsPerShot; ++i) {
            switch (i % 4) {
            case 0:
                shot.steps.append(ShotStepItem::make(
                    ShotStep::tap(QStringLiteral("button.%1").arg(i), "Weiter", NormPoint{0.42, 0.87})));
                break;
            case 1:
                shot.steps.append(ShotStepItem::make(ShotStep::typeText("search.field", "Café am Markt")));
                break;
            case 2:
                shot.steps.append(ShotStepItem::make(ShotStep::wait(1.5)));
                break;
            default:
                shot.steps.append(
                    ShotStepItem::make(ShotStep::swipe("", "Liste", NormPoint{0.5, 0.6}, SwipeDirection::Up)));
                break;
            }
        }
        plan.shots.append(shot);
    }
    return plan;
}
