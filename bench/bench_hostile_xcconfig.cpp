// bench-libs: AppCore Model
// The scan of one project whose .xcconfig files a hostile repository shaped: the time of one
// inspection and the process's peak memory. Run one case per process to read its peak:
//     bench_hostile_xcconfig --benchmark_filter=IncludedTenThousandTimes
#include "BenchMemory.h"

#include "../tests/common/HostileProjects.h"
#include "../tests/model/FixtureFiles.h"

#include <ProjectScanner.h>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using BenchMemory::peakMegabytes;
using BenchMemory::resetPeak;

// The project with its Base.xcconfig (made by `base`) and whatever else `extra` adds.
template<typename Base, typename Extra>
bool writeProject(const QString &folder, int configurations, Base base, Extra extra)
{
    return writeFile(folder + QStringLiteral("/Hostile.xcodeproj/project.pbxproj"), HostileProjects::projectFile(configurations))
        && writeFile(folder + QStringLiteral("/Config/Base.xcconfig"), base()) && extra(folder);
}

// Times the inspection of the project's folder, as the scan makes it.
template<typename Base, typename Extra>
void inspect(benchmark::State &state, int configurations, Base base, Extra extra)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Hostile"));
    if (!writeProject(folder, configurations, base, extra)) {
        state.SkipWithError("fixture not written");
        return;
    }
    resetPeak();
    int found = 0;
    for (auto _ : state) {
        const auto project = ProjectScanner::inspectFolder(folder);
        found += project.has_value() ? 1 : 0;
    }
    state.counters["peak_MB"] = peakMegabytes();
    if (found == 0)
        state.SkipWithError("project not found");
}

// One 10 MB .xcconfig included 10,000 times.
void BM_IncludedTenThousandTimes(benchmark::State &state)
{
    const auto base = [] {
        QByteArray text;
        for (int n = 0; n < 10000; ++n)
            text += "#include \"Big.xcconfig\"\n";
        return text;
    };
    inspect(state, 2, base, [](const QString &folder) {
        return writeFile(folder + QStringLiteral("/Config/Big.xcconfig"), HostileProjects::definitions(10 * 1000 * 1000));
    });
}

// 62 MB of optional includes of files that do not exist.
void BM_OptionalIncludeLines(benchmark::State &state)
{
    inspect(state, 2, [] { return HostileProjects::optionalIncludes(62 * 1000 * 1000); }, [](const QString &) { return true; });
}

// The same, within the size a chain may have: the include count stops it.
void BM_OptionalIncludeLinesWithinSize(benchmark::State &state)
{
    inspect(state, 2, [] { return HostileProjects::optionalIncludes(3 * 1000 * 1000); }, [](const QString &) { return true; });
}

// 400 configurations over one 1 MB .xcconfig.
void BM_ConfigurationsOverOneXcconfig(benchmark::State &state)
{
    inspect(state, 400, [] { return HostileProjects::definitions(1000 * 1000); }, [](const QString &) { return true; });
}

} // namespace

BENCHMARK(BM_IncludedTenThousandTimes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OptionalIncludeLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OptionalIncludeLinesWithinSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConfigurationsOverOneXcconfig)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
