// bench-libs: Model
// Autosave of a large plan: one shot renamed, then the editor's compare-and-write path
// (compare with the last saved plan, encode through the shot cache, atomic write of
// "shots.json"), and the coding pieces on their own.
#include "BenchPlans.h"

#include <PlanEncoder.h>
#include <ScreenshotPlan.h>
#include <ShotStore.h>

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_AutosaveAfterRename(benchmark::State &state)
{
    QTemporaryDir dir;
    const ShotStore store(dir.path());
    ScreenshotPlan plan = largePlan(200, 20);
    ScreenshotPlan saved = plan;
    PlanEncoder encoder;
    if (!store.savePlanBytes(encoder.encode(saved))) {
        state.SkipWithError("initial save failed");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        plan.shots[100].name = QStringLiteral("Umbenannt %1").arg(++round);
        if (plan != saved) {
            const Status status = store.savePlanBytes(encoder.encode(plan));
            if (!status) {
                state.SkipWithError(qPrintable(status.error()));
                return;
            }
            saved = plan;
        }
    }
    state.counters["bytes"] = static_cast<double>(plan.encode().size());
}
BENCHMARK(BM_AutosaveAfterRename)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_EncodePlan(benchmark::State &state)
{
    const ScreenshotPlan plan = largePlan(200, 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(plan.encode());
}
BENCHMARK(BM_EncodePlan)->Unit(benchmark::kMillisecond);

// What autosave encodes after an edit of one shot: the rest comes from the cache.
void BM_EncodeAfterOneShotChanged(benchmark::State &state)
{
    ScreenshotPlan plan = largePlan(200, 20);
    PlanEncoder encoder;
    encoder.encode(plan);
    int round = 0;
    for (auto _ : state) {
        plan.shots[100].name = QStringLiteral("Umbenannt %1").arg(++round);
        benchmark::DoNotOptimize(encoder.encode(plan));
    }
}
BENCHMARK(BM_EncodeAfterOneShotChanged)->Unit(benchmark::kMillisecond);

void BM_DecodePlan(benchmark::State &state)
{
    const QByteArray bytes = largePlan(200, 20).encode();
    for (auto _ : state)
        benchmark::DoNotOptimize(ScreenshotPlan::decode(bytes));
}
BENCHMARK(BM_DecodePlan)->Unit(benchmark::kMillisecond);

// The tree QJsonDocument would serialise; kept to show what writing the text directly saves.
void BM_PlanToJsonObject(benchmark::State &state)
{
    const ScreenshotPlan plan = largePlan(200, 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(plan.toJson());
}
BENCHMARK(BM_PlanToJsonObject)->Unit(benchmark::kMillisecond);

void BM_CompareEqualPlans(benchmark::State &state)
{
    const ScreenshotPlan plan = largePlan(200, 20);
    // A deep copy: equal values that share no storage, as after reading the file back.
    const ScreenshotPlan copy = *ScreenshotPlan::decode(plan.encode());
    for (auto _ : state)
        benchmark::DoNotOptimize(plan == copy);
}
BENCHMARK(BM_CompareEqualPlans)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
