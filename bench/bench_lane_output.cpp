// 100,000 lines of build output through the runner's line splitting and the progress parser.
//
// bench-libs: Runs
#include <LaneRunProgress.h>
#include <LineSplitter.h>

#include <benchmark/benchmark.h>

#include <QByteArray>

namespace {
constexpr int lineCount = 100000;

// Output shaped like a real run: step lines, indented commands, warnings, language markers.
QByteArray makeOutput()
{
    QByteArray output;
    output.reserve(lineCount * 110);
    for (int i = 0; i < lineCount; ++i) {
        switch (i % 10) {
        case 0:
            output += "SwiftCompile normal arm64 /Users/dev/workspace/App/Sources/Feature" + QByteArray::number(i)
                + ".swift (in target 'App' from project 'App')\n";
            break;
        case 1:
            output += "    cd /Users/dev/workspace/App\n";
            break;
        case 2:
            output += "CompileC /Users/dev/Library/Developer/Xcode/DerivedData/App/Build/Intermediates.noindex/x.o x.m normal arm64\n";
            break;
        case 3:
            output += "/Users/dev/workspace/App/Sources/View.swift:12:9: warning: variable 'x' was never mutated\n";
            break;
        case 4:
            output += (i % 1000 == 4) ? "SHOT-START de-DE\n" : "[10:41:02]: \xe2\x96\xb8 Compiling Gr\xc3\xbc\xc3\x9f" "e.swift\n";
            break;
        case 5:
            output += (i % 1000 == 995) ? "SHOT-DONE de-DE\n" : "Test Case '-[AppUITests testShots]' started.\n";
            break;
        default:
            output += "    /Applications/Xcode.app/Contents/Developer/Toolchains/XcodeDefault.xctoolchain/usr/bin/swift-frontend -frontend -c\n";
        }
    }
    return output;
}

void BM_LaneOutput(benchmark::State &state)
{
    const QByteArray output = makeOutput();
    const qsizetype chunkSize = state.range(0);
    for (auto _ : state) {
        LineSplitter splitter;
        LaneRunProgress progress;
        for (qsizetype at = 0; at < output.size(); at += chunkSize) {
            for (const QString &line : splitter.feed(output.mid(at, chunkSize)))
                progress.ingest(line);
        }
        if (auto rest = splitter.flush())
            progress.ingest(*rest);
        benchmark::DoNotOptimize(progress.summary());
        if (progress.recentLines.size() != LaneRunProgress::maxRecentLines)
            state.SkipWithError("window not bounded");
    }
    state.SetItemsProcessed(state.iterations() * lineCount);
    state.SetBytesProcessed(state.iterations() * output.size());
}
} // namespace

// Pipe reads arrive in chunks of a few KiB; 64 KiB is a full pipe buffer.
BENCHMARK(BM_LaneOutput)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
