// bench-libs: AppCore Simulator Model
// One project whose build settings cost much to expand, each shape within every size cap: the
// time of one inspection as the scan makes it (worker thread) and of what the recorder's start,
// the screenshot run and the recorder's save ask (GUI thread), and the process's peak memory.
// Run one case per process to read its peak:
//     bench_setting_expansion --benchmark_filter=ModifiersOnLongValue/scan
#include "BenchMemory.h"

#include "../tests/common/HostileProjects.h"
#include "../tests/model/FixtureFiles.h"
#include "../tests/model/HostileSettings.h"

#include <ProjectScanner.h>
#include <SimulatorLaunch.h>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using BenchMemory::peakMegabytes;
using BenchMemory::resetPeak;

struct Shape
{
    QByteArray xcconfig;
    QByteArray targetSettings; // added to the target's default configuration in the project file
};

// `:lower:upper` 100,000 times on a 16,000-character value.
Shape modifiersOnLongValue()
{
    return {HostileSettings::xcconfig(HostileSettings::modifierChain(100000), 16000), {}};
}

// `$(Z$(W))` 400,000 times in the .xcconfig.
Shape nestedReferencesInXcconfig()
{
    return {HostileSettings::xcconfig(HostileSettings::nestedReferences(400000)), {}};
}

// The same in the project file.
Shape nestedReferencesInProjectFile()
{
    return {HostileSettings::longValue("LONG", 16),
            "PRODUCT_BUNDLE_IDENTIFIER = \"" + HostileSettings::nestedReferences(400000) + "\"; "};
}

// 60,000 settings of 16,000 characters, each referenced through a name.
Shape settingsThroughNames()
{
    QByteArray value;
    const QByteArray lines = HostileSettings::settingsThroughNames(60000, &value);
    return {HostileSettings::xcconfig(value, 16000) + lines, {}};
}

bool writeProject(const QString &folder, const Shape &shape)
{
    QByteArray project = HostileProjects::projectFile(2);
    const QByteArray settings = "buildSettings = { SDKROOT = iphoneos; ";
    project.replace(project.indexOf(settings), settings.size(), settings + shape.targetSettings);
    return writeFile(folder + QStringLiteral("/Hostile.xcodeproj/project.pbxproj"), project)
        && writeFile(folder + QStringLiteral("/Config/Base.xcconfig"), shape.xcconfig);
}

enum class Caller { Scan, Launch };

void inspect(benchmark::State &state, Shape (*make)(), Caller caller)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Hostile"));
    if (!writeProject(folder, make())) {
        state.SkipWithError("fixture not written");
        return;
    }
    XcodeProject project;
    project.name = QStringLiteral("Hostile");
    project.url = folder;
    project.xcodeprojPath = folder + QStringLiteral("/Hostile.xcodeproj");
    resetPeak();
    int found = 0;
    for (auto _ : state) {
        if (caller == Caller::Scan) {
            found += ProjectScanner::inspectFolder(folder).has_value() ? 1 : 0;
        } else {
            found += SimulatorLaunch::appToLaunch(project, BuildConfiguration::Release).target ? 1 : 0;
        }
    }
    state.counters["peak_MB"] = peakMegabytes();
    if (found == 0)
        state.SkipWithError("project not found");
}

void BM_ModifiersOnLongValue(benchmark::State &state, Caller caller)
{
    inspect(state, modifiersOnLongValue, caller);
}
void BM_NestedReferencesInXcconfig(benchmark::State &state, Caller caller)
{
    inspect(state, nestedReferencesInXcconfig, caller);
}
void BM_NestedReferencesInProjectFile(benchmark::State &state, Caller caller)
{
    inspect(state, nestedReferencesInProjectFile, caller);
}
void BM_SettingsThroughNames(benchmark::State &state, Caller caller)
{
    inspect(state, settingsThroughNames, caller);
}

} // namespace

BENCHMARK_CAPTURE(BM_ModifiersOnLongValue, scan, Caller::Scan)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ModifiersOnLongValue, launch, Caller::Launch)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NestedReferencesInXcconfig, scan, Caller::Scan)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NestedReferencesInXcconfig, launch, Caller::Launch)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NestedReferencesInProjectFile, scan, Caller::Scan)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NestedReferencesInProjectFile, launch, Caller::Launch)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SettingsThroughNames, scan, Caller::Scan)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SettingsThroughNames, launch, Caller::Launch)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
