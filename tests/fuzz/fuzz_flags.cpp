// The launch-flags file "velorance-flags.json" that an app ships in its project.

#include "FuzzCheck.h"

#include <LaunchFlag.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const auto file = LaunchFlagsManifest::File::decode(fuzzBytes(data, size), &error);
    if (!file) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }

    const auto reread = LaunchFlagsManifest::File::decode(file->encode());
    FUZZ_CHECK(reread.has_value());
    FUZZ_CHECK(reread->flags == file->flags);

    // Each flag chosen with its first value (or its label), as the editor would.
    QMap<QString, QString> selections;
    for (const LaunchFlag &flag : file->flags)
        selections.insert(flag.arg, flag.values && !flag.values->isEmpty() ? flag.values->first() : flag.label);
    const QStringList arguments = LaunchFlagsManifest::launchArguments(selections);
    FUZZ_CHECK(arguments.size() % 2 == 0);
    FUZZ_CHECK(arguments.size() <= 2 * selections.size());
    return 0;
}
