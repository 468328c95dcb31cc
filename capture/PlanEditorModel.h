#pragma once

#include <Binding.h>
#include <BuildConfiguration.h>
#include <LaunchFlag.h>
#include <PlanEncoder.h>
#include <ProjectFile.h>
#include <Result.h>
#include <ScreenshotPlan.h>
#include <XcodeProject.h>

#include "RetryBackoff.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>

class QFileSystemWatcher;
class QTimer;
class ShotStore;

// The state of the screenshot plan editor of one project and every operation on it.
// It owns the one in-memory plan and is its only writer to "shots.json": every change of
// the plan goes through setPlan (directly or through an operation), which emits
// planChanged once and autosaves. Views bind to it and never keep a copy.
class PlanEditorModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlanEditorModel)

public:
    explicit PlanEditorModel(const XcodeProject &project, QObject *parent = nullptr);
    ~PlanEditorModel() override;

    // --- state --------------------------------------------------------------------
    const XcodeProject &project() const { return m_project; }
    // Another project in the same place: keeps the view state, loads again when its url changed.
    void setProject(const XcodeProject &project);

    const ScreenshotPlan &plan() const { return m_plan; }
    const ScreenshotPlan &savedPlan() const { return m_savedPlan; }
    // The single entry for plan changes: when the value differs, emits planChanged and saves.
    void setPlan(const ScreenshotPlan &plan);

    QStringList supportedLocales() const { return m_supportedLocales; }
    QList<LaunchFlag> availableFlags() const { return m_availableFlags; }
    bool showAdvancedLaunch() const { return m_showAdvancedLaunch; }
    void setShowAdvancedLaunch(bool show);
    std::optional<QString> saveNote() const { return m_saveNote; }
    std::optional<QString> saveError() const { return m_saveError; }
    // Says where a version of the plan file that a load or save kept aside now lies; it stays
    // until the next load or until it is closed.
    std::optional<QString> keptNotice() const { return m_keptNotice; }
    void closeKeptNotice();
    int noteToken() const { return m_noteToken; }
    bool showRecorder() const { return m_showRecorder; }
    void setShowRecorder(bool show);
    bool showRun() const { return m_showRun; }
    void setShowRun(bool show);
    bool showLocation() const { return m_showLocation; }
    void setShowLocation(bool show);
    BuildConfiguration buildConfig() const { return m_buildConfig; }
    void setBuildConfig(BuildConfiguration configuration);
    bool showSettings() const { return m_showSettings; }
    void setShowSettings(bool show);
    std::optional<Lane> laneToRun() const { return m_laneToRun; }
    std::optional<Lane> recorderLane() const { return m_recorderLane; }

    // --- loading and saving ---------------------------------------------------------
    void load();
    void save();
    // The last try before the page closes or the program quits: saves what is not yet on disk
    // at once and says whether all of it is there now, or why not.
    Status saveNow();
    // The waits between the tries of a save that failed (1 s, doubling up to 30 s); tests
    // shorten them.
    void setRetryDelays(int firstMs, int longestMs);
    // True once load() ran; the page loads on first show, later reloads follow the project.
    bool hasLoaded() const { return m_hasLoaded; }
    // Looks at "shots.json" now (the watcher calls it after a change on disk): a plan that
    // differs from what the editor last loaded or wrote is loaded again.
    void checkPlanOnDisk();

    // --- lanes and shots --------------------------------------------------------------
    void addLane();
    void removeLane(const QUuid &laneID);
    void setLaneName(const QUuid &laneID, const QString &name);
    void runLane(const Lane &lane);
    void deleteShot(const QUuid &shotID);
    void addEmptyShot(const Lane &lane);
    void recordShot(const Lane &lane);
    // Reads the shot, lets `edit` change it and writes the whole shot back (one plan change).
    void updateShot(const QUuid &shotID, const std::function<void(Shot &)> &edit);
    Binding<Shot> shotBinding(const QUuid &shotID);

    // --- runs and recordings ------------------------------------------------------------
    void startAll();
    ScreenshotPlan planForRun() const;
    void addRecordedShot(Shot shot);

    // --- languages and launch options ---------------------------------------------------
    Binding<bool> languageBinding(const QString &code);
    Binding<QString> flagBinding(const QString &arg);
    void addVariable();
    void removeVariable(const QUuid &variableID);
    void setVariableKey(const QUuid &variableID, const QString &key);
    void setVariableValue(const QUuid &variableID, const QString &value);
    void addArgument();
    void removeArgument(int index);
    void setArgument(int index, const QString &text);

    // --- tools and export ----------------------------------------------------------------
    void setPlanLocation(const std::optional<PlanLocation> &location);
    void exportSnapshotTest();
    // Sets a success note (replacing any note at once) and restarts its 3-second timer.
    void showNote(const QString &note);

    // --- derived values ------------------------------------------------------------------
    // "Alle starten": shots to run and a project that can be built and launched.
    bool startAllEnabled() const;
    // "Exportieren": something to export.
    bool exportEnabled() const;
    // How long a note stays (3 s); tests shorten it.
    void setNoteDuration(int milliseconds);
    int noteDuration() const { return m_noteDurationMs; }

Q_SIGNALS:
    // The plan changed (emitted once per change, before the autosave).
    void planChanged();
    // Any other field changed (sheet flags, notes, languages offered, flags, build config…).
    void stateChanged();
    // `project()` was replaced and the page should show the reloaded state.
    void projectChanged();

private:
    void setSaveNote(const std::optional<QString> &note);
    void setSaveError(const std::optional<QString> &error);
    void setKeptNotice(const std::optional<QString> &notice);
    // Why a version of the plan file lies beside it now.
    enum class KeptCause { Unreadable, ChangedOutside, Leftover, Restored };
    struct KeptVersion
    {
        KeptCause cause;
        QString path; // where it lies (for Restored: the plan file)
    };
    void addKeptVersions(KeptCause cause, const QStringList &names);
    static std::optional<QString> keptNoticeText(const QList<KeptVersion> &kept);
    // Tells the kept versions that are still there; one removed since is no longer named.
    void updateKeptNotice();
    ShotStore store() const;
    // ShotStore's write; a plan file it replaces that is not what the editor last loaded or
    // wrote (changed outside, or there but undecodable at load) is kept aside.
    Status writePlan(const ScreenshotPlan &plan);
    void watchPlanFile();

    XcodeProject m_project;
    ScreenshotPlan m_plan;
    ScreenshotPlan m_savedPlan;
    QStringList m_supportedLocales;
    QList<LaunchFlag> m_availableFlags;
    bool m_showAdvancedLaunch = false;
    std::optional<QString> m_saveNote;
    std::optional<QString> m_saveError;
    std::optional<QString> m_keptNotice;
    QList<KeptVersion> m_keptVersions; // told by the notice, oldest first
    int m_noteToken = 0;
    bool m_showRecorder = false;
    bool m_showRun = false;
    bool m_showLocation = false;
    BuildConfiguration m_buildConfig = BuildConfiguration::Release;
    bool m_showSettings = true;
    std::optional<Lane> m_laneToRun;
    std::optional<Lane> m_recorderLane;
    QTimer *m_noteTimer = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_diskCheckTimer = nullptr;
    // What "shots.json" was when the editor last loaded or wrote it: its stamp (none when
    // its state is not known, as after a load that could not use it) and its bytes (none
    // when there was no file).
    std::optional<ProjectFile::Stamp> m_diskStamp;
    std::optional<QByteArray> m_diskBytes;
    // The load found a plan file it could not read: the first write keeps it as unreadable.
    bool m_diskUnreadable = false;
    // The replaced version the last write held under the hidden name, as it left it.
    std::optional<ProjectFile::Stamp> m_heldStamp;
    PlanEncoder m_encoder; // re-encodes only the shots an edit changed
    bool m_hasLoaded = false;
    bool m_lastSaveFailed = false;
    QString m_lastSaveFailure;
    // While a save has failed it is tried again after a wait, so that an edit reaches the disk
    // once the cause (a full disk, a folder made read-only) has passed, with no further edit.
    QTimer *m_retryTimer = nullptr;
    RetryBackoff m_retryBackoff;
    int m_noteDurationMs = 3000;
};
