// bench-libs: Capture
// Opening the plan editor on a large "shots.json" (about 39 MB), alone and with 100 temporary
// files that killed saves left beside it. Each leftover holds a small plan of its own, so the
// load keeps it aside; the leftovers and what was kept are laid out again between rounds.
#include "BenchPlans.h"

#include <PlanEditorModel.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct LargeProject
{
    QTemporaryDir dir;
    XcodeProject project;
    QString folder;

    LargeProject()
    {
        const QDir root(dir.path());
        root.mkpath(QStringLiteral("fastlane/velorancestudio"));
        project.name = QStringLiteral("Large");
        project.url = dir.path();
        project.fastlaneDirectory = root.filePath(QStringLiteral("fastlane"));
        folder = root.filePath(QStringLiteral("fastlane/velorancestudio"));
        QFile plan(folder + QStringLiteral("/shots.json"));
        if (plan.open(QIODevice::WriteOnly))
            plan.write(largePlan(2000, 50).encode());
    }

    void layOutLeftovers(int count) const
    {
        QDir place(folder);
        for (const QString &name : place.entryList(QDir::Files | QDir::Hidden)) {
            if (name != QStringLiteral("shots.json"))
                place.remove(name);
        }
        for (int i = 0; i < count; ++i) {
            QFile leftover(place.filePath(QStringLiteral("shots.json.%1.tmp").arg(i + 1, 0, 16)));
            if (leftover.open(QIODevice::WriteOnly))
                leftover.write(largePlan(1, i % 5).encode());
        }
    }
};

void BM_LoadLargePlan(benchmark::State &state)
{
    const int leftovers = int(state.range(0));
    LargeProject large;
    PlanEditorModel model(large.project);
    for (auto _ : state) {
        state.PauseTiming();
        large.layOutLeftovers(leftovers);
        state.ResumeTiming();
        model.load();
    }
    state.counters["MB"] = double(QFileInfo(large.folder + QStringLiteral("/shots.json")).size()) / 1e6;
    state.counters["shots"] = double(model.plan().shots.size());
}
BENCHMARK(BM_LoadLargePlan)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
