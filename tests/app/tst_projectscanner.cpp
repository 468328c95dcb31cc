#include <DemoWorkspace.h>
#include <FastlaneAppfile.h>
#include <ProjectScanner.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class ProjectScannerTest final : public QObject
{
    Q_OBJECT

private:
    static void writeFile(const QString &path, const QString &text)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    static QString appProject(const QString &name, const QString &bundleIdentifier)
    {
        DemoWorkspace::TargetSpec app{name, true, QStringLiteral("iphoneos"), bundleIdentifier,
                                      QStringLiteral("1.0"), QStringLiteral("1")};
        return DemoWorkspace::projectFile(name, {QStringLiteral("en")}, {app});
    }

    // A project folder "<parent>/<name>" with "<name>.xcodeproj/project.pbxproj".
    static void makeProject(const QString &parent, const QString &name, const QString &pbxproj, bool fastlane)
    {
        const QString folder = QDir(parent).filePath(name);
        writeFile(folder + QStringLiteral("/") + name + QStringLiteral(".xcodeproj/project.pbxproj"), pbxproj);
        if (fastlane)
            writeFile(folder + QStringLiteral("/fastlane/Fastfile"), QStringLiteral("lane :beta do\nend\n"));
    }

    // A workspace at `path` that lists the projects "<root>/Repo/<name>/<name>.xcodeproj".
    static void writeWorkspace(const QString &root, const QString &path, const QStringList &listed)
    {
        const QDir container = QFileInfo(path).dir();
        QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Workspace version = \"1.0\">\n");
        for (const QString &name : listed) {
            const QString project = QStringLiteral("%1/Repo/%2/%2.xcodeproj").arg(root, name);
            text += QStringLiteral("   <FileRef location = \"group:%1\"></FileRef>\n").arg(container.relativeFilePath(project));
        }
        writeFile(path + QStringLiteral("/contents.xcworkspacedata"), text + QStringLiteral("</Workspace>\n"));
    }

    static QStringList names(const QList<XcodeProject> &projects)
    {
        QStringList result;
        for (const XcodeProject &project : projects)
            result << project.name;
        return result;
    }

    static const XcodeProject *byName(const QList<XcodeProject> &projects, const QString &name)
    {
        for (const XcodeProject &project : projects) {
            if (project.name == name)
                return &project;
        }
        return nullptr;
    }

private Q_SLOTS:
    void scansTreeWithinFourLevelsSkippingWhatItMust()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString root = temp.path();

        makeProject(root, QStringLiteral("Alpha"), appProject(QStringLiteral("Alpha"), QStringLiteral("com.example.alpha")), true);
        makeProject(root + QStringLiteral("/clients"), QStringLiteral("Beta"),
                    appProject(QStringLiteral("Beta"), QStringLiteral("$(BASE_BUNDLE_ID).beta")), true);
        makeProject(root, QStringLiteral("zeta"), appProject(QStringLiteral("zeta"), QStringLiteral("com.example.zeta")), false);
        // Four levels down is found, five is too deep.
        makeProject(root + QStringLiteral("/clients/archive/2019"), QStringLiteral("Deep"), appProject(QStringLiteral("Deep"), QStringLiteral("x")), true);
        makeProject(root + QStringLiteral("/clients/archive/2019/old"), QStringLiteral("Deeper"), appProject(QStringLiteral("Deeper"), QStringLiteral("x")), true);
        // Folders the scan never enters, also where they lie below the top.
        for (const QString &skipped : {QStringLiteral(".hidden"), QStringLiteral("build"), QStringLiteral("DerivedData"),
                                       QStringLiteral("Pods"), QStringLiteral("node_modules"), QStringLiteral("Carthage"),
                                       QStringLiteral("SourcePackages"), QStringLiteral(".build"), QStringLiteral("vendor")}) {
            makeProject(root + QStringLiteral("/") + skipped, QStringLiteral("Skipped"), appProject(QStringLiteral("Skipped"), QStringLiteral("x")), true);
            makeProject(root + QStringLiteral("/clients/") + skipped + QStringLiteral("/Checkouts"), QStringLiteral("Skipped"),
                        appProject(QStringLiteral("Skipped"), QStringLiteral("x")), true);
        }
        makeProject(root, QStringLiteral(".Secret"), appProject(QStringLiteral("Secret"), QStringLiteral("x")), true);

        // A project file without any bundle identifier, and no fastlane folder.
        writeFile(root + QStringLiteral("/NoBundle/NoBundle.xcodeproj/project.pbxproj"),
                  QStringLiteral("// !$*UTF8*$!\n{\n\tobjects = {\n\t};\n}\n"));
        // A fastlane *file* is not a fastlane folder.
        writeFile(root + QStringLiteral("/NoBundle/fastlane"), QStringLiteral("not a folder"));
        // Broken or hostile entries: they must be skipped, never stall or fail the scan.
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/velorance"), root + QStringLiteral("/Dangling")));
        QVERIFY(QFile::link(root, root + QStringLiteral("/clients/Loop")));
        QCOMPARE(::mkfifo(QFile::encodeName(root + QStringLiteral("/Pipe")).constData(), 0600), 0);
        QVERIFY(QDir().mkpath(root + QStringLiteral("/Fifo/Fifo.xcodeproj")));
        QCOMPARE(::mkfifo(QFile::encodeName(root + QStringLiteral("/Fifo/Fifo.xcodeproj/project.pbxproj")).constData(), 0600), 0);
        QVERIFY(QDir().mkpath(root + QStringLiteral("/Locked/Inner")));
        QCOMPARE(::chmod(QFile::encodeName(root + QStringLiteral("/Locked")).constData(), 0), 0);

        const QList<XcodeProject> projects = ProjectScanner::scan(root);
        ::chmod(QFile::encodeName(root + QStringLiteral("/Locked")).constData(), 0700);

        // Sorted by name regardless of case; each project once (the link back to the root
        // leads nowhere new), none from too deep.
        QCOMPARE(names(projects), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Deep"),
                                     QStringLiteral("Fifo"), QStringLiteral("NoBundle"), QStringLiteral("zeta")}));

        const XcodeProject *alpha = byName(projects, QStringLiteral("Alpha"));
        QVERIFY(alpha);
        QCOMPARE(alpha->id, QDir(root).filePath(QStringLiteral("Alpha")));
        QCOMPARE(alpha->url, alpha->id);
        QCOMPARE(alpha->xcodeprojPath, QDir(root).filePath(QStringLiteral("Alpha/Alpha.xcodeproj")));
        QCOMPARE(alpha->fastlaneDirectory, QDir(root).filePath(QStringLiteral("Alpha/fastlane")));
        QVERIFY(alpha->hasFastlane);
        QCOMPARE(alpha->bundleIdentifier, QStringLiteral("com.example.alpha"));

        // A build-setting reference that nothing defines is never taken for an identifier.
        const XcodeProject *beta = byName(projects, QStringLiteral("Beta"));
        QVERIFY(beta);
        QCOMPARE(beta->bundleIdentifier, std::nullopt);

        const XcodeProject *noBundle = byName(projects, QStringLiteral("NoBundle"));
        QVERIFY(noBundle);
        QCOMPARE(noBundle->bundleIdentifier, std::nullopt);
        QCOMPARE(noBundle->fastlaneDirectory, std::nullopt);
        QVERIFY(!noBundle->hasFastlane);

        const XcodeProject *fifo = byName(projects, QStringLiteral("Fifo"));
        QVERIFY(fifo);
        QCOMPARE(fifo->bundleIdentifier, std::nullopt);

        QCOMPARE(byName(projects, QStringLiteral("zeta"))->fastlaneDirectory, std::nullopt);
    }

    void prefersTheProjectNamedLikeItsFolder()
    {
        QTemporaryDir temp;
        const QString folder = temp.path() + QStringLiteral("/Shop");
        writeFile(folder + QStringLiteral("/Admin.xcodeproj/project.pbxproj"), QString());
        writeFile(folder + QStringLiteral("/Shop.xcodeproj/project.pbxproj"), appProject(QStringLiteral("Shop"), QStringLiteral("com.example.shop")));
        const QList<XcodeProject> projects = ProjectScanner::scan(temp.path());
        QCOMPARE(projects.size(), 1);
        QCOMPARE(projects.first().name, QStringLiteral("Shop"));
        QCOMPARE(projects.first().bundleIdentifier, QStringLiteral("com.example.shop"));
    }

    // The shapes of tests/data/xcode: an identifier built from .xcconfig files (TidePool), a
    // CocoaPods workspace (Beacon), a repository with fastlane at its top (Harbor), two
    // projects under one fastlane folder (Fleet), a workspace and fastlane at the top of a
    // repository whose app and frameworks lie in subfolders (Bazaar), a monorepo with its app
    // three levels down beside dependency folders (Atoll).
    void scansRealProjectShapes()
    {
        const QString root = QStringLiteral(VELORANCE_TEST_DATA_DIR "/xcode");
        const QList<XcodeProject> projects = ProjectScanner::scan(root);
        QCOMPARE(
            names(projects),
            (QStringList{QStringLiteral("Atoll"), QStringLiteral("Bazaar"),
                         QStringLiteral("Beacon"), QStringLiteral("Catalog"),
                         QStringLiteral("Driver"), QStringLiteral("Ember"),
                         QStringLiteral("Harbor"), QStringLiteral("Kestrel"),
                         QStringLiteral("Lantern"), QStringLiteral("Lookout"),
                         QStringLiteral("Payments"), QStringLiteral("Prism"),
                         QStringLiteral("Quarry"), QStringLiteral("Rider"),
                         QStringLiteral("TidePool")}));

        const XcodeProject *atoll = byName(projects, QStringLiteral("Atoll"));
        QCOMPARE(atoll->url, root + QStringLiteral("/Atoll/apps/ios"));
        QCOMPARE(atoll->bundleIdentifier, QStringLiteral("org.example.atoll"));
        QCOMPARE(atoll->fastlaneDirectory, root + QStringLiteral("/Atoll/fastlane"));

        const XcodeProject *bazaar = byName(projects, QStringLiteral("Bazaar"));
        QCOMPARE(bazaar->url, root + QStringLiteral("/Bazaar/Bazaar"));
        QCOMPARE(bazaar->workspacePath, root + QStringLiteral("/Bazaar/Bazaar.xcworkspace"));
        QCOMPARE(bazaar->fastlaneDirectory, root + QStringLiteral("/Bazaar/fastlane"));
        const XcodeProject *payments = byName(projects, QStringLiteral("Payments"));
        QCOMPARE(payments->workspacePath, root + QStringLiteral("/Bazaar/Bazaar.xcworkspace"));
        QCOMPARE(payments->fastlaneDirectory, std::nullopt);

        const XcodeProject *tidePool = byName(projects, QStringLiteral("TidePool"));
        QCOMPARE(tidePool->bundleIdentifier, QStringLiteral("org.example.Tide-Pool"));
        QCOMPARE(tidePool->marketingVersion, QStringLiteral("1.8"));
        QCOMPARE(byName(projects, QStringLiteral("Kestrel"))->bundleIdentifier, QStringLiteral("org.example.Kestrel"));
        // "$NAME" and a version set through an .xcconfig setting.
        QCOMPARE(byName(projects, QStringLiteral("Lantern"))->bundleIdentifier, QStringLiteral("io.example.lantern"));
        QCOMPARE(byName(projects, QStringLiteral("Lantern"))->marketingVersion, QStringLiteral("3.1"));

        const XcodeProject *beacon = byName(projects, QStringLiteral("Beacon"));
        QCOMPARE(beacon->workspacePath, root + QStringLiteral("/Beacon/Beacon.xcworkspace"));
        QCOMPARE(beacon->bundleIdentifier, QStringLiteral("org.example.beacon"));
        QCOMPARE(tidePool->workspacePath, std::nullopt);

        const XcodeProject *harbor = byName(projects, QStringLiteral("Harbor"));
        QCOMPARE(harbor->url, root + QStringLiteral("/Harbor/App"));
        QCOMPARE(harbor->fastlaneDirectory, root + QStringLiteral("/Harbor/fastlane"));
        QVERIFY(harbor->hasFastlane);
        for (const QString &name : {QStringLiteral("Driver"), QStringLiteral("Rider")}) {
            QCOMPARE(byName(projects, name)->fastlaneDirectory, std::nullopt);
            QVERIFY(!byName(projects, name)->hasFastlane);
        }
    }

    void fastlaneFolderAboveTheProject_data()
    {
        // Folders to make below the root (a name ending in ".xcodeproj" makes an application
        // project of its folder, one ending in ".xcodeproj:framework" a framework project),
        // the project looked at and its fastlane folder expected (relative to the root).
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("expected");

        QTest::newRow("repository's top") << QStringList{"Repo/fastlane", "Repo/App/App.xcodeproj"} << "App" << "Repo/fastlane";
        QTest::newRow("its own wins") << QStringList{"Repo/fastlane", "Repo/App/App.xcodeproj", "Repo/App/fastlane"} << "App"
                                      << "Repo/App/fastlane";
        QTest::newRow("the projects folder's own is not taken") << QStringList{"fastlane", "App/App.xcodeproj"} << "App" << "";
        QTest::newRow("shared with another project") << QStringList{"Repo/fastlane", "Repo/App/App.xcodeproj", "Repo/Admin/Admin.xcodeproj"}
                                                     << "App" << "";
        QTest::newRow("a project elsewhere does not") << QStringList{"Repo/fastlane", "Repo/App/App.xcodeproj", "Other/Admin/Admin.xcodeproj"}
                                                      << "App" << "Repo/fastlane";
        QTest::newRow("a folder named alike is not under it")
            << QStringList{"Repo/fastlane", "Repo/App/App.xcodeproj", "Repo2/Admin/Admin.xcodeproj"} << "App" << "Repo/fastlane";

        const QStringList appAmongFrameworks{"Repo/fastlane", "Repo/App/App.xcodeproj", "Repo/Kit/Kit.xcodeproj:framework",
                                             "Repo/Modules/UI/UI.xcodeproj:framework"};
        QTest::newRow("the one application among frameworks") << appAmongFrameworks << "App" << "Repo/fastlane";
        QTest::newRow("a framework beside the application") << appAmongFrameworks << "Kit" << "";
        QTest::newRow("a framework alone under it") << QStringList{"Repo/fastlane", "Repo/Kit/Kit.xcodeproj:framework"} << "Kit"
                                                    << "Repo/fastlane";
        QTest::newRow("two applications among frameworks")
            << QStringList{"Repo/fastlane", "Repo/App/App.xcodeproj", "Repo/Admin/Admin.xcodeproj", "Repo/Kit/Kit.xcodeproj:framework"}
            << "App" << "";

        // Only a repository's top adopts: a grouping folder's fastlane folder is nobody's.
        QTest::newRow("a grouping folder") << QStringList{"Projects/Clients/fastlane", "Projects/Clients/App/App.xcodeproj"} << "App" << "";
        QTest::newRow("the top's beyond a grouping folder's")
            << QStringList{"Projects/fastlane", "Projects/Clients/fastlane", "Projects/Clients/App/App.xcodeproj"} << "App"
            << "Projects/fastlane";
        QTest::newRow("a repository inside a grouping folder")
            << QStringList{"Projects/Clients/Repo/.git", "Projects/Clients/Repo/fastlane", "Projects/Clients/Repo/App/App.xcodeproj"}
            << "App" << "Projects/Clients/Repo/fastlane";
    }

    void fastlaneFolderAboveTheProject()
    {
        QFETCH(QStringList, folders);
        QFETCH(QString, project);
        QFETCH(QString, expected);
        QTemporaryDir temp;
        const QString root = temp.path();
        for (const QString &folder : folders) {
            const QString bundle = folder.section(u':', 0, 0);
            if (bundle.endsWith(QStringLiteral(".xcodeproj"))) {
                const QString name = QFileInfo(bundle).completeBaseName();
                const DemoWorkspace::TargetSpec target{name, !folder.endsWith(QStringLiteral(":framework")), QStringLiteral("iphoneos"),
                                                       QStringLiteral("org.example.x"), QStringLiteral("1.0"), QStringLiteral("1")};
                writeFile(root + u'/' + bundle + QStringLiteral("/project.pbxproj"),
                          DemoWorkspace::projectFile(name, {QStringLiteral("en")}, {target}));
            } else {
                QVERIFY(QDir().mkpath(root + u'/' + folder));
            }
        }
        const QList<XcodeProject> projects = ProjectScanner::scan(root);
        const XcodeProject *found = byName(projects, project);
        QVERIFY(found);
        QCOMPARE(found->fastlaneDirectory, expected.isEmpty() ? std::nullopt : std::optional<QString>(root + u'/' + expected));
        QCOMPARE(found->hasFastlane, !expected.isEmpty());
        QVERIFY(!found->url.endsWith(QStringLiteral("/Repo")));
    }

    void appfileIdentifier_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("call with parentheses and a comment")
            << QByteArray("app_identifier(\"com.example.woo\") # The bundle identifier of your app\n") << "com.example.woo";
        QTest::newRow("call without parentheses") << QByteArray("  app_identifier \"com.example.woo\"\n") << "com.example.woo";
        QTest::newRow("single quotes") << QByteArray("app_identifier( 'com.example.woo' )") << "com.example.woo";
        QTest::newRow("Windows line ends") << QByteArray("apple_id \"a@example.com\"\r\napp_identifier \"com.example.woo\"\r\n")
                                         << "com.example.woo";
        QTest::newRow("the first one given plainly")
            << QByteArray("app_identifier ENV[\"APP_ID\"]\napp_identifier \"com.example.a\"\napp_identifier \"com.example.b\"\n")
            << "com.example.a";

        // Nothing that Ruby would have to work out.
        QTest::newRow("commented out") << QByteArray("# app_identifier \"com.example.woo\"\n") << "";
        QTest::newRow("an environment variable") << QByteArray("app_identifier(ENV[\"APP_ID\"])\n") << "";
        QTest::newRow("interpolated") << QByteArray("app_identifier \"com.example.#{flavour}\"\n") << "";
        QTest::newRow("escaped") << QByteArray("app_identifier \"com.example\\\".woo\"\n") << "";
        QTest::newRow("a list") << QByteArray("app_identifier [\"com.example.a\", \"com.example.b\"]\n") << "";
        QTest::newRow("a condition after it") << QByteArray("app_identifier \"com.example.woo\" if ENV[\"CI\"]\n") << "";
        QTest::newRow("an unclosed call") << QByteArray("app_identifier(\"com.example.woo\"\n") << "";
        QTest::newRow("another setting named alike") << QByteArray("app_identifier_extra \"com.example.woo\"\n") << "";
    }

    void appfileIdentifier()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QCOMPARE(FastlaneAppfile::appIdentifier(text), expected.isEmpty() ? std::nullopt : std::optional<QString>(expected));
    }

    // The Appfile comes with the clone: what cannot be read safely is not read.
    void appfileIsReadOnlyFromTheRepository_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a file") << "file" << "com.example.woo";
        QTest::newRow("a link inside the repository") << "link inside" << "com.example.woo";
        QTest::newRow("a link out of the repository") << "link outside" << "";
        QTest::newRow("a FIFO") << "fifo" << "";
        QTest::newRow("larger than any Appfile") << "large" << "";
    }

    void appfileIsReadOnlyFromTheRepository()
    {
        QFETCH(QString, shape);
        QFETCH(QString, expected);
        QTemporaryDir temp;
        QTemporaryDir elsewhere;
        const QString repo = temp.path() + QStringLiteral("/Repo");
        const QString appfile = repo + QStringLiteral("/fastlane/Appfile");
        const QByteArray text("app_identifier(\"com.example.woo\")\n");
        QVERIFY(QDir().mkpath(repo + QStringLiteral("/fastlane")));
        if (shape == QLatin1String("file")) {
            writeFile(appfile, QString::fromUtf8(text));
        } else if (shape == QLatin1String("link inside")) {
            writeFile(repo + QStringLiteral("/config/Appfile"), QString::fromUtf8(text));
            QVERIFY(QFile::link(repo + QStringLiteral("/config/Appfile"), appfile));
        } else if (shape == QLatin1String("link outside")) {
            writeFile(elsewhere.filePath(QStringLiteral("Appfile")), QString::fromUtf8(text));
            QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("Appfile")), appfile));
        } else if (shape == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(appfile).constData(), 0600), 0);
        } else {
            writeFile(appfile, QString::fromUtf8(text + QByteArray(FastlaneAppfile::maximumBytes, '\n')));
        }
        const auto identifier = FastlaneAppfile::readAppIdentifier(repo + QStringLiteral("/fastlane"), repo);
        QCOMPARE(identifier, expected.isEmpty() ? std::nullopt : std::optional<QString>(expected));
    }

    // "Repo" holds a fastlane folder above two applications, "WooCommerce" (Release
    // identifier "com.example.woo", Debug "com.example.woo.debug") and "Hardware"
    // ("com.example.hardware"), and a framework "Kit" ("com.example.kit").
    void fastlaneFolderAboveSeveralApplications_data()
    {
        QTest::addColumn<QByteArray>("appfile");   // none when null
        QTest::addColumn<QString>("workspace");    // below "Repo"; none when empty
        QTest::addColumn<QStringList>("listed");   // the projects the workspace lists
        QTest::addColumn<QString>("owner");        // the project that takes the fastlane folder

        const QStringList apps{QStringLiteral("WooCommerce"), QStringLiteral("Hardware")};
        const QString topWorkspace = QStringLiteral("WooCommerce.xcworkspace");
        QTest::newRow("neither Appfile nor workspace") << QByteArray() << QString() << QStringList() << "";

        QTest::newRow("Appfile naming one, before the workspace")
            << QByteArray("app_identifier(\"com.example.hardware\") # The bundle identifier of your app\napple_id(\"dev@example.com\")\n")
            << topWorkspace << apps << "Hardware";
        QTest::newRow("Appfile naming one plainly") << QByteArray("app_identifier \"com.example.woo\"\n") << QString() << QStringList() << "WooCommerce";
        QTest::newRow("Appfile naming the Debug identifier") << QByteArray("app_identifier \"com.example.woo.debug\"\n") << QString()
                                                            << QStringList() << "";
        QTest::newRow("Appfile naming the framework") << QByteArray("app_identifier \"com.example.kit\"\n") << QString() << QStringList() << "";
        QTest::newRow("Appfile naming an app elsewhere") << QByteArray("app_identifier \"com.example.other\"\n") << QString()
                                                        << QStringList() << "";

        QTest::newRow("workspace at the top") << QByteArray() << topWorkspace << apps << "WooCommerce";
        QTest::newRow("Appfile not plain, workspace at the top") << QByteArray("app_identifier ENV[\"APP_IDENTIFIER\"]\n") << topWorkspace
                                                                 << apps << "WooCommerce";
        QTest::newRow("Appfile naming an app elsewhere, workspace at the top")
            << QByteArray("app_identifier \"com.example.other\"\n") << topWorkspace << apps << "WooCommerce";
        QTest::newRow("workspace at the top not listing its namesake") << QByteArray() << topWorkspace << QStringList{"Hardware"} << "";
        QTest::newRow("workspace named like no project") << QByteArray() << "Shop.xcworkspace" << apps << "";
        QTest::newRow("workspace named like the framework") << QByteArray() << "Kit.xcworkspace" << (apps + QStringList{"Kit"}) << "";
        QTest::newRow("workspace beside the project, not at the top")
            << QByteArray() << "WooCommerce/WooCommerce.xcworkspace" << QStringList{"WooCommerce"} << "";
    }

    void fastlaneFolderAboveSeveralApplications()
    {
        QFETCH(QByteArray, appfile);
        QFETCH(QString, workspace);
        QFETCH(QStringList, listed);
        QFETCH(QString, owner);
        QTemporaryDir temp;
        const QString root = temp.path();
        const QString repo = root + QStringLiteral("/Repo");
        writeFile(repo + QStringLiteral("/fastlane/Fastfile"), QStringLiteral("lane :screenshots do\nend\n"));
        if (!appfile.isNull())
            writeFile(repo + QStringLiteral("/fastlane/Appfile"), QString::fromUtf8(appfile));

        QString woo = appProject(QStringLiteral("WooCommerce"), QStringLiteral("com.example.woo"));
        QCOMPARE(woo.count(QStringLiteral("com.example.woo")), 2); // Debug first, then Release
        woo.replace(woo.indexOf(QStringLiteral("com.example.woo")), 15, QStringLiteral("com.example.woo.debug"));
        makeProject(repo, QStringLiteral("WooCommerce"), woo, false);
        makeProject(repo, QStringLiteral("Hardware"), appProject(QStringLiteral("Hardware"), QStringLiteral("com.example.hardware")), false);
        const DemoWorkspace::TargetSpec kit{QStringLiteral("Kit"), false, QStringLiteral("iphoneos"), QStringLiteral("com.example.kit"),
                                            QStringLiteral("1.0"), QStringLiteral("1")};
        makeProject(repo, QStringLiteral("Kit"), DemoWorkspace::projectFile(QStringLiteral("Kit"), {QStringLiteral("en")}, {kit}), false);
        if (!workspace.isEmpty())
            writeWorkspace(root, repo + u'/' + workspace, listed);

        const QList<XcodeProject> projects = ProjectScanner::scan(root);
        QCOMPARE(names(projects), (QStringList{QStringLiteral("Hardware"), QStringLiteral("Kit"), QStringLiteral("WooCommerce")}));
        QCOMPARE(byName(projects, QStringLiteral("WooCommerce"))->bundleIdentifier, QStringLiteral("com.example.woo"));
        for (const XcodeProject &project : projects) {
            const bool takes = project.name == owner;
            QCOMPARE(project.fastlaneDirectory, takes ? std::optional<QString>(repo + QStringLiteral("/fastlane")) : std::nullopt);
            QCOMPARE(project.hasFastlane, takes);
        }
    }

    // Links that came with a cloned repository are followed only where they stay in the
    // projects folder; a link directly in it is the user's own and leads anywhere.
    void linksInsideARepositoryStayInTheProjectsFolder()
    {
        QTemporaryDir temp;
        QTemporaryDir elsewhere;
        QTemporaryDir linkedIn;
        const QString root = temp.path();
        makeProject(root + QStringLiteral("/Repo"), QStringLiteral("App"), appProject(QStringLiteral("App"), QStringLiteral("org.example.app")), true);
        makeProject(elsewhere.path(), QStringLiteral("Outside"), appProject(QStringLiteral("Outside"), QStringLiteral("org.example.outside")), true);
        QVERIFY(QDir().mkpath(root + QStringLiteral("/Repo/Modules")));
        QVERIFY(QFile::link(elsewhere.path(), root + QStringLiteral("/Repo/Elsewhere")));
        QVERIFY(QFile::link(elsewhere.path() + QStringLiteral("/Outside"), root + QStringLiteral("/Repo/Modules/Outside")));
        QVERIFY(QFile::link(QStringLiteral("/"), root + QStringLiteral("/Repo/Everything")));
        QVERIFY(QFile::link(QStringLiteral("/proc"), root + QStringLiteral("/Repo/Modules/proc")));
        // Reached only through links, as the scan never enters a hidden folder itself.
        makeProject(root + QStringLiteral("/.shared"), QStringLiteral("Kit"), appProject(QStringLiteral("Kit"), QStringLiteral("org.example.kit")), false);
        QVERIFY(QFile::link(root + QStringLiteral("/.shared/Kit"), root + QStringLiteral("/Repo/Kit")));
        QVERIFY(QFile::link(root + QStringLiteral("/.shared"), root + QStringLiteral("/Repo/Modules/Shared")));

        // A repository the user linked in: its own links stay inside it or the projects folder.
        const QString linked = linkedIn.path();
        makeProject(linked, QStringLiteral("Linked"), appProject(QStringLiteral("Linked"), QStringLiteral("org.example.linked")), true);
        makeProject(linked + QStringLiteral("/.samples"), QStringLiteral("Sample"), appProject(QStringLiteral("Sample"), QStringLiteral("org.example.sample")), false);
        QVERIFY(QFile::link(linked + QStringLiteral("/.samples/Sample"), linked + QStringLiteral("/Sample")));
        QVERIFY(QFile::link(linked + QStringLiteral("/.."), linked + QStringLiteral("/Up")));
        QVERIFY(QFile::link(linked, root + QStringLiteral("/Mine")));

        const QList<XcodeProject> projects = ProjectScanner::scan(root);
        QCOMPARE(names(projects), (QStringList{QStringLiteral("App"), QStringLiteral("Kit"), QStringLiteral("Linked"), QStringLiteral("Sample")}));
        QCOMPARE(byName(projects, QStringLiteral("App"))->url, root + QStringLiteral("/Repo/App"));
        QCOMPARE(byName(projects, QStringLiteral("Kit"))->url, root + QStringLiteral("/Repo/Kit"));
        QCOMPARE(byName(projects, QStringLiteral("Linked"))->url, root + QStringLiteral("/Mine/Linked"));
        QCOMPARE(byName(projects, QStringLiteral("Sample"))->url, root + QStringLiteral("/Mine/Sample"));
        for (const XcodeProject &project : projects)
            QVERIFY2(project.url.startsWith(root + u'/'), qPrintable(project.url));
    }

    // A repository and a link to it beside it, or two links to one place, are one project,
    // listed where it is reached without a link.
    void folderReachedThroughLinksIsListedOnce()
    {
        QTemporaryDir temp;
        QTemporaryDir elsewhere;
        const QString root = temp.path();
        makeProject(root, QStringLiteral("Shop"), appProject(QStringLiteral("Shop"), QStringLiteral("org.example.shop")), true);
        QVERIFY(QFile::link(root + QStringLiteral("/Shop"), root + QStringLiteral("/Alias")));
        QVERIFY(QDir().mkpath(root + QStringLiteral("/group")));
        QVERIFY(QFile::link(root + QStringLiteral("/Shop"), root + QStringLiteral("/group/Shop Link")));
        makeProject(elsewhere.path(), QStringLiteral("Kiosk"), appProject(QStringLiteral("Kiosk"), QStringLiteral("org.example.kiosk")), false);
        QVERIFY(QFile::link(elsewhere.path() + QStringLiteral("/Kiosk"), root + QStringLiteral("/Kiosk B")));
        QVERIFY(QFile::link(elsewhere.path() + QStringLiteral("/Kiosk"), root + QStringLiteral("/Kiosk A")));

        const QList<XcodeProject> projects = ProjectScanner::scan(root);
        QCOMPARE(names(projects), (QStringList{QStringLiteral("Kiosk"), QStringLiteral("Shop")}));
        QCOMPARE(byName(projects, QStringLiteral("Shop"))->id, root + QStringLiteral("/Shop"));
        QCOMPARE(byName(projects, QStringLiteral("Kiosk"))->id, root + QStringLiteral("/Kiosk A"));
    }

    // Settings files beside the app's folder ("../config") are read up to the repository's
    // top, which without ".git" is the folder directly below the projects folder; a copy of
    // them beside the repository is never read.
    void settingsFilesElsewhereInTheRepository()
    {
        QTemporaryDir temp;
        const QString root = temp.path();
        const QString repository = root + QStringLiteral("/Tally");
        QVERIFY(QDir().mkpath(repository));
        const QString fixture = QStringLiteral(VELORANCE_SOURCE_DIR "/tests/data/repository");
        for (const QString &file : {QStringLiteral("Tally/Tally.xcodeproj/project.pbxproj"), QStringLiteral("config/Release.xcconfig"),
                                    QStringLiteral("config/Version.Public.xcconfig")}) {
            QVERIFY(QDir().mkpath(QFileInfo(repository + u'/' + file).absolutePath()));
            QVERIFY(QFile::copy(fixture + u'/' + file, repository + u'/' + file));
        }
        const QList<XcodeProject> projects = ProjectScanner::scan(root);
        QCOMPARE(names(projects), QStringList{QStringLiteral("Tally")});
        QCOMPARE(projects.first().bundleIdentifier, std::optional<QString>(QStringLiteral("org.example.tally")));
        QCOMPARE(projects.first().marketingVersion, std::optional<QString>(QStringLiteral("4.2")));

        // The project moved up to the repository's top: "../config" now lies beside the
        // repository, in the projects folder, and nothing is read from there.
        QVERIFY(QDir().rename(repository + QStringLiteral("/Tally/Tally.xcodeproj"), repository + QStringLiteral("/Tally.xcodeproj")));
        QVERIFY(QDir().rmdir(repository + QStringLiteral("/Tally")));
        QVERIFY(QDir().rename(repository + QStringLiteral("/config"), root + QStringLiteral("/config")));
        const QList<XcodeProject> again = ProjectScanner::scan(root);
        QCOMPARE(names(again), QStringList{QStringLiteral("Tally")});
        QCOMPARE(again.first().bundleIdentifier, std::optional<QString>());
        QCOMPARE(again.first().marketingVersion, std::optional<QString>());
    }

    void missingOrEmptyRootGivesNothing_data()
    {
        QTest::addColumn<QString>("root");
        QTest::newRow("missing") << QStringLiteral("/nonexistent/velorance/workspace");
        QTest::newRow("empty") << QString();
        QTest::newRow("a file") << QStringLiteral(VELORANCE_SOURCE_DIR "/CMakeLists.txt");
    }

    void missingOrEmptyRootGivesNothing()
    {
        QFETCH(QString, root);
        QVERIFY(ProjectScanner::scan(root).isEmpty());
    }

    void expandsTilde_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("home") << QStringLiteral("~") << QDir::homePath();
        QTest::newRow("below home") << QStringLiteral("~/workspace") << QDir::homePath() + QStringLiteral("/workspace");
        QTest::newRow("other user stays") << QStringLiteral("~bob/x") << QStringLiteral("~bob/x");
        QTest::newRow("absolute") << QStringLiteral("/srv/projects") << QStringLiteral("/srv/projects");
        QTest::newRow("tilde inside") << QStringLiteral("/srv/~/x") << QStringLiteral("/srv/~/x");
    }

    void expandsTilde()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(ProjectScanner::expandTilde(path), expected);
    }
};

QTEST_GUILESS_MAIN(ProjectScannerTest)
#include "tst_projectscanner.moc"
