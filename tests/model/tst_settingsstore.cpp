#include <SettingsStore.h>
#include <UserDefaults.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsStore final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void defaultsWhenNothingIsStored();
    void readsStoredValues();
    void settersWriteThroughAndNotifyOnChange();
    void parallelWorkers_data();
    void parallelWorkers();
    void versionPreference_data();
    void versionPreference();
    void usesStandardDefaultsWhenNoneGiven();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
};

void TestSettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<UserDefaults>(m_dir->filePath("defaults.ini"));
}

void TestSettingsStore::defaultsWhenNothingIsStored()
{
    const SettingsStore settings(m_defaults.get());
    QCOMPARE(settings.projectsRoot(), QString("~/workspace"));
    QCOMPARE(settings.confirmBeforeUpload(), true);
    QCOMPARE(settings.ascVersionPreference(), VersionSource::EditableThenLive);
    QCOMPARE(settings.preloadStatusOnLaunch(), true);
    QCOMPARE(settings.parallelWorkers(), 3);
    QCOMPARE(settings.onboardingCompleted(), false);
    // Reading writes nothing.
    QVERIFY(!QFile::exists(m_defaults->filePath()) || !m_defaults->contains(SettingsStore::parallelWorkersKey));
}

void TestSettingsStore::readsStoredValues()
{
    m_defaults->setValue(SettingsStore::projectsRootKey, "/srv/apps");
    m_defaults->setValue(SettingsStore::confirmBeforeUploadKey, false);
    m_defaults->setValue(SettingsStore::versionPreferenceKey, "live");
    m_defaults->setValue(SettingsStore::preloadStatusKey, false);
    m_defaults->setValue(SettingsStore::parallelWorkersKey, 6);
    m_defaults->setValue(SettingsStore::onboardingCompletedKey, true);

    // A fresh defaults object reads what reached the file.
    UserDefaults reopened(m_defaults->filePath());
    const SettingsStore settings(&reopened);
    QCOMPARE(settings.projectsRoot(), QString("/srv/apps"));
    QCOMPARE(settings.confirmBeforeUpload(), false);
    QCOMPARE(settings.ascVersionPreference(), VersionSource::Live);
    QCOMPARE(settings.preloadStatusOnLaunch(), false);
    QCOMPARE(settings.parallelWorkers(), 6);
    QCOMPARE(settings.onboardingCompleted(), true);
}

void TestSettingsStore::settersWriteThroughAndNotifyOnChange()
{
    SettingsStore settings(m_defaults.get());
    QSignalSpy rootSpy(&settings, &SettingsStore::projectsRootChanged);
    QSignalSpy workersSpy(&settings, &SettingsStore::parallelWorkersChanged);
    QSignalSpy versionSpy(&settings, &SettingsStore::ascVersionPreferenceChanged);
    QSignalSpy confirmSpy(&settings, &SettingsStore::confirmBeforeUploadChanged);

    settings.setProjectsRoot("/home/me/dev");
    settings.setParallelWorkers(8);
    settings.setAscVersionPreference(VersionSource::Live);
    settings.setConfirmBeforeUpload(false);
    settings.setPreloadStatusOnLaunch(false);
    settings.setOnboardingCompleted(true);

    UserDefaults reopened(m_defaults->filePath());
    QCOMPARE(reopened.string(SettingsStore::projectsRootKey), QString("/home/me/dev"));
    QCOMPARE(reopened.integer(SettingsStore::parallelWorkersKey), 8);
    QCOMPARE(reopened.string(SettingsStore::versionPreferenceKey), QString("live"));
    QCOMPARE(reopened.boolean(SettingsStore::confirmBeforeUploadKey), false);
    QCOMPARE(reopened.boolean(SettingsStore::preloadStatusKey), false);
    QCOMPARE(reopened.boolean(SettingsStore::onboardingCompletedKey), true);

    QCOMPARE(rootSpy.count(), 1);
    QCOMPARE(rootSpy.at(0).at(0).toString(), QString("/home/me/dev"));
    QCOMPARE(workersSpy.count(), 1);
    QCOMPARE(versionSpy.count(), 1);
    QCOMPARE(confirmSpy.count(), 1);

    // The same value again is no change.
    settings.setProjectsRoot("/home/me/dev");
    settings.setParallelWorkers(8);
    settings.setAscVersionPreference(VersionSource::Live);
    QCOMPARE(rootSpy.count(), 1);
    QCOMPARE(workersSpy.count(), 1);
    QCOMPARE(versionSpy.count(), 1);

    settings.setAscVersionPreference(VersionSource::EditableThenLive);
    QCOMPARE(UserDefaults(m_defaults->filePath()).string(SettingsStore::versionPreferenceKey), QString("editableThenLive"));
    QCOMPARE(versionSpy.count(), 2);
}

void TestSettingsStore::parallelWorkers_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("missing") << QVariant() << 3;
    QTest::newRow("integer") << QVariant(5) << 5;
    QTest::newRow("not clamped, zero") << QVariant(0) << 0;
    QTest::newRow("not clamped, large") << QVariant(64) << 64;
    QTest::newRow("not clamped, negative") << QVariant(-2) << -2;
    QTest::newRow("text") << QVariant("viele") << 3;
    QTest::newRow("fraction") << QVariant(2.5) << 3;
    QTest::newRow("empty text") << QVariant("") << 3;
    QTest::newRow("list") << QVariant(QStringList{"1", "2"}) << 3;
    QTest::newRow("beyond int") << QVariant(qint64(1) << 40) << 3;
}

void TestSettingsStore::parallelWorkers()
{
    QFETCH(QVariant, stored);
    QFETCH(int, expected);
    if (stored.isValid())
        m_defaults->setValue(SettingsStore::parallelWorkersKey, stored);
    UserDefaults reopened(m_defaults->filePath());
    QCOMPARE(SettingsStore(&reopened).parallelWorkers(), expected);
}

void TestSettingsStore::versionPreference_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<VersionSource>("expected");
    QTest::newRow("live") << QVariant("live") << VersionSource::Live;
    QTest::newRow("editableThenLive") << QVariant("editableThenLive") << VersionSource::EditableThenLive;
    QTest::newRow("other case") << QVariant("Live") << VersionSource::EditableThenLive;
    QTest::newRow("unknown") << QVariant("beta") << VersionSource::EditableThenLive;
    QTest::newRow("number") << QVariant(1) << VersionSource::EditableThenLive;
}

void TestSettingsStore::versionPreference()
{
    QFETCH(QVariant, stored);
    QFETCH(VersionSource, expected);
    m_defaults->setValue(SettingsStore::versionPreferenceKey, stored);
    UserDefaults reopened(m_defaults->filePath());
    QCOMPARE(SettingsStore(&reopened).ascVersionPreference(), expected);
}

void TestSettingsStore::usesStandardDefaultsWhenNoneGiven()
{
    const QString path = m_dir->filePath("standard.ini");
    UserDefaults::useFile(path);
    {
        SettingsStore settings;
        settings.setParallelWorkers(2);
    }
    QCOMPARE(UserDefaults(path).integer(SettingsStore::parallelWorkersKey), 2);
    QCOMPARE(SettingsStore().parallelWorkers(), 2);
    UserDefaults::useFile(m_dir->filePath("unused.ini"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
