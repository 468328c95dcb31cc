// The plan decoder: "shots.json" as a person or another program may have left it.

#include "FuzzCheck.h"
#include "PlanThroughQt.h"

#include <PlanReader.h>

#include <ScreenshotPlan.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);

    // What the direct reader takes must mean what Qt's reader makes of it.
    if (const auto direct = PlanReader::read(bytes)) {
        auto qt = PlanThroughQt::throughQt(bytes);
        FUZZ_CHECK(qt.has_value());
        PlanThroughQt::adoptMadeIdentifiers(*qt, *direct, bytes);
        FUZZ_CHECK(*qt == *direct);
    }

    QString error;
    const auto plan = ScreenshotPlan::decode(bytes, &error);
    if (!plan) {
        // A refused file must say why: the editor shows the reason.
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }

    // What was read is saved and read back unchanged; otherwise the first autosave would
    // alter a plan nobody edited.
    const QByteArray saved = plan->encode();
    const auto reread = ScreenshotPlan::decode(saved);
    FUZZ_CHECK(reread.has_value());
    FUZZ_CHECK(reread->encode() == saved);

    // What a run derives from the plan.
    plan->launchEnvironment();
    plan->resolvedLaunchArguments();
    for (const Shot &shot : plan->shots) {
        for (const Lane &lane : plan->lanes)
            plan->shotBelongsToLane(shot, lane.id);
    }
    return 0;
}
