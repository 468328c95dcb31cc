#include "ScreenshotRunSession.h"

#include "RunnerProject.h"
#include "SimulatorLaunch.h"

#include <AppPaths.h>
#include <ChildProcessRun.h>
#include <LaneRunModel.h>
#include <NotificationHub.h>
#include <ProjectFile.h>
#include <ShellQuote.h>

#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace {

const QString docsMarker = QStringLiteral("VRS-DOCS");
const QString startMarker = QStringLiteral("SHOT-START");
const QString capturedMarker = QStringLiteral("SHOT-CAPTURED");
const QString doneMarker = QStringLiteral("SHOT-DONE");

// The text after `marker` when the line carries it as a word of its own ("… SHOT-START en").
std::optional<QStringView> markerArgument(QStringView line, const QString &marker)
{
    qsizetype at = line.indexOf(marker);
    while (at >= 0) {
        const bool wordStart = at == 0 || line.at(at - 1).isSpace();
        const qsizetype end = at + marker.size();
        if (wordStart && end < line.size() && line.at(end) == u' ')
            return line.sliced(end + 1);
        at = line.indexOf(marker, at + 1);
    }
    return std::nullopt;
}

// The runner gets the plan's languages comma-separated and prints them back in line-based
// markers: a control character or a comma in a code would split or break them, and the run
// would end "done" without its screenshots; an empty code would silently be skipped. The
// message for the first such code, or nothing.
std::optional<QString> unusableLanguageMessage(const QStringList &languages)
{
    constexpr qsizetype shownLength = 40;
    for (const QString &language : languages) {
        // The runner drops empty entries of its list, so such a language would never run.
        if (language.isEmpty())
            return QStringLiteral("Ungültiger Sprachcode im Plan: \"\" (ein leerer Sprachcode ist nicht erlaubt).");
        const bool unusable = std::any_of(language.cbegin(), language.cend(), [](QChar c) {
            return c.category() == QChar::Other_Control || c == u',';
        });
        if (!unusable)
            continue;
        // Shown with its control characters spelled out, and shortened.
        QString shown;
        for (const QChar c : QStringView(language).first(std::min(language.size(), shownLength))) {
            switch (c.unicode()) {
            case u'\n': shown += QStringLiteral("\\n"); break;
            case u'\r': shown += QStringLiteral("\\r"); break;
            case u'\t': shown += QStringLiteral("\\t"); break;
            case u'\0': shown += QStringLiteral("\\0"); break;
            default:
                if (c.category() == QChar::Other_Control)
                    shown += QStringLiteral("\\u{%1}").arg(QString::number(c.unicode(), 16).toUpper());
                else
                    shown += c;
            }
        }
        if (language.size() > shownLength)
            shown += u'…';
        return QStringLiteral("Ungültiger Sprachcode im Plan: \"%1\" (Steuerzeichen und Kommas sind nicht erlaubt).").arg(shown);
    }
    return std::nullopt;
}

// A run that ends early fails the nodes it was working on; true when any changed.
bool failRunningNodes(QList<ShotNode> &nodes)
{
    bool changed = false;
    for (ShotNode &node : nodes) {
        if (node.state == RunNodeState::Running) {
            node.state = RunNodeState::Failed;
            changed = true;
        }
    }
    return changed;
}

} // namespace

ScreenshotRunSession::ScreenshotRunSession(const XcodeProject &project, const ScreenshotPlan &plan,
                                           BuildConfiguration configuration, QObject *parent)
    : QObject(parent)
    , m_project(project)
    , m_plan(plan)
    , m_configuration(configuration)
    , m_workFolder(AppPaths::workFolder(QStringLiteral("ScreenshotRun")))
{
    m_nodes.reserve(plan.languages.size() * plan.shots.size());
    for (const QString &language : plan.languages) {
        for (const Shot &shot : plan.shots)
            m_nodes.append({language, shot.name, RunNodeState::Pending});
    }
}

ScreenshotRunSession::~ScreenshotRunSession() = default;

int ScreenshotRunSession::doneCount() const
{
    return int(std::count_if(m_nodes.cbegin(), m_nodes.cend(),
                             [](const ShotNode &node) { return node.state == RunNodeState::Done; }));
}

double ScreenshotRunSession::progress() const
{
    return m_nodes.isEmpty() ? 0.0 : double(doneCount()) / double(m_nodes.size());
}

QString ScreenshotRunSession::projectFolder() const
{
    return m_workFolder + QStringLiteral("/project");
}

QString ScreenshotRunSession::derivedDataFolder() const
{
    return m_workFolder + QStringLiteral("/dd");
}

QString ScreenshotRunSession::runTitle() const
{
    return QStringLiteral("Screenshots: ") + m_project.name;
}

void ScreenshotRunSession::start()
{
    if (m_phase.kind == Phase::Kind::Running)
        return;
    dropRun();

    const QString xcodeproj = m_project.xcodeprojPath.value_or(QString());
    const QString bundleID = m_project.bundleIdentifier.value_or(QString());
    if (xcodeproj.isEmpty() || bundleID.isEmpty()) {
        setPhase(Phase::failed(QStringLiteral("Dem Projekt fehlt .xcodeproj oder Bundle-ID.")));
        return;
    }
    const SimulatorLaunch::AppToLaunch app = SimulatorLaunch::appToLaunch(m_project, m_configuration);
    const auto &target = app.target;
    if (target && (target->macOSOnly || target->platform != SimPlatform::iOS)) {
        setPhase(Phase::failed(QStringLiteral("Der Screenshot-Lauf unterstützt bisher nur iOS-Apps (dieses Target: %1).")
                                   .arg(target->macOSOnly ? QStringLiteral("macOS")
                                                          : SimPlatforms::displayName(target->platform))));
        return;
    }
    if (const auto message = unusableLanguageMessage(m_plan.languages)) {
        setPhase(Phase::failed(*message));
        return;
    }
    if (const Status written = RunnerProject::writeScreenshotRunner(projectFolder(), m_plan); !written) {
        setPhase(Phase::failed(QStringLiteral("Runner-Projekt konnte nicht geschrieben werden: ") + written.error()));
        return;
    }

    m_progress.buildSteps = 0;
    m_progress.finished = false;
    m_progress.exitCode.reset();
    m_progress.expectedBuildSteps = BuildStepMemory::expected(runTitle());
    if (m_importedCount != 0) {
        m_importedCount = 0;
        Q_EMIT importedCountChanged();
    }
    m_documentsPath.clear();
    m_captured.clear();
    setPhase(Phase::running());

    m_run = std::make_unique<ChildProcessRun>();
    connect(m_run.get(), &ChildProcessRun::linesReady, this, &ScreenshotRunSession::takeLines);
    connect(m_run.get(), &ChildProcessRun::finished, this, &ScreenshotRunSession::finish);
    m_run->start(script(app), m_project.url.isEmpty() ? m_workFolder : m_project.url);
}

void ScreenshotRunSession::cancel()
{
    dropRun();
    if (m_phase.kind != Phase::Kind::Running)
        return;
    if (failRunningNodes(m_nodes))
        Q_EMIT nodesChanged();
    setPhase(Phase::failed(QStringLiteral("Abgebrochen.")));
}

QString ScreenshotRunSession::script(const SimulatorLaunch::AppToLaunch &app) const
{
    const QString &bundleID = app.bundleIdentifier;
    const QString launch = SimulatorLaunch::makeScript(m_project.xcodeprojPath.value_or(QString()), app.scheme, bundleID,
                                                       SimPlatform::iOS, m_configuration, {}, {}, std::nullopt,
                                                       std::nullopt, m_project.workspacePath, app.configuration);
    const QString runnerProject = RunnerProject::projectPath(projectFolder(), QString::fromUtf16(RunnerProject::screenshotProjectName));
    const QString statusFile = m_workFolder + QStringLiteral("/test-exit-code");
    const auto q = ShellQuote::quote;

    QStringList lines;
    lines << launch;
    // From here on every exit code is looked at, not fatal: the test's code is the run's.
    lines << QStringLiteral("set +e");
    lines << QStringLiteral("echo '== Screenshot-Runner bauen und starten =='");
    lines << QStringLiteral("vrs_status=") + q(statusFile);
    lines << QStringLiteral("rm -f \"$vrs_status\"");
    // The test's output passes through a reader that answers location requests; the test's
    // exit code travels through a file because a pipeline ends with its last command's.
    lines << QStringLiteral("{ TEST_RUNNER_SCREENSHOT_LANGS=%1 TEST_RUNNER_SR_BUNDLE_ID=%2 TEST_RUNNER_UIDUMP_BUNDLE_ID=%2 "
                            "xcodebuild test -project %3 -scheme %4 -destination \"id=$UDID\" -derivedDataPath %5 2>&1;"
                            " echo $? > \"$vrs_status\"; } | {")
                 .arg(q(m_plan.languages.join(u',')), q(bundleID), q(runnerProject),
                      q(QString::fromUtf16(RunnerProject::screenshotScheme)), q(derivedDataFolder()));
    lines << QStringLiteral(R"(  vrs_docs=''
  while IFS= read -r vrs_line || [ -n "$vrs_line" ]; do
    printf '%s\n' "$vrs_line"
    case "$vrs_line" in
      *'VRS-DOCS '*) vrs_docs=${vrs_line#*VRS-DOCS } ;;
      *'VRS-SET-LOCATION '*)
        vrs_request=${vrs_line#*VRS-SET-LOCATION }
        vrs_seq=${vrs_request%% *}
        vrs_coordinate=${vrs_request#* }
        case "$vrs_seq$vrs_coordinate" in *[!0-9.,-]*|'') continue ;; esac
        echo "== Standort $vrs_coordinate setzen =="
        xcrun simctl location "$UDID" set "$vrs_coordinate" 2>&1
        if [ -n "$vrs_docs" ]; then : > "$vrs_docs/location-$vrs_seq.ack"; fi
        ;;
    esac
  done
})");
    lines << QStringLiteral("vrs_code=$(cat \"$vrs_status\" 2>/dev/null)");
    lines << QStringLiteral("exit \"${vrs_code:-1}\"");
    return lines.join(u'\n') + u'\n';
}

// Ends the child's whole process group if it still runs. The run object goes later: this may
// be called from within one of its own signals. As a child of the session it goes with it at
// the latest, should no event loop run again.
void ScreenshotRunSession::dropRun()
{
    if (!m_run)
        return;
    ChildProcessRun *run = m_run.release();
    run->disconnect(this);
    run->cancel();
    run->setParent(this);
    run->deleteLater();
}

void ScreenshotRunSession::setPhase(const Phase &phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    Q_EMIT phaseChanged();
}

void ScreenshotRunSession::setNodeState(int languageIndex, int shotIndex, RunNodeState state)
{
    if (languageIndex < 0 || shotIndex < 0 || shotIndex >= m_plan.shots.size())
        return;
    const qsizetype index = qsizetype(languageIndex) * m_plan.shots.size() + shotIndex;
    if (index >= m_nodes.size() || m_nodes[index].state == state)
        return;
    m_nodes[index].state = state;
    Q_EMIT nodesChanged();
}

void ScreenshotRunSession::takeLines(const QStringList &lines)
{
    bool added = false;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        m_progress.ingest(line);
        added = true;
        followMarker(line);
    }
    if (added)
        scheduleLinesSignal();
}

void ScreenshotRunSession::scheduleLinesSignal()
{
    if (m_linesSignalPending)
        return;
    m_linesSignalPending = true;
    QTimer::singleShot(0, this, [this] {
        m_linesSignalPending = false;
        Q_EMIT recentLinesChanged();
    });
}

// The plan language that `text` begins with (followed by a blank or the end); the longest
// wins, so "en" never shadows "en GB"-like codes. -1 when none.
int ScreenshotRunSession::languageIndexAtStart(QStringView text, qsizetype *length) const
{
    int best = -1;
    for (int i = 0; i < m_plan.languages.size(); ++i) {
        const QString &language = m_plan.languages.at(i);
        if (language.isEmpty() || !text.startsWith(language))
            continue;
        if (text.size() != language.size() && text.at(language.size()) != u' ')
            continue;
        if (best < 0 || language.size() > m_plan.languages.at(best).size())
            best = i;
    }
    if (best >= 0 && length)
        *length = m_plan.languages.at(best).size();
    return best;
}

void ScreenshotRunSession::followMarker(const QString &line)
{
    if (auto docs = markerArgument(line, docsMarker)) {
        m_documentsPath = docs->trimmed().toString();
        return;
    }
    if (auto argument = markerArgument(line, startMarker)) {
        const int language = languageIndexAtStart(argument->trimmed(), nullptr);
        setNodeState(language, 0, RunNodeState::Running);
        return;
    }
    if (auto argument = markerArgument(line, capturedMarker)) {
        qsizetype length = 0;
        const int language = languageIndexAtStart(*argument, &length);
        if (language < 0)
            return;
        const QStringView rest = argument->sliced(length).trimmed();
        const qsizetype blank = rest.indexOf(u' ');
        bool ok = false;
        const int shot = (blank < 0 ? rest : rest.first(blank)).toInt(&ok);
        if (!ok || shot < 0 || shot >= m_plan.shots.size())
            return;
        m_captured.insert(language * int(m_plan.shots.size()) + shot);
        setNodeState(language, shot, RunNodeState::Done);
        setNodeState(language, shot + 1, RunNodeState::Running);
        return;
    }
    // "SHOT-DONE" ends a language; its nodes are already settled by the captures.
}

void ScreenshotRunSession::finish(int exitCode)
{
    m_progress.finish(exitCode);
    dropRun();
    if (exitCode == 0) {
        const int imported = importScreenshots();
        if (imported != m_importedCount) {
            m_importedCount = imported;
            Q_EMIT importedCountChanged();
        }
        BuildStepMemory::remember(runTitle(), exitCode, m_progress.buildSteps);
        setPhase(Phase::done());
        NotificationHub::instance().post(QString::fromUtf16(updatedNotification),
                                         {{QStringLiteral("projectID"), m_project.id}});
        return;
    }
    if (failRunningNodes(m_nodes))
        Q_EMIT nodesChanged();
    setPhase(Phase::failed(QStringLiteral("Lauf fehlgeschlagen (Code %1). Siehe Protokoll.").arg(exitCode)));
}

// Copies what this attempt captured into "<fastlane>/velorancestudio/screenshots/<language>/".
// File names come from the plan, never from the console, so no output can steer a copy.
int ScreenshotRunSession::importScreenshots()
{
    if (m_documentsPath.isEmpty() || m_plan.shots.isEmpty())
        return 0;
    if (!m_project.fastlaneDirectory && m_project.url.isEmpty())
        return 0;
    const QString fastlane = m_project.fastlaneDirectory.value_or(m_project.url + QStringLiteral("/fastlane"));
    const QString projectFolder = m_project.url.isEmpty() ? QFileInfo(fastlane).absolutePath() : m_project.fastlaneRoot();
    const int shotCount = int(m_plan.shots.size());
    QList<int> captured(m_captured.cbegin(), m_captured.cend());
    std::sort(captured.begin(), captured.end());

    int imported = 0;
    for (const int nodeIndex : captured) {
        const QString folder = RunnerProject::safePathComponent(m_plan.languages.at(nodeIndex / shotCount));
        const QString file = RunnerProject::screenshotFileName(nodeIndex % shotCount, m_plan.shots.at(nodeIndex % shotCount).name);
        const QString source = m_documentsPath + QStringLiteral("/screenshots/") + folder + u'/' + file;
        const QString targetFolder = fastlane + QStringLiteral("/velorancestudio/screenshots/") + folder;
        const QString target = targetFolder + u'/' + file;
        // Never through a link leading out of the project; replaced atomically, so a failed
        // copy never costs the previous screenshot.
        const Result<QByteArray> bytes = ProjectFile::read(source);
        if (!bytes || !ProjectFile::makeFolder(targetFolder, projectFolder)
            || !ProjectFile::writeAtomically(target, bytes.value(), projectFolder))
            continue;
        ++imported;
    }
    return imported;
}
