#include "PlanEditorModel.h"

#include <ShotStore.h>
#include <ShotTestGenerator.h>
#include <Uuid.h>
#include <Whitespace.h>
#include <XcodeProjectInspector.h>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <algorithm>

namespace {

const QString kExportClassName = QStringLiteral("VeloranceStudioScreenshots");
const QString kExportFileName = QStringLiteral("VeloranceStudioScreenshots.swift");
// Events of one outside write (delete, create, several modifications) arrive in a burst; the
// check runs this long after the first of them.
constexpr int kDiskCheckDelayMs = 50;

// The nearest folder above `path` that exists.
QString nearestExistingAbove(const QString &path)
{
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo::exists(folder)) {
        const QString above = QFileInfo(folder).absolutePath();
        if (above == folder)
            break;
        folder = above;
    }
    return folder;
}

qsizetype indexOfShot(const ScreenshotPlan &plan, const QUuid &shotID)
{
    for (qsizetype i = 0; i < plan.shots.size(); ++i) {
        if (plan.shots.at(i).id == shotID)
            return i;
    }
    return -1;
}

qsizetype indexOfLane(const ScreenshotPlan &plan, const QUuid &laneID)
{
    for (qsizetype i = 0; i < plan.lanes.size(); ++i) {
        if (plan.lanes.at(i).id == laneID)
            return i;
    }
    return -1;
}

qsizetype indexOfVariable(const ScreenshotPlan &plan, const QUuid &variableID)
{
    for (qsizetype i = 0; i < plan.launchVariables.size(); ++i) {
        if (plan.launchVariables.at(i).id == variableID)
            return i;
    }
    return -1;
}

} // namespace

PlanEditorModel::PlanEditorModel(const XcodeProject &project, QObject *parent)
    : QObject(parent)
    , m_project(project)
    , m_plan(ScreenshotPlan::makeDefault())
    , m_savedPlan(ScreenshotPlan::makeDefault())
    , m_noteTimer(new QTimer(this))
    , m_watcher(new QFileSystemWatcher(this))
    , m_diskCheckTimer(new QTimer(this))
    , m_retryTimer(new QTimer(this))
{
    m_retryTimer->setSingleShot(true);
    connect(m_retryTimer, &QTimer::timeout, this, &PlanEditorModel::save);
    m_diskCheckTimer->setSingleShot(true);
    m_diskCheckTimer->setInterval(kDiskCheckDelayMs);
    connect(m_diskCheckTimer, &QTimer::timeout, this, &PlanEditorModel::checkPlanOnDisk);
    // The first event starts the wait and later ones do not prolong it: the editor's own
    // writes, as fast as someone types, must not put off looking at an outside change.
    const auto scheduleCheck = [this] {
        if (!m_diskCheckTimer->isActive())
            m_diskCheckTimer->start();
    };
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, scheduleCheck);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, scheduleCheck);
    m_noteTimer->setSingleShot(true);
    m_noteTimer->setInterval(m_noteDurationMs);
    // Only a wait that runs its full length clears the note; a restart or stop cuts it short.
    connect(m_noteTimer, &QTimer::timeout, this, [this] { setSaveNote(std::nullopt); });
}

PlanEditorModel::~PlanEditorModel() = default;

void PlanEditorModel::setProject(const XcodeProject &project)
{
    if (project == m_project)
        return;
    // A rescan that finds the fastlane folder appeared or vanished must reload too: otherwise the
    // placeholder's default plan would be written over an existing "shots.json".
    const bool reload = m_hasLoaded
        && (project.url != m_project.url || project.fastlaneDirectory != m_project.fastlaneDirectory);
    m_project = project;
    Q_EMIT projectChanged();
    if (reload)
        load();
    else
        Q_EMIT stateChanged();
}

void PlanEditorModel::setPlan(const ScreenshotPlan &plan)
{
    if (plan == m_plan)
        return;
    m_plan = plan;
    Q_EMIT planChanged();
    save();
}

void PlanEditorModel::setShowAdvancedLaunch(bool show)
{
    if (show == m_showAdvancedLaunch)
        return;
    m_showAdvancedLaunch = show;
    Q_EMIT stateChanged();
}

void PlanEditorModel::setShowRecorder(bool show)
{
    if (show == m_showRecorder)
        return;
    m_showRecorder = show;
    Q_EMIT stateChanged();
}

void PlanEditorModel::setShowRun(bool show)
{
    if (show == m_showRun)
        return;
    m_showRun = show;
    Q_EMIT stateChanged();
}

void PlanEditorModel::setShowLocation(bool show)
{
    if (show == m_showLocation)
        return;
    m_showLocation = show;
    Q_EMIT stateChanged();
}

void PlanEditorModel::setBuildConfig(BuildConfiguration configuration)
{
    if (configuration == m_buildConfig)
        return;
    m_buildConfig = configuration;
    Q_EMIT stateChanged();
}

void PlanEditorModel::setShowSettings(bool show)
{
    if (show == m_showSettings)
        return;
    m_showSettings = show;
    Q_EMIT stateChanged();
}

void PlanEditorModel::setNoteDuration(int milliseconds)
{
    m_noteDurationMs = milliseconds;
    m_noteTimer->setInterval(milliseconds);
}

// --- loading and saving ---------------------------------------------------------------

void PlanEditorModel::load()
{
    m_hasLoaded = true;
    m_lastSaveFailed = false;
    setSaveNote(std::nullopt);
    setSaveError(std::nullopt);
    setKeptNotice(std::nullopt);

    m_supportedLocales = m_project.xcodeprojPath
        ? XcodeProjectInspector::knownRegions(XcodeProjectInspector::readProjectFile(*m_project.xcodeprojPath))
        : QStringList();

    const std::optional<LaunchFlagsManifest::File> manifest = LaunchFlagsManifest::load(m_project.url);
    m_availableFlags = manifest ? manifest->flags : QList<LaunchFlag>();
    m_showAdvancedLaunch = m_availableFlags.isEmpty();

    ScreenshotPlan loaded;
    m_keptVersions.clear();
    m_diskUnreadable = false;
    if (m_project.fastlaneDirectory) {
        const ShotStore planStore = store();
        // What a save killed midway left is kept, removed or put back as the plan is read.
        const ShotStore::LoadedPlan found = planStore.loadSettlingLeftovers();
        const ProjectFile::Stamp &seen = found.stamp;
        QStringList leftovers = found.leftovers.kept;
        std::reverse(leftovers.begin(), leftovers.end()); // the newest last, as later keeps come
        addKeptVersions(KeptCause::Leftover, leftovers);
        if (found.leftovers.restored)
            addKeptVersions(KeptCause::Restored, {QFileInfo(planStore.planPath()).fileName()});
        if (found.plan) {
            loaded = *found.plan;
            m_diskStamp = seen;
            m_diskBytes = found.bytes;
        } else {
            const QStringList languages = m_supportedLocales.isEmpty()
                ? QStringList{QStringLiteral("de-DE"), QStringLiteral("en-GB")}
                : m_supportedLocales;
            loaded = ScreenshotPlan::makeDefault(languages);
            // Missing is a known state; a file that is there but cannot be used is not, so it
            // is kept aside before the first write.
            m_diskStamp = seen.exists ? std::nullopt : std::optional<ProjectFile::Stamp>(seen);
            m_diskBytes.reset();
            m_diskUnreadable = seen.exists;
        }
        m_savedPlan = loaded;
        watchPlanFile();
    } else {
        loaded = ScreenshotPlan::makeDefault();
        m_savedPlan = ScreenshotPlan::makeDefault();
        m_diskStamp.reset();
        m_diskBytes.reset();
        if (!m_watcher->files().isEmpty() || !m_watcher->directories().isEmpty())
            m_watcher->removePaths(m_watcher->files() + m_watcher->directories());
    }

    Q_EMIT stateChanged();
    // Through the single entry, so the page updates; save() then finds nothing to write.
    setPlan(loaded);
}

void PlanEditorModel::save()
{
    // Before the first load the plan is a placeholder default; writing it could replace the
    // user's file.
    // After a failed write, the file may no longer hold savedPlan (it may be gone meanwhile):
    // the plan is written once more even when it equals savedPlan again.
    if (!m_project.fastlaneDirectory || !m_hasLoaded || (m_plan == m_savedPlan && !m_lastSaveFailed)) {
        // Nothing waits to be written (a load or an outside change may have settled it).
        m_retryTimer->stop();
        m_retryBackoff.reset();
        return;
    }
    const Status status = writePlan(m_plan);
    m_lastSaveFailed = !status;
    if (status) {
        m_savedPlan = m_plan;
        m_retryTimer->stop();
        m_retryBackoff.reset();
        setSaveError(std::nullopt);
    } else {
        m_lastSaveFailure = status.error();
        // Edits meanwhile try at once and leave the wait running; each failed try after a
        // wait makes the next wait longer.
        if (!m_retryTimer->isActive())
            m_retryTimer->start(m_retryBackoff.next());
        setSaveError(QStringLiteral("Konnte nicht speichern: ") + status.error());
    }
}

Status PlanEditorModel::saveNow()
{
    save();
    return m_lastSaveFailed ? Status::failure(m_lastSaveFailure) : Status::success();
}

void PlanEditorModel::setRetryDelays(int firstMs, int longestMs)
{
    m_retryBackoff = RetryBackoff(firstMs, longestMs);
    if (m_retryTimer->isActive())
        m_retryTimer->start(m_retryBackoff.next());
}

ShotStore PlanEditorModel::store() const
{
    // A fastlane folder at the repository's top lies above the project's own folder.
    return ShotStore(*m_project.fastlaneDirectory, m_project.fastlaneRoot());
}

Status PlanEditorModel::writePlan(const ScreenshotPlan &plan)
{
    // Nothing a person wrote is replaced without a copy: a file that is not what the editor last
    // loaded or wrote is kept aside, in the same step as ours comes in.
    const QByteArray bytes = m_encoder.encode(plan);
    const Result<ProjectFile::Replaced> replaced =
        store().replacePlanBytes(bytes, {m_diskStamp, m_diskBytes, m_heldStamp}, m_diskUnreadable);
    if (replaced) {
        m_diskStamp = replaced->written;
        m_diskBytes = bytes;
        m_heldStamp = replaced->held;
        QStringList kept = replaced->kept;
        // The file the load could not read is the one kept first; any other was changed outside.
        if (m_diskUnreadable && !kept.isEmpty())
            addKeptVersions(KeptCause::Unreadable, {kept.takeFirst()});
        addKeptVersions(KeptCause::ChangedOutside, kept);
        m_diskUnreadable = false;
    }
    watchPlanFile();
    return replaced ? Status::success() : Status::failure(replaced.error());
}

void PlanEditorModel::watchPlanFile()
{
    const ShotStore planStore = store();
    // From the folder holding the fastlane folder down to the plan file, each part that exists
    // is watched; a replaced file or folder drops its watch, so they are set again at each look.
    // Above the first part missing, the nearest folder that exists is watched, so its return
    // is seen (a branch switch, a fresh clone) and the rest is armed then.
    const QStringList chain{m_project.fastlaneRoot(), *m_project.fastlaneDirectory, planStore.folder(),
                            planStore.planPath()};
    for (qsizetype pass = 0; pass <= chain.size(); ++pass) {
        QStringList paths;
        QString missing;
        for (const QString &path : chain) {
            if (!QFileInfo::exists(path)) {
                missing = path;
                break;
            }
            paths.append(path);
        }
        if (!missing.isEmpty()) {
            const QString above = nearestExistingAbove(missing);
            if (!paths.contains(above))
                paths.append(above);
        }
        const QStringList watched = m_watcher->files() + m_watcher->directories();
        QStringList stale;
        for (const QString &path : watched) {
            if (!paths.contains(path))
                stale.append(path);
        }
        if (!stale.isEmpty())
            m_watcher->removePaths(stale);
        QStringList added;
        for (const QString &path : paths) {
            if (!watched.contains(path))
                added.append(path);
        }
        const QStringList failed = added.isEmpty() ? QStringList() : m_watcher->addPaths(added);
        // A part made or removed between the look and the watch: look again.
        if (failed.isEmpty() && (missing.isEmpty() || !QFileInfo::exists(missing)))
            break;
    }
}

void PlanEditorModel::checkPlanOnDisk()
{
    if (!m_project.fastlaneDirectory || !m_hasLoaded)
        return;
    updateKeptNotice(); // a kept file may have gone
    watchPlanFile();
    const ShotStore planStore = store();
    const ProjectFile::Stamp now = ProjectFile::stamp(planStore.planPath());
    if (m_diskStamp && now == *m_diskStamp)
        return; // the editor's own write, or nothing new
    if (!now.exists)
        return; // removed outside: the next change writes the plan again
    // After a failed write the editor holds the only copy of its plan: it stays, and the
    // next write keeps the file's new content aside.
    if (m_plan != m_savedPlan)
        return;
    const Result<QByteArray> bytes = planStore.readPlanBytes();
    if (bytes && m_diskBytes && bytes.value() == *m_diskBytes) {
        m_diskStamp = now; // touched, not changed
        return;
    }
    const std::optional<ScreenshotPlan> decoded = bytes ? ScreenshotPlan::decode(bytes.value()) : std::nullopt;
    if (!decoded) {
        // Half-written or broken: the plan shown stays; the writer's next event brings the
        // rest, and a write before that keeps these bytes aside as changed outside.
        m_diskStamp.reset();
        m_diskUnreadable = false;
        return;
    }
    m_diskUnreadable = false;
    m_diskStamp = now;
    m_diskBytes = bytes.value();
    m_savedPlan = *decoded;
    setPlan(*decoded);
}

// --- lanes and shots ------------------------------------------------------------------

void PlanEditorModel::addLane()
{
    ScreenshotPlan plan = m_plan;
    plan.lanes.append(Lane{Uuid::make(), QStringLiteral("Lane ") + QString::number(plan.lanes.size() + 1)});
    setPlan(plan);
}

void PlanEditorModel::removeLane(const QUuid &laneID)
{
    if (m_plan.lanes.size() < 2)
        return;
    QList<Lane> remaining;
    for (const Lane &lane : m_plan.lanes) {
        if (lane.id != laneID)
            remaining.append(lane);
    }
    if (remaining.isEmpty())
        return;
    const QUuid target = remaining.first().id;

    ScreenshotPlan plan = m_plan;
    // Membership is judged against the lanes before the removal.
    for (Shot &shot : plan.shots) {
        if (m_plan.shotBelongsToLane(shot, laneID))
            shot.laneID = target;
    }
    plan.lanes = remaining;
    setPlan(plan);
}

void PlanEditorModel::setLaneName(const QUuid &laneID, const QString &name)
{
    const qsizetype index = indexOfLane(m_plan, laneID);
    if (index < 0 || m_plan.lanes.at(index).name == name)
        return;
    ScreenshotPlan plan = m_plan;
    plan.lanes[index].name = name;
    setPlan(plan);
}

void PlanEditorModel::runLane(const Lane &lane)
{
    m_laneToRun = lane;
    save();
    m_showRun = true;
    Q_EMIT stateChanged();
}

void PlanEditorModel::deleteShot(const QUuid &shotID)
{
    ScreenshotPlan plan = m_plan;
    plan.shots.removeIf([&](const Shot &shot) { return shot.id == shotID; });
    setPlan(plan);
}

void PlanEditorModel::addEmptyShot(const Lane &lane)
{
    ScreenshotPlan plan = m_plan;
    Shot shot;
    shot.id = Uuid::make();
    shot.name = QStringLiteral("Shot ") + QString::number(plan.shots.size() + 1);
    shot.laneID = lane.id;
    plan.shots.append(shot);
    setPlan(plan);
}

void PlanEditorModel::recordShot(const Lane &lane)
{
    m_recorderLane = lane;
    m_showRecorder = true;
    Q_EMIT stateChanged();
}

void PlanEditorModel::updateShot(const QUuid &shotID, const std::function<void(Shot &)> &edit)
{
    const qsizetype index = indexOfShot(m_plan, shotID);
    if (index < 0)
        return;
    Shot shot = m_plan.shots.at(index);
    edit(shot);
    if (shot == m_plan.shots.at(index))
        return;
    ScreenshotPlan plan = m_plan;
    plan.shots[index] = shot;
    setPlan(plan);
}

Binding<Shot> PlanEditorModel::shotBinding(const QUuid &shotID)
{
    return makeBinding<Shot>(
        [this, shotID] {
            const qsizetype index = indexOfShot(m_plan, shotID);
            return index < 0 ? Shot{} : m_plan.shots.at(index);
        },
        [this, shotID](const Shot &shot) { updateShot(shotID, [&](Shot &target) { target = shot; }); });
}

// --- runs and recordings --------------------------------------------------------------

void PlanEditorModel::startAll()
{
    m_laneToRun.reset();
    save();
    m_showRun = true;
    Q_EMIT stateChanged();
}

ScreenshotPlan PlanEditorModel::planForRun() const
{
    if (!m_laneToRun)
        return m_plan;
    ScreenshotPlan plan = m_plan;
    plan.shots.clear();
    for (const Shot &shot : m_plan.shots) {
        if (m_plan.shotBelongsToLane(shot, m_laneToRun->id))
            plan.shots.append(shot);
    }
    return plan;
}

void PlanEditorModel::addRecordedShot(Shot shot)
{
    // The recorder's lane may be gone meanwhile (the plan loaded again after an outside
    // change); the shot then joins the first lane rather than none shown.
    std::optional<QUuid> target;
    if (m_recorderLane && indexOfLane(m_plan, m_recorderLane->id) >= 0)
        target = m_recorderLane->id;
    else if (!m_plan.lanes.isEmpty())
        target = m_plan.lanes.first().id;
    shot.laneID = target;
    ScreenshotPlan plan = m_plan;
    plan.shots.append(shot);
    setPlan(plan);
}

// --- languages and launch options -----------------------------------------------------

Binding<bool> PlanEditorModel::languageBinding(const QString &code)
{
    return makeBinding<bool>(
        [this, code] { return m_plan.languages.contains(code); },
        [this, code](const bool &on) {
            ScreenshotPlan plan = m_plan;
            if (on) {
                if (!plan.languages.contains(code))
                    plan.languages.append(code);
            } else {
                plan.languages.removeAll(code);
            }
            setPlan(plan);
        });
}

Binding<QString> PlanEditorModel::flagBinding(const QString &arg)
{
    return makeBinding<QString>(
        [this, arg] { return m_plan.flagSelections.value(arg); },
        [this, arg](const QString &text) {
            ScreenshotPlan plan = m_plan;
            const QString trimmed = Whitespace::trimmedSpacesAndTabs(text);
            if (trimmed.isEmpty())
                plan.flagSelections.remove(arg);
            else
                plan.flagSelections.insert(arg, trimmed);
            setPlan(plan);
        });
}

void PlanEditorModel::addVariable()
{
    ScreenshotPlan plan = m_plan;
    plan.launchVariables.append(LaunchVariable{Uuid::make(), QString(), QString()});
    setPlan(plan);
}

void PlanEditorModel::removeVariable(const QUuid &variableID)
{
    ScreenshotPlan plan = m_plan;
    plan.launchVariables.removeIf([&](const LaunchVariable &variable) { return variable.id == variableID; });
    setPlan(plan);
}

void PlanEditorModel::setVariableKey(const QUuid &variableID, const QString &key)
{
    const qsizetype index = indexOfVariable(m_plan, variableID);
    if (index < 0)
        return;
    ScreenshotPlan plan = m_plan;
    plan.launchVariables[index].key = key;
    setPlan(plan);
}

void PlanEditorModel::setVariableValue(const QUuid &variableID, const QString &value)
{
    const qsizetype index = indexOfVariable(m_plan, variableID);
    if (index < 0)
        return;
    ScreenshotPlan plan = m_plan;
    plan.launchVariables[index].value = value;
    setPlan(plan);
}

void PlanEditorModel::addArgument()
{
    ScreenshotPlan plan = m_plan;
    plan.launchArguments.append(QString());
    setPlan(plan);
}

void PlanEditorModel::removeArgument(int index)
{
    if (index < 0 || index >= m_plan.launchArguments.size())
        return;
    ScreenshotPlan plan = m_plan;
    plan.launchArguments.removeAt(index);
    setPlan(plan);
}

void PlanEditorModel::setArgument(int index, const QString &text)
{
    if (index < 0 || index >= m_plan.launchArguments.size())
        return;
    ScreenshotPlan plan = m_plan;
    plan.launchArguments[index] = text;
    setPlan(plan);
}

// --- tools and export -----------------------------------------------------------------

void PlanEditorModel::setPlanLocation(const std::optional<PlanLocation> &location)
{
    ScreenshotPlan plan = m_plan;
    plan.location = location;
    setPlan(plan);
}

void PlanEditorModel::exportSnapshotTest()
{
    if (!m_project.fastlaneDirectory || !m_hasLoaded)
        return;
    // The plan file is written as it is now; savedPlan stays, so autosave keeps its own account.
    const Status written = writePlan(m_plan);
    if (!written) {
        setSaveNote(std::nullopt);
        setSaveError(QStringLiteral("Konnte nicht erzeugen: ") + written.error());
        return;
    }
    const QString source = ShotTestGenerator::snapshotTestSource(m_plan, kExportClassName);
    const Result<QString> path = store().writeGeneratedFile(source, kExportFileName);
    if (!path) {
        setSaveNote(std::nullopt);
        setSaveError(QStringLiteral("Konnte nicht erzeugen: ") + path.error());
        return;
    }
    setSaveError(std::nullopt);
    showNote(QStringLiteral("Testcode erzeugt: ") + QDir::toNativeSeparators(path.value()));
}

void PlanEditorModel::showNote(const QString &note)
{
    setSaveNote(note);
    ++m_noteToken;
    // A new token restarts the wait; the old one is cut short and clears nothing.
    m_noteTimer->start(m_noteDurationMs);
    Q_EMIT stateChanged();
}

void PlanEditorModel::setSaveNote(const std::optional<QString> &note)
{
    if (note == m_saveNote)
        return;
    const bool wasShown = m_saveNote.has_value();
    m_saveNote = note;
    if (!m_saveNote)
        m_noteTimer->stop(); // the label went away
    else if (!wasShown)
        m_noteTimer->start(m_noteDurationMs);
    Q_EMIT stateChanged();
}

// One sentence per cause, naming where the other version lies; several of one cause are
// counted and the newest named.
std::optional<QString> PlanEditorModel::keptNoticeText(const QList<KeptVersion> &kept)
{
    QStringList sentences;
    for (const KeptCause cause : {KeptCause::Unreadable, KeptCause::ChangedOutside, KeptCause::Leftover,
                                  KeptCause::Restored}) {
        qsizetype count = 0;
        QString newest;
        for (const KeptVersion &version : kept) {
            if (version.cause == cause) {
                ++count;
                newest = QFileInfo(version.path).fileName();
            }
        }
        if (count == 0)
            continue;
        const QString name = QStringLiteral("„%1“").arg(newest);
        switch (cause) {
        case KeptCause::Unreadable:
            sentences.append(QStringLiteral("„shots.json“ war nicht lesbar und liegt jetzt unter %1.").arg(name));
            break;
        case KeptCause::ChangedOutside:
            sentences.append(count == 1
                ? QStringLiteral("„shots.json“ wurde außerhalb geändert, während du bearbeitet hast. Deine Fassung "
                                 "ist gespeichert, die andere liegt jetzt unter %1.").arg(name)
                : QStringLiteral("„shots.json“ wurde %1-mal außerhalb geändert, während du bearbeitet hast. Deine "
                                 "Fassung ist gespeichert, die anderen liegen daneben, die neueste unter %2.")
                      .arg(count).arg(name));
            break;
        case KeptCause::Leftover:
            sentences.append(count == 1
                ? QStringLiteral("Ein unterbrochenes Speichern hat eine weitere Fassung hinterlassen. Sie liegt "
                                 "jetzt unter %1.").arg(name)
                : QStringLiteral("Unterbrochene Speichervorgänge haben %1 weitere Fassungen hinterlassen, die "
                                 "neueste liegt jetzt unter %2.").arg(count).arg(name));
            break;
        case KeptCause::Restored:
            sentences.append(QStringLiteral("Ein unterbrochenes Speichern wurde abgeschlossen: du siehst die Fassung, "
                                            "die es hinterlassen hat."));
            break;
        }
    }
    if (sentences.isEmpty())
        return std::nullopt;
    return sentences.join(QLatin1Char(' '));
}

void PlanEditorModel::closeKeptNotice()
{
    m_keptVersions.clear();
    setKeptNotice(std::nullopt);
}

void PlanEditorModel::addKeptVersions(KeptCause cause, const QStringList &names)
{
    if (names.isEmpty())
        return;
    const QDir folder = QFileInfo(store().planPath()).dir();
    for (const QString &name : names)
        m_keptVersions.append({cause, folder.filePath(name)});
    updateKeptNotice();
}

void PlanEditorModel::updateKeptNotice()
{
    m_keptVersions.removeIf([](const KeptVersion &kept) { return !QFileInfo::exists(kept.path); });
    setKeptNotice(keptNoticeText(m_keptVersions));
}

void PlanEditorModel::setKeptNotice(const std::optional<QString> &notice)
{
    if (notice == m_keptNotice)
        return;
    m_keptNotice = notice;
    Q_EMIT stateChanged();
}

void PlanEditorModel::setSaveError(const std::optional<QString> &error)
{
    if (error == m_saveError)
        return;
    m_saveError = error;
    Q_EMIT stateChanged();
}

bool PlanEditorModel::startAllEnabled() const
{
    return !m_plan.shots.isEmpty() && m_project.xcodeprojPath.has_value() && m_project.bundleIdentifier.has_value();
}

bool PlanEditorModel::exportEnabled() const
{
    return !m_plan.shots.isEmpty();
}
