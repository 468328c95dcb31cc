#include "LaneRunProgress.h"

#include <array>

namespace {
// Lines xcodebuild prints when it begins a build step: "<Step> <details>".
constexpr std::array buildStepPrefixes = {
    "CompileSwift ", "SwiftCompile ", "SwiftDriver ", "SwiftEmitModule ", "SwiftMergeGeneratedHeaders ",
    "CompileSwiftSources ", "CompileC ", "CompileAssetCatalog ", "CompileStoryboard ", "CompileXIB ",
    "LinkStoryboards ", "Ld ", "Libtool ", "CodeSign ", "ProcessInfoPlistFile ", "ProcessProductPackaging ",
    "ProcessProductPackagingDER ", "CopySwiftLibs ", "PhaseScriptExecution ", "Touch ", "CpResource ",
    "CopyStringsFile ", "CopyPlistFile ", "GenerateDSYMFile ", "RegisterExecutionPolicyException ",
    "RegisterWithLaunchServices ", "Validate ", "ValidateEmbeddedBinary ", "CreateBuildDirectory ", "MkDir ",
    "WriteAuxiliaryFile ", "GenerateAssetSymbols ", "ExtractAppIntentsMetadata ", "AppIntentsSSUTraining ",
    "CreateUniversalBinary ", "Strip ", "SymLink ", "Copy ", "Ditto ",
};
// The same steps as fastlane's xcpretty formatter shows them: "▸ Compiling …".
constexpr std::array prettyStepPrefixes = {
    "Compiling ", "Linking ", "Signing ", "Processing ", "Copying ", "Running script ", "Touching ",
    "Generating ", "Building library ", "Building ", "Validating ", "Registering ",
};

// The text after a fastlane time stamp ("[12:34:56]: ") and the xcpretty arrow, if any.
QStringView stripDecorations(QStringView line, bool *pretty)
{
    *pretty = false;
    if (line.startsWith(u'[')) {
        const qsizetype end = line.indexOf(QStringLiteral("]: "));
        if (end > 0 && end < 24)
            line = line.sliced(end + 3);
    }
    if (line.startsWith(u"▸ ")) {
        *pretty = true;
        line = line.sliced(2);
    }
    return line;
}

bool isBuildStep(QStringView line)
{
    bool pretty = false;
    const QStringView text = stripDecorations(line, &pretty);
    if (text.isEmpty() || !text.front().isUpper())
        return false;
    if (pretty) {
        for (const char *prefix : prettyStepPrefixes) {
            if (text.startsWith(QLatin1String(prefix)))
                return true;
        }
        return false;
    }
    for (const char *prefix : buildStepPrefixes) {
        if (text.startsWith(QLatin1String(prefix)))
            return true;
    }
    return false;
}

// The first word after `marker` when the line carries it.
QString markerValue(QStringView line, QLatin1String marker)
{
    const qsizetype at = line.indexOf(marker);
    if (at < 0)
        return {};
    QStringView rest = line.sliced(at + marker.size());
    if (!rest.isEmpty() && !rest.front().isSpace())
        return {};
    rest = rest.trimmed();
    qsizetype end = 0;
    while (end < rest.size() && !rest.at(end).isSpace())
        ++end;
    return rest.first(end).toString();
}
} // namespace

void LaneRunProgress::ingest(const QString &line)
{
    recentLines.append(line);
    if (recentLines.size() > maxRecentLines)
        recentLines.removeFirst();

    if (line.contains(QLatin1String("SHOT-"))) {
        const QString started = markerValue(line, QLatin1String("SHOT-START"));
        if (!started.isEmpty()) {
            if (!languagesSeen.contains(started) && languagesSeen.size() < maxLanguages) {
                languagesSeen.insert(started, false);
                languagesActive.append(started);
            }
            return;
        }
        const QString done = markerValue(line, QLatin1String("SHOT-DONE"));
        if (!done.isEmpty()) {
            const auto seen = languagesSeen.find(done);
            if (seen == languagesSeen.end()) {
                if (languagesSeen.size() < maxLanguages) {
                    languagesSeen.insert(done, true);
                    languagesDone.append(done);
                }
            } else if (!seen.value()) {
                // Each language leaves the active list once, so these removals stay linear.
                seen.value() = true;
                languagesActive.removeOne(done);
                languagesDone.append(done);
            }
            return;
        }
    }
    if (isBuildStep(line))
        ++buildSteps;
}

void LaneRunProgress::finish(int code)
{
    finished = true;
    exitCode = code;
}

QString LaneRunProgress::summary() const
{
    if (!languagesDone.isEmpty() || !languagesActive.isEmpty()) {
        QString text = QStringLiteral("Sprachen: %1 fertig").arg(languagesDone.size());
        if (!languagesActive.isEmpty()) {
            text += languagesActive.size() == 1 ? QStringLiteral(", 1 läuft (%1)").arg(languagesActive.first())
                                                : QStringLiteral(", %1 laufen (%2)")
                                                      .arg(languagesActive.size())
                                                      .arg(languagesActive.join(QStringLiteral(", ")));
        }
        return text;
    }
    if (buildSteps == 0)
        return {};
    if (expectedBuildSteps && *expectedBuildSteps > 0)
        return QStringLiteral("%1 / ~%2 Schritte").arg(buildSteps).arg(*expectedBuildSteps);
    return QStringLiteral("%1 Schritte").arg(buildSteps);
}
