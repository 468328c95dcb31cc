// The project-file readers: the languages, the application target and its settings from the
// text of a project.pbxproj (a property list of the old style).

#include "FuzzCheck.h"

#include <XcodeProjectInspector.h>

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzzBytes(data, size));

    const QStringList regions = XcodeProjectInspector::knownRegions(text);
    QSet<QString> seen;
    for (const QString &region : regions) {
        FUZZ_CHECK(!region.isEmpty());
        FUZZ_CHECK(region != QLatin1String("Base"));
        FUZZ_CHECK(!seen.contains(region));
        seen.insert(region);
    }

    XcodeProjectInspector::launchTarget(text);
    XcodeProjectInspector::applicationBundleIdentifier(text);
    XcodeProjectInspector::marketingVersion(text);
    return 0;
}
