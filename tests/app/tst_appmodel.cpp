#include "tst_app_fixture.h"

#include <AppModel.h>
#include <DemoWorkspace.h>
#include <LaunchFlag.h>
#include <ShotStore.h>
#include <UserDefaults.h>
#include <XcodeProjectInspector.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

class AppModelTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryHome> m_home;

    static void makeProject(const QString &root, const QString &name)
    {
        DemoWorkspace::TargetSpec app{name, true, QStringLiteral("iphoneos"), QStringLiteral("com.example.") + name.toLower(),
                                      QStringLiteral("1.0"), QStringLiteral("1")};
        const QString path = QStringLiteral("%1/%2/%2.xcodeproj/project.pbxproj").arg(root, name);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(DemoWorkspace::projectFile(name, {QStringLiteral("en")}, {app}).toUtf8());
    }

    static QStringList names(const AppModel &model)
    {
        QStringList result;
        for (const XcodeProject &project : model.projects())
            result << project.name;
        return result;
    }

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        QVERIFY(m_home->isValid());
    }

    void cleanup()
    {
        m_home.reset();
    }

    void onboardingShowsUntilCompleted()
    {
        {
            AppModel model;
            QVERIFY(model.showOnboarding());
            QVERIFY(!model.isDemo());

            QSignalSpy spy(&model, &AppModel::showOnboardingChanged);
            model.setShowOnboarding(true); // asking again still notifies
            QCOMPARE(spy.count(), 1);
            model.setShowOnboarding(false);
            QCOMPARE(spy.count(), 2);
            QCOMPARE(spy.last().first().toBool(), false);
            model.setShowOnboarding(false);
            QCOMPARE(spy.count(), 2);

            model.setShowOnboarding(true);
            model.settings()->setProjectsRoot(m_home->path());
            QSignalSpy scanning(&model, &AppModel::scanningChanged);
            model.completeOnboarding();
            QVERIFY(!model.showOnboarding());
            QVERIFY(model.settings()->onboardingCompleted());
            QCOMPARE(UserDefaults::standard().boolean(QStringLiteral("app.onboardingCompleted")), std::optional<bool>(true));
            // The end of onboarding refreshes.
            QVERIFY(model.isScanning());
            QTRY_VERIFY(!model.isScanning());
        }
        AppModel again;
        QVERIFY(!again.showOnboarding());
    }

    void demoNeverGreetsAtStartUpButShowsOnRequest()
    {
        AppModel model(true);
        QVERIFY(model.isDemo());
        QVERIFY(!model.showOnboarding());
        // "Onboarding erneut zeigen" is an explicit request: the sheet comes in demo mode too.
        QSignalSpy spy(&model, &AppModel::showOnboardingChanged);
        model.setShowOnboarding(true);
        QVERIFY(model.showOnboarding());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.last().first().toBool(), true);

        // Finishing it there leaves the real settings as they were.
        model.completeOnboarding();
        QVERIFY(!model.showOnboarding());
        QVERIFY(!UserDefaults::standard().contains(QStringLiteral("app.onboardingCompleted")));
        QVERIFY(!model.settings()->onboardingCompleted());
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(model.projects().size(), 3);
    }

    void chosenFolderIsStoredWithTildeAndScannedNext()
    {
        QTemporaryDir projects;
        makeProject(projects.path(), QStringLiteral("Chosen"));
        AppModel model;
        QSignalSpy changed(&model, &AppModel::projectsRootChanged);

        // Inside the home folder the setting keeps "~", as the default does; no folder is made.
        const QString home = QDir::homePath();
        if (QDir::cleanPath(home) == QLatin1String("/"))
            QSKIP("The home folder is the root folder here.");
        model.chooseProjectsRoot(home + QStringLiteral("/Entwicklung/Apps/"));
        QCOMPARE(model.settings()->projectsRoot(), QStringLiteral("~/Entwicklung/Apps"));
        QCOMPARE(UserDefaults::standard().string(QStringLiteral("projects.root")), std::optional(QStringLiteral("~/Entwicklung/Apps")));
        QCOMPARE(model.projectsRoot(), home + QStringLiteral("/Entwicklung/Apps"));
        QCOMPARE(model.projectsRootText(), QStringLiteral("~/Entwicklung/Apps"));
        QCOMPARE(changed.count(), 1);
        model.chooseProjectsRoot(home);
        QCOMPARE(model.settings()->projectsRoot(), QStringLiteral("~"));
        model.chooseProjectsRoot(QString()); // a cancelled chooser
        QCOMPARE(model.settings()->projectsRoot(), QStringLiteral("~"));
        QCOMPARE(changed.count(), 2);

        // Elsewhere the path is kept whole, and the next refresh scans it.
        model.chooseProjectsRoot(projects.path());
        QCOMPARE(model.settings()->projectsRoot(), projects.path());
        model.refresh();
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(names(model), QStringList{QStringLiteral("Chosen")});
        QVERIFY(AppModel(false).settings()->projectsRoot() == projects.path()); // survives a restart
    }

    void demoChoiceLastsOnlyThisSession()
    {
        QTemporaryDir projects;
        makeProject(projects.path(), QStringLiteral("Elsewhere"));
        UserDefaults::standard().setValue(QStringLiteral("projects.root"), QStringLiteral("~/real"));
        {
            AppModel model(true);
            QSignalSpy changed(&model, &AppModel::projectsRootChanged);
            QVERIFY(model.projectsRootText().endsWith(QStringLiteral("demo-workspace")));
            model.chooseProjectsRoot(projects.path());
            QCOMPARE(changed.count(), 1);
            QCOMPARE(model.projectsRoot(), projects.path());
            QCOMPARE(model.settings()->projectsRoot(), QStringLiteral("~/real"));
            QCOMPARE(UserDefaults::standard().string(QStringLiteral("projects.root")), std::optional(QStringLiteral("~/real")));
            model.refresh();
            QTRY_VERIFY(!model.isScanning());
            QCOMPARE(names(model), QStringList{QStringLiteral("Elsewhere")});
        }
        // The next demo starts on its own workspace again.
        AppModel again(true);
        QCOMPARE(again.projectsRoot(), DemoWorkspace::defaultFolder());
    }

    void chosenFolderIsScannedAtOnce_data()
    {
        QTest::addColumn<bool>("demo");
        QTest::newRow("settings") << false;
        QTest::newRow("demo") << true;
    }

    // The list follows a new choice without waiting for a refresh; the same folder again,
    // or a cancelled chooser, starts no scan.
    void chosenFolderIsScannedAtOnce()
    {
        QFETCH(bool, demo);
        QTemporaryDir projects;
        makeProject(projects.path(), QStringLiteral("Chosen"));
        UserDefaults::standard().setValue(QStringLiteral("projects.root"), QStringLiteral("~/real"));
        AppModel model(demo);

        model.chooseProjectsRoot(projects.path() + QStringLiteral("/"));
        QVERIFY(model.isScanning());
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(names(model), QStringList{QStringLiteral("Chosen")});
        QCOMPARE(model.selectedProject()->name, QStringLiteral("Chosen"));
        // Demo mode keeps its choice to the session; otherwise it is stored.
        QCOMPARE(model.settings()->projectsRoot(), demo ? QStringLiteral("~/real") : projects.path());

        QSignalSpy scanning(&model, &AppModel::scanningChanged);
        model.chooseProjectsRoot(projects.path());
        model.chooseProjectsRoot(QString());
        QVERIFY(!model.isScanning());
        QCOMPARE(scanning.count(), 0);
    }

    void homeRelativeFolders()
    {
        const QString home = QDir::cleanPath(QDir::homePath());
        if (home == QLatin1String("/"))
            QSKIP("The home folder is the root folder here.");
        QCOMPARE(AppModel::homeRelative(home), QStringLiteral("~"));
        QCOMPARE(AppModel::homeRelative(home + QStringLiteral("/a/b")), QStringLiteral("~/a/b"));
        // A sibling whose name merely starts like the home folder is no part of it.
        QCOMPARE(AppModel::homeRelative(home + QStringLiteral("2/a")), home + QStringLiteral("2/a"));
        QCOMPARE(AppModel::homeRelative(QStringLiteral("/opt/projects")), QStringLiteral("/opt/projects"));
    }

    void refreshScansAndKeepsTheSelection()
    {
        QTemporaryDir projects;
        makeProject(projects.path(), QStringLiteral("Bravo"));
        makeProject(projects.path(), QStringLiteral("Alpha"));

        AppModel model;
        model.settings()->setProjectsRoot(projects.path());
        QCOMPARE(model.projectsRoot(), projects.path());
        QVERIFY(model.projects().isEmpty());

        QSignalSpy scanning(&model, &AppModel::scanningChanged);
        model.refresh();
        QVERIFY(model.isScanning());
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(scanning.count(), 2);
        QCOMPARE(names(model), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Bravo")}));
        QCOMPARE(model.selectedProjectID(), model.projects().first().id);

        // A chosen project stays chosen across refreshes while it exists...
        const QString bravo = model.projects().last().id;
        model.setSelectedProjectID(bravo);
        makeProject(projects.path(), QStringLiteral("Charlie"));
        model.refresh();
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(model.projects().size(), 3);
        QCOMPARE(model.selectedProjectID(), bravo);
        QCOMPARE(model.selectedProject()->name, QStringLiteral("Bravo"));

        // ...and falls back to the first one when it is gone.
        QVERIFY(QDir(bravo).removeRecursively());
        model.refresh();
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(names(model), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Charlie")}));
        QCOMPARE(model.selectedProject()->name, QStringLiteral("Alpha"));
    }

    void onlyTheLatestRefreshIsApplied()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        makeProject(first.path(), QStringLiteral("Old"));
        makeProject(second.path(), QStringLiteral("New"));
        AppModel model;
        model.settings()->setProjectsRoot(first.path());
        model.refresh();
        model.settings()->setProjectsRoot(second.path());
        model.refresh();
        QTRY_VERIFY(!model.isScanning());
        QTest::qWait(50);
        QCOMPARE(names(model), QStringList{QStringLiteral("New")});
    }

    void scanThatOutlivesItsModelIsDropped()
    {
        QTemporaryDir projects;
        for (int i = 0; i < 20; ++i)
            makeProject(projects.path(), QStringLiteral("App%1").arg(i));
        for (int round = 0; round < 5; ++round) {
            auto model = std::make_unique<AppModel>();
            model->settings()->setProjectsRoot(projects.path());
            model->refresh();
            model.reset();
        }
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }

    void demoWorkspaceHasThreeSampleApps()
    {
        AppModel model(true);
        const QString root = model.projectsRoot();
        QCOMPARE(root, m_home->filePath(QStringLiteral("support/VeloranceStudio/demo-workspace")));
        QVERIFY(QFileInfo::exists(root + QStringLiteral("/.demo-v2")));
        QVERIFY(model.projects().isEmpty()); // empty until the first refresh

        model.refresh();
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(model.projects().size(), 3);
        QCOMPARE(model.selectedProjectID(), model.projects().first().id);

        int tvApps = 0;
        int withFramework = 0;
        for (const XcodeProject &project : model.projects()) {
            QVERIFY2(project.bundleIdentifier.has_value(), qPrintable(project.name));
            QVERIFY(project.fastlaneDirectory.has_value());
            QVERIFY(QFileInfo::exists(*project.fastlaneDirectory + QStringLiteral("/Fastfile")));
            const QString pbxproj = XcodeProjectInspector::readProjectFile(*project.xcodeprojPath);
            QVERIFY(!XcodeProjectInspector::knownRegions(pbxproj).isEmpty());
            const auto target = XcodeProjectInspector::launchTarget(pbxproj);
            QVERIFY(target.has_value());
            QCOMPARE(target->name, project.name);
            if (target->platform == SimPlatform::tvOS)
                ++tvApps;
            if (pbxproj.contains(QStringLiteral("com.apple.product-type.framework")))
                ++withFramework;
        }
        QCOMPARE(tvApps, 1);
        QCOMPARE(withFramework, 1);

        // The first app carries the launch flags and the plan.
        const XcodeProject &first = model.projects().first();
        const auto manifest = LaunchFlagsManifest::load(first.url);
        QVERIFY(manifest.has_value());
        QList<LaunchFlagType> types;
        for (const LaunchFlag &flag : manifest->flags)
            types << flag.type;
        QCOMPARE(types, (QList<LaunchFlagType>{LaunchFlagType::Bool, LaunchFlagType::Enum, LaunchFlagType::String}));
        const auto plan = ShotStore(*first.fastlaneDirectory).load();
        QVERIFY(plan.has_value());
        QCOMPARE(plan->lanes.size(), 2);
        QVERIFY(!plan->shots.isEmpty());
        for (const Lane &lane : plan->lanes) {
            bool hasShot = false;
            for (const Shot &shot : plan->shots)
                hasShot = hasShot || plan->shotBelongsToLane(shot, lane.id);
            QVERIFY2(hasShot, qPrintable(lane.name));
        }
    }

    void demoWorkspaceIsRebuiltOnlyWithoutItsMarker()
    {
        const QString folder = DemoWorkspace::defaultFolder();
        QVERIFY(DemoWorkspace::prepare(folder).ok());
        const QString stray = folder + QStringLiteral("/stray.txt");
        QFile file(stray);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        // With the marker the workspace is left as it is.
        QVERIFY(DemoWorkspace::prepare(folder).ok());
        QVERIFY(QFileInfo::exists(stray));

        // Without it, the workspace is built again from scratch.
        QVERIFY(QFile::remove(folder + QStringLiteral("/.demo-v2")));
        const auto result = DemoWorkspace::prepare(folder);
        QVERIFY(result.ok());
        QCOMPARE(result.value(), folder);
        QVERIFY(!QFileInfo::exists(stray));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/.demo-v2")));
        QCOMPARE(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
    }
};

QTEST_GUILESS_MAIN(AppModelTest)
#include "tst_appmodel.moc"
