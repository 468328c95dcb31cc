#include "SettingsStore.h"

#include <UserDefaults.h>

#include <limits>

namespace VersionSources {

QString caseName(VersionSource source)
{
    return source == VersionSource::Live ? QStringLiteral("live") : QStringLiteral("editableThenLive");
}

} // namespace VersionSources

namespace {

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

} // namespace

SettingsStore::SettingsStore(UserDefaults *defaults, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
{
    UserDefaults &store = this->defaults();
    m_projectsRoot = store.string(key(projectsRootKey)).value_or(QStringLiteral("~/workspace"));
    m_confirmBeforeUpload = store.boolean(key(confirmBeforeUploadKey)).value_or(true);
    m_versionPreference = store.string(key(versionPreferenceKey)) == QStringLiteral("live")
        ? VersionSource::Live
        : VersionSource::EditableThenLive;
    m_preloadStatusOnLaunch = store.boolean(key(preloadStatusKey)).value_or(true);
    // Whole numbers only, and only those an int can hold; anything else keeps the default.
    const auto workers = store.integer(key(parallelWorkersKey));
    if (workers && *workers >= std::numeric_limits<int>::min() && *workers <= std::numeric_limits<int>::max())
        m_parallelWorkers = static_cast<int>(*workers);
    m_onboardingCompleted = store.boolean(key(onboardingCompletedKey)).value_or(false);
}

UserDefaults &SettingsStore::defaults() const
{
    return m_defaults ? *m_defaults : UserDefaults::standard();
}

void SettingsStore::setProjectsRoot(const QString &value)
{
    defaults().setValue(key(projectsRootKey), value);
    if (m_projectsRoot == value)
        return;
    m_projectsRoot = value;
    Q_EMIT projectsRootChanged(value);
}

void SettingsStore::setConfirmBeforeUpload(bool value)
{
    defaults().setValue(key(confirmBeforeUploadKey), value);
    if (m_confirmBeforeUpload == value)
        return;
    m_confirmBeforeUpload = value;
    Q_EMIT confirmBeforeUploadChanged(value);
}

void SettingsStore::setAscVersionPreference(VersionSource value)
{
    defaults().setValue(key(versionPreferenceKey), VersionSources::caseName(value));
    if (m_versionPreference == value)
        return;
    m_versionPreference = value;
    Q_EMIT ascVersionPreferenceChanged(value);
}

void SettingsStore::setPreloadStatusOnLaunch(bool value)
{
    defaults().setValue(key(preloadStatusKey), value);
    if (m_preloadStatusOnLaunch == value)
        return;
    m_preloadStatusOnLaunch = value;
    Q_EMIT preloadStatusOnLaunchChanged(value);
}

void SettingsStore::setParallelWorkers(int value)
{
    defaults().setValue(key(parallelWorkersKey), value);
    if (m_parallelWorkers == value)
        return;
    m_parallelWorkers = value;
    Q_EMIT parallelWorkersChanged(value);
}

void SettingsStore::setOnboardingCompleted(bool value)
{
    defaults().setValue(key(onboardingCompletedKey), value);
    if (m_onboardingCompleted == value)
        return;
    m_onboardingCompleted = value;
    Q_EMIT onboardingCompletedChanged(value);
}
