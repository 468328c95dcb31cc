#include "tst_app_fixture.h"

#include <AboutWindow.h>
#include <AppModel.h>
#include <AppWindows.h>
#include <MainWindow.h>
#include <OnboardingSheet.h>
#include <ProjectDetailView.h>
#include <ProjectSidebar.h>
#include <Spring.h>
#include <WindowRegistry.h>

#include <UserDefaults.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <PlanEditorModel.h>
#include <SettingsAccordionCard.h>
#include <SettingsValueRow.h>
#include <SettingsView.h>
#include <ShotPlanEditorView.h>

namespace {
// Finds the onboarding sheet's parts by their names.
QLabel *sheetLabel(OnboardingSheet *sheet, const char *name)
{
    return sheet->findChild<QLabel *>(QString::fromLatin1(name));
}

// A projects folder holding one project, "Solo".
void makeSoloProject(const QTemporaryDir &projects)
{
    QVERIFY(QDir().mkpath(projects.filePath(QStringLiteral("Solo/Solo.xcodeproj"))));
    QFile pbxproj(projects.filePath(QStringLiteral("Solo/Solo.xcodeproj/project.pbxproj")));
    QVERIFY(pbxproj.open(QIODevice::WriteOnly));
}
} // namespace

class MainWindowTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryHome> m_home;

private Q_SLOTS:
    void initTestCase()
    {
        Motion::setAnimationsEnabled(false);
        guardFolderChooser();
    }

    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        QVERIFY(m_home->isValid());
    }

    // No test may open the desktop's folder dialog.
    static void guardFolderChooser()
    {
        OnboardingSheet::setFolderChooser([](QWidget *, const QString &, const QString &) {
            qFatal("A test opened the desktop's folder dialog");
            return QString();
        });
    }

    void cleanup()
    {
        guardFolderChooser();
        for (const QString &id : {QStringLiteral("main"), QStringLiteral("about")}) {
            if (QWidget *window = WindowRegistry::instance().window(id))
                delete window;
        }
        m_home.reset();
    }

    void demoOpensWithTheSampleAppsAndTheFirstSelected()
    {
        AppModel model(true);
        AppWindows::registerWindows(&model);
        auto *window = qobject_cast<MainWindow *>(WindowRegistry::instance().open(QStringLiteral("main")));
        QVERIFY(window);
        QCOMPARE(window->objectName(), QStringLiteral("main"));
        QCOMPARE(window->minimumSize(), QSize(900, 600));

        auto *list = window->findChild<QListWidget *>(QStringLiteral("projectList"));
        QVERIFY(list);
        QTRY_COMPARE(list->count(), 3);
        QTRY_VERIFY(list->currentItem());
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(window->currentPage(), window->projectDetail());
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("projectName"))->text(), model.projects().first().name);
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("projectBundleIdentifier"))->text(),
                 *model.projects().first().bundleIdentifier);

        auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("projectTabs"));
        QCOMPARE(tabs->count(), 1);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Aufnahme"));
        QCOMPARE(tabs->widget(0)->objectName(), QStringLiteral("capture"));

        // Choosing another project updates the header in place.
        QLabel *name = window->findChild<QLabel *>(QStringLiteral("projectName"));
        list->setCurrentRow(2);
        QCOMPARE(model.selectedProjectID(), model.projects().at(2).id);
        QCOMPARE(name->text(), model.projects().at(2).name);
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("projectName")), name);

        // No onboarding in demo mode.
        QVERIFY(!window->onboardingSheet());
    }

    // Closing the window while the plan cannot be saved asks first; "Zurück" keeps it open.
    // (Declared whatever the build has: moc does not see which headers exist.)
    void closingAsksWhileThePlanIsUnsaved_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Zurück") << QStringLiteral("quitBackButton") << false;
        QTest::newRow("Ohne Speichern beenden") << QStringLiteral("quitWithoutSavingButton") << true;
    }
    void closingAsksWhileThePlanIsUnsaved()
    {
        QFETCH(QString, button);
        QFETCH(bool, closes);
        AppModel model(true);
        MainWindow window(&model);
        window.show();
        auto *editor = window.findChild<ShotPlanEditorView *>();
        QVERIFY(editor);
        QTRY_VERIFY(editor->model()->hasLoaded() && editor->model()->project().fastlaneDirectory);
        PlanEditorModel *plan = editor->model();
        plan->setRetryDelays(3600 * 1000, 3600 * 1000);
        // A file where the plan's folder belongs: every save fails, for root too.
        const QString folder = QDir(*plan->project().fastlaneDirectory).filePath(QStringLiteral("velorancestudio"));
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        plan->addLane();
        QVERIFY(plan->saveError());

        QString asked;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, &poll, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            asked = box->windowTitle();
            box->findChild<QPushButton *>(button)->click();
        });
        poll.start();
        QCOMPARE(window.close(), closes);
        QCOMPARE(asked, QStringLiteral("Plan nicht gespeichert"));
        QCOMPARE(window.isVisible(), !closes);

        // Once the plan can be written, closing asks nothing.
        if (!closes) {
            QVERIFY(QFile::remove(folder));
            asked.clear();
            poll.start();
            QVERIFY(window.close());
            QVERIFY(asked.isEmpty());
            poll.stop();
        }
    }

    void settingsEntrySwitchesTheSection()
    {
        AppModel model(true);
        MainWindow window(&model);
        auto *entry = window.findChild<QAbstractButton *>(QStringLiteral("settingsEntry"));
        QVERIFY(entry);
        QCOMPARE(entry->text(), QStringLiteral("Einstellungen"));
        entry->click();
        QCOMPARE(model.section(), AppModel::Section::Settings);
        QCOMPARE(window.currentPage()->objectName(), QStringLiteral("settingsPage"));
        QVERIFY(entry->isChecked());

        model.setSection(AppModel::Section::Projects);
        QVERIFY(!entry->isChecked());
        QVERIFY(window.currentPage()->objectName() != QStringLiteral("settingsPage"));
    }

    void menuCommands()
    {
        AppModel model(true);
        AppWindows::registerWindows(&model);
        MainWindow window(&model);
        QCOMPARE(window.refreshAction()->text(), QStringLiteral("Projekte aktualisieren"));
        QCOMPARE(window.refreshAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
        window.refreshAction()->trigger();
        QVERIFY(model.isScanning());
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(model.projects().size(), 3);

        QCOMPARE(window.aboutAction()->text(), QStringLiteral("Über Velorance Studio"));
        window.aboutAction()->trigger();
        QWidget *about = WindowRegistry::instance().window(QStringLiteral("about"));
        QVERIFY(qobject_cast<AboutWindow *>(about));
        QVERIFY(about->isVisible());
        QVERIFY(about->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(about->size(), about->sizeHint());
        // Opening again raises the same window.
        window.aboutAction()->trigger();
        QCOMPARE(WindowRegistry::instance().window(QStringLiteral("about")), about);
    }

    void onboardingSheetAtStartUpUntilCompleted()
    {
        AppModel model;
        model.settings()->setProjectsRoot(m_home->path());
        MainWindow window(&model);
        window.show();
        QTRY_VERIFY(window.onboardingSheet() && window.onboardingSheet()->isVisible());
        OnboardingSheet *sheet = window.onboardingSheet();
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QCOMPARE(sheet->folder(), m_home->path());

        sheet->startButton()->click();
        QVERIFY(!sheet->isVisible());
        QVERIFY(!model.showOnboarding());
        QVERIFY(model.settings()->onboardingCompleted());

        // Asked for again (the settings' "onboarding again"), the sheet comes back.
        model.setShowOnboarding(true);
        QVERIFY(window.onboardingSheet()->isVisible());
        // Escape only closes it.
        window.onboardingSheet()->reject();
        QVERIFY(!model.showOnboarding());
        QVERIFY(model.settings()->onboardingCompleted());
    }

    void onboardingChoosesTheProjectsFolder()
    {
        QTemporaryDir projects;
        makeSoloProject(projects);

        AppModel model;
        MainWindow window(&model);
        window.show();
        QTRY_VERIFY(window.onboardingSheet() && window.onboardingSheet()->isVisible());
        OnboardingSheet *sheet = window.onboardingSheet();
        QCOMPARE(sheet->folder(), QStringLiteral("~/workspace"));
        // The hint names the way back to this sheet, not a settings row that cannot change it.
        QCOMPARE(sheetLabel(sheet, "onboardingFolderHint")->text(),
                 QStringLiteral("Den Ordner kannst du später hier wieder ändern – in den Einstellungen über "
                                "„Onboarding erneut zeigen“."));

        // Cancelling the chooser changes nothing.
        QString asked;
        QString answer;
        QWidget *askedFrom = nullptr;
        OnboardingSheet::setFolderChooser([&](QWidget *parent, const QString &title, const QString &) {
            asked = title;
            askedFrom = parent;
            return answer;
        });
        sheet->chooseFolderButton()->click();
        QCOMPARE(asked, QStringLiteral("Projektordner wählen"));
        QCOMPARE(askedFrom, sheet);
        QCOMPARE(model.settings()->projectsRoot(), QStringLiteral("~/workspace"));

        answer = projects.path();
        sheet->chooseFolderButton()->click();
        QCOMPARE(model.settings()->projectsRoot(), projects.path());
        QCOMPARE(sheet->folder(), projects.path());
        QVERIFY(sheet->isVisible());

        // Finishing scans the chosen folder.
        sheet->startButton()->click();
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(model.projects().size(), 1);
        QCOMPARE(model.projects().first().name, QStringLiteral("Solo"));
    }

    void onboardingChoiceIsScannedHoweverTheSheetCloses_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::newRow("Escape") << QStringLiteral("escape");
        QTest::newRow("close button") << QStringLiteral("close");
        QTest::newRow("Loslegen") << QStringLiteral("start");
    }

    void onboardingChoiceIsScannedHoweverTheSheetCloses()
    {
        QFETCH(QString, closing);
        QTemporaryDir projects;
        makeSoloProject(projects);

        AppModel model;
        MainWindow window(&model);
        window.show();
        QTRY_VERIFY(window.onboardingSheet() && window.onboardingSheet()->isVisible());
        QTRY_VERIFY(!model.isScanning());
        auto *list = window.sidebar()->projectList();
        QCOMPARE(list->count(), 0);

        OnboardingSheet *sheet = window.onboardingSheet();
        OnboardingSheet::setFolderChooser([&](QWidget *, const QString &, const QString &) { return projects.path(); });
        sheet->chooseFolderButton()->click();
        if (closing == QLatin1String("escape"))
            QTest::keyClick(sheet, Qt::Key_Escape);
        else if (closing == QLatin1String("close"))
            QVERIFY(sheet->close());
        else
            sheet->startButton()->click();
        QVERIFY(!sheet->isVisible());
        QVERIFY(!model.showOnboarding());
        QCOMPARE(model.settings()->projectsRoot(), projects.path());
        // Only "Loslegen" finishes onboarding; every way scans the stored folder.
        QCOMPARE(model.settings()->onboardingCompleted(), closing == QLatin1String("start"));
        QTRY_COMPARE(list->count(), 1);
        QTRY_VERIFY(!model.isScanning());
        QCOMPARE(model.projects().first().name, QStringLiteral("Solo"));
        QCOMPARE(window.currentPage(), window.projectDetail());
    }

    void onboardingAgainWorksInDemoAndKeepsTheRealSettings()
    {
        UserDefaults::standard().setValue(QStringLiteral("projects.root"), QStringLiteral("~/real"));
        QTemporaryDir elsewhere;
        AppModel model(true);
        MainWindow window(&model);
        window.show();
        QTRY_COMPARE(model.projects().size(), 3);
        QVERIFY(!window.onboardingSheet()); // no greeting at start-up

        model.setSection(AppModel::Section::Settings);
        auto *again = window.findChild<QPushButton *>(QStringLiteral("showOnboardingButton"));
        QVERIFY(again);
        again->click();
        QVERIFY(model.showOnboarding());
        QTRY_VERIFY(window.onboardingSheet() && window.onboardingSheet()->isVisible());
        OnboardingSheet *sheet = window.onboardingSheet();
        QVERIFY(sheet->folder().endsWith(QStringLiteral("demo-workspace")));
        QCOMPARE(sheetLabel(sheet, "onboardingFolderHint")->text(),
                 QStringLiteral("Im Demo-Modus gilt die Auswahl nur bis zum Beenden."));
        // A long folder is elided on its line instead of squeezing the fixed-width sheet.
        const QString longFolder = QStringLiteral("/Volumes/Externe Platte/Entwicklung/Kunden/2026/Sehr langer Ordnername/Apps");
        OnboardingSheet::setFolderChooser([&](QWidget *, const QString &, const QString &) { return longFolder; });
        sheet->chooseFolderButton()->click();
        QCOMPARE(sheet->folder(), longFolder);
        QLabel *line = sheetLabel(sheet, "onboardingFolder");
        QTRY_VERIFY(line->text() != longFolder);
        QCOMPARE(line->toolTip(), longFolder);
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <= line->width());
        QCOMPARE(sheet->width(), 480);
        QVERIFY(sheet->chooseFolderButton()->height() >= sheet->chooseFolderButton()->sizeHint().height());
        QVERIFY(sheet->height() >= sheet->minimumSizeHint().height());

        OnboardingSheet::setFolderChooser([&](QWidget *, const QString &, const QString &) { return elsewhere.path(); });
        sheet->chooseFolderButton()->click();
        QCOMPARE(sheet->folder(), elsewhere.path());
        sheet->startButton()->click();
        QVERIFY(!sheet->isVisible());
        QTRY_VERIFY(!model.isScanning());
        QVERIFY(model.projects().isEmpty()); // the chosen (empty) folder was scanned

        // The real settings are as they were: folder and onboarding state.
        UserDefaults stored(m_home->filePath(QStringLiteral("defaults.ini")));
        QCOMPARE(stored.string(QStringLiteral("projects.root")), std::optional(QStringLiteral("~/real")));
        QVERIFY(!stored.contains(QStringLiteral("app.onboardingCompleted")));
        auto *row = window.findChild<SettingsValueRow *>(QStringLiteral("projectsRootRow"));
        QVERIFY(row);
        QCOMPARE(row->value(), QStringLiteral("~/real"));
    }

    void settingsSectionOpensGeneralEachTimeItIsShown()
    {
        AppModel model(true);
        MainWindow window(&model);
        window.show();
        QTRY_COMPARE(model.projects().size(), 3);
        model.setSection(AppModel::Section::Settings);
        auto *view = qobject_cast<SettingsView *>(window.currentPage());
        QVERIFY(view);
        QCOMPARE(view->openCard(), std::optional(SettingsView::Card::General));
        view->card(SettingsView::Card::About)->header()->click();
        QCOMPARE(view->openCard(), std::optional(SettingsView::Card::About));

        // A project, then the settings again.
        model.setSection(AppModel::Section::Projects);
        model.setSelectedProjectID(model.projects().at(1).id);
        QCOMPARE(window.currentPage(), window.projectDetail());
        model.setSection(AppModel::Section::Settings);
        QCOMPARE(window.currentPage(), view); // the same section, shown anew
        QCOMPARE(view->openCard(), std::optional(SettingsView::Card::General));
        QVERIFY(view->card(SettingsView::Card::General)->isExpanded());
        QVERIFY(!view->card(SettingsView::Card::About)->isExpanded());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
