// bench-libs: Capture
// Autosave of a large plan through the editor, side by side with the floor it cannot beat:
// a raw atomic write of the same bytes (temporary file, fdatasync, rename) into the same
// folder, taken in the same iteration so both see the same disk and the same load.
// Reports medians: autosave_ms, raw_ms and their ratio.
#include "BenchPlans.h"
#include "BenchTiming.h"

#include <PlanEditorModel.h>
#include <ShotStore.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace BenchTiming;

void BM_AutosaveVsRawWrite(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString fastlane = QDir(dir.path()).filePath(QStringLiteral("fastlane"));
    QDir().mkpath(fastlane);
    XcodeProject project;
    project.name = QStringLiteral("Bench");
    project.url = dir.path();
    project.fastlaneDirectory = fastlane;
    const ShotStore store(fastlane);
    if (!store.save(largePlan(200, 20))) {
        state.SkipWithError("initial save failed");
        return;
    }
    PlanEditorModel model(project);
    model.load();
    const QUuid shot = model.plan().shots.at(100).id;
    const QString rawPath = QDir(store.folder()).filePath(QStringLiteral("raw.json"));

    std::vector<double> autosave;
    std::vector<double> raw;
    int round = 0;
    for (auto _ : state) {
        const QString name = QStringLiteral("Umbenannt %1").arg(++round);
        auto start = Clock::now();
        model.updateShot(shot, [&](Shot &s) { s.name = name; });
        autosave.push_back(millisecondsSince(start));

        QFile written(store.planPath());
        written.open(QIODevice::ReadOnly);
        const QByteArray bytes = written.readAll();
        start = Clock::now();
        if (!rawAtomicWrite(rawPath, bytes)) {
            state.SkipWithError("raw write failed");
            return;
        }
        raw.push_back(millisecondsSince(start));
        state.SetIterationTime(autosave.back() / 1000.0);
        QCoreApplication::processEvents();
    }
    if (model.saveError()) {
        state.SkipWithError(model.saveError()->toUtf8().constData());
        return;
    }
    const double autosaveMs = median(autosave);
    const double rawMs = median(raw);
    state.counters["autosave_ms"] = autosaveMs;
    state.counters["raw_ms"] = rawMs;
    state.counters["ratio"] = rawMs > 0 ? autosaveMs / rawMs : 0;
}

} // namespace

BENCHMARK(BM_AutosaveVsRawWrite)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(5);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
