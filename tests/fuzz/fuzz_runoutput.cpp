// A run's output: bytes split into lines as they arrive, each line fed to the progress
// parser. The first byte chooses how the bytes are cut into chunks, so chunk boundaries fall
// inside lines, inside UTF-8 sequences and between "\r" and "\n".

#include "FuzzCheck.h"

#include <LaneRunProgress.h>
#include <LineSplitter.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t chunk = size_t(data[0] % 64) + 1;
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);

    LineSplitter splitter;
    LaneRunProgress progress;
    progress.expectedBuildSteps = 40;
    qsizetype lineCount = 0;
    for (qsizetype at = 0; at < bytes.size(); at += qsizetype(chunk)) {
        for (const QString &line : splitter.feed(bytes.mid(at, qsizetype(chunk)))) {
            progress.ingest(line);
            ++lineCount;
        }
    }
    progress.summary();
    if (const auto rest = splitter.flush()) {
        progress.ingest(*rest);
        ++lineCount;
    }
    FUZZ_CHECK(!splitter.flush().has_value());
    progress.finish(1);
    progress.summary();

    // Every line ends a newline except perhaps the last.
    FUZZ_CHECK(lineCount >= bytes.count('\n'));
    FUZZ_CHECK(lineCount <= bytes.count('\n') + 1);
    FUZZ_CHECK(progress.recentLines.size() <= LaneRunProgress::maxRecentLines);
    FUZZ_CHECK(progress.buildSteps >= 0);
    for (const QString &language : progress.languagesActive)
        FUZZ_CHECK(!progress.languagesDone.contains(language));
    return 0;
}
