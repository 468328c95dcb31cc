#pragma once

#include <QObject>
#include <QString>

class UserDefaults;

// Where App Store Connect version data comes from; cases in this order.
enum class VersionSource { EditableThenLive, Live };

namespace VersionSources {
QString caseName(VersionSource source); // "editableThenLive", "live"
}

// The observable settings. Each setter writes through to the user defaults at once and
// notifies only on a real change; the constructor reads each key once.
class SettingsStore final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsStore)
    Q_PROPERTY(QString projectsRoot READ projectsRoot WRITE setProjectsRoot NOTIFY projectsRootChanged)
    Q_PROPERTY(bool confirmBeforeUpload READ confirmBeforeUpload WRITE setConfirmBeforeUpload NOTIFY confirmBeforeUploadChanged)
    Q_PROPERTY(bool preloadStatusOnLaunch READ preloadStatusOnLaunch WRITE setPreloadStatusOnLaunch NOTIFY preloadStatusOnLaunchChanged)
    Q_PROPERTY(int parallelWorkers READ parallelWorkers WRITE setParallelWorkers NOTIFY parallelWorkersChanged)
    Q_PROPERTY(bool onboardingCompleted READ onboardingCompleted WRITE setOnboardingCompleted NOTIFY onboardingCompletedChanged)

public:
    static constexpr auto projectsRootKey = "projects.root";
    static constexpr auto confirmBeforeUploadKey = "upload.confirmBeforeUpload";
    static constexpr auto versionPreferenceKey = "asc.versionPreference";
    static constexpr auto preloadStatusKey = "asc.preloadStatusOnLaunch";
    static constexpr auto parallelWorkersKey = "screenshots.parallelWorkers";
    static constexpr auto onboardingCompletedKey = "app.onboardingCompleted";

    // Reads from the standard user defaults unless another store is given.
    explicit SettingsStore(UserDefaults *defaults = nullptr, QObject *parent = nullptr);

    QString projectsRoot() const { return m_projectsRoot; }               // default "~/workspace"
    bool confirmBeforeUpload() const { return m_confirmBeforeUpload; }    // default true
    VersionSource ascVersionPreference() const { return m_versionPreference; }
    bool preloadStatusOnLaunch() const { return m_preloadStatusOnLaunch; } // default true
    int parallelWorkers() const { return m_parallelWorkers; }              // default 3, not clamped
    bool onboardingCompleted() const { return m_onboardingCompleted; }     // default false

    void setProjectsRoot(const QString &value);
    void setConfirmBeforeUpload(bool value);
    void setAscVersionPreference(VersionSource value);
    void setPreloadStatusOnLaunch(bool value);
    void setParallelWorkers(int value);
    void setOnboardingCompleted(bool value);

Q_SIGNALS:
    void projectsRootChanged(const QString &value);
    void confirmBeforeUploadChanged(bool value);
    void ascVersionPreferenceChanged(VersionSource value);
    void preloadStatusOnLaunchChanged(bool value);
    void parallelWorkersChanged(int value);
    void onboardingCompletedChanged(bool value);

private:
    UserDefaults &defaults() const;

    UserDefaults *m_defaults = nullptr;
    QString m_projectsRoot;
    bool m_confirmBeforeUpload = true;
    VersionSource m_versionPreference = VersionSource::EditableThenLive;
    bool m_preloadStatusOnLaunch = true;
    int m_parallelWorkers = 3;
    bool m_onboardingCompleted = false;
};
