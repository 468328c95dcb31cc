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

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

class MainWindowTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryHome> m_home;

private Q_SLOTS:
    void initTestCase()
    {
        Motion::setAnimationsEnabled(false);
    }

    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        QVERIFY(m_home->isValid());
    }

    void cleanup()
    {
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
        QCOMPARE(sheet->findChild<QLabel *>(QStringLiteral("onboardingFolder"))->text(), m_home->path());

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
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
