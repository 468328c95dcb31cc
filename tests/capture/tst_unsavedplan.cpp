#include "tst_planeditor_fixture.h"

#include "LibcGerman.h"

#include <PlanEditorModel.h>
#include <QuitConfirmation.h>
#include <RetryBackoff.h>
#include <ShotPlanEditorView.h>
#include <Spring.h>
#include <UserDefaults.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

constexpr int kHour = 3600 * 1000;

// Answers the quit question once it is up: clicks the button of that name, or presses Escape
// when the name is empty; what the dialog showed is kept for the test.
struct QuestionAnswerer
{
    QString title;
    QString text;
    QString defaultButton;
    bool seen = false;
    QTimer poll;

    void answerWith(const QString &button)
    {
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &poll, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || box->objectName() != QStringLiteral("quitConfirmation"))
                return;
            seen = true;
            title = box->windowTitle();
            text = box->text();
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            poll.stop();
            if (button.isEmpty())
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->findChild<QPushButton *>(button)->click();
        });
        poll.start();
    }
};

} // namespace

class TestUnsavedPlan final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void retryWaitsGrowUpToTheLongest_data();
    void retryWaitsGrowUpToTheLongest();
    void failedSaveIsTriedAgainUntilItSucceeds();
    void lastTrySaysWhetherThePlanIsOnDisk_data();
    void lastTrySaysWhetherThePlanIsOnDisk();
    void triesEndOnceThePlanIsWritten();
    void questionNamesTheReason_data();
    void questionNamesTheReason();
    void pageOutOfViewMakesTheLastTry();
    void anotherProjectMakesTheLastTryForTheFirst();
    void quitFollowsTheAnswer_data();
    void quitFollowsTheAnswer();

private:
    // A project whose plan folder a file blocks from the start: every save fails until the
    // blocker goes.
    XcodeProject blockedProject()
    {
        const XcodeProject project = makeProject(m_dir->path());
        m_blocker = blockPlanFolder(project);
        return project;
    }
    // A loaded model with one edit that could not be saved.
    void editThatFails(PlanEditorModel &model)
    {
        QVERIFY(!m_blocker.isEmpty());
        if (!model.hasLoaded())
            model.load();
        model.addLane();
        QVERIFY(model.saveError());
    }

    // The page shown and loaded, retries put off, with one edit that failed.
    void showWithFailedEdit(ShotPlanEditorView &view)
    {
        view.model()->setRetryDelays(kHour, kHour);
        view.show();
        QTRY_VERIFY(view.model()->hasLoaded());
        editThatFails(*view.model());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_blocker;
};

void TestUnsavedPlan::initTestCase()
{
    static QTemporaryDir defaults;
    UserDefaults::useFile(defaults.filePath(QStringLiteral("defaults.ini")));
    Motion::setAnimationsEnabled(false);
}

void TestUnsavedPlan::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_blocker.clear();
}

void TestUnsavedPlan::cleanup()
{
    m_dir.reset();
}

void TestUnsavedPlan::retryWaitsGrowUpToTheLongest_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("longest");
    QTest::addColumn<QList<int>>("waits");

    QTest::newRow("doubling to the bound") << 1000 << 30000 << QList<int>{1000, 2000, 4000, 8000, 16000, 30000, 30000};
    QTest::newRow("bound reached exactly") << 10 << 40 << QList<int>{10, 20, 40, 40};
    QTest::newRow("longest below first") << 100 << 10 << QList<int>{100, 100};
    QTest::newRow("no wait at all") << 0 << 0 << QList<int>{1, 1};
    QTest::newRow("no overflow near the largest int") << 1073741824 << 2147483647
                                                      << QList<int>{1073741824, 2147483647, 2147483647};
}

void TestUnsavedPlan::retryWaitsGrowUpToTheLongest()
{
    QFETCH(int, first);
    QFETCH(int, longest);
    QFETCH(QList<int>, waits);
    RetryBackoff backoff(first, longest);
    QList<int> given;
    for (qsizetype i = 0; i < waits.size(); ++i)
        given.append(backoff.next());
    QCOMPARE(given, waits);
    backoff.reset();
    QCOMPARE(backoff.next(), waits.first());
}

// Nobody edits after the failure: the plan still reaches the disk once the cause is gone.
void TestUnsavedPlan::failedSaveIsTriedAgainUntilItSucceeds()
{
    const XcodeProject project = blockedProject();
    PlanEditorModel model(project);
    model.setRetryDelays(10, 40);
    editThatFails(model);
    const QString error = *model.saveError();

    // Several tries fail meanwhile; the plan stays in memory and the error stays shown.
    QTest::qWait(200);
    QCOMPARE(model.saveError(), error);
    QVERIFY(model.savedPlan() != model.plan());

    QVERIFY(QFile::remove(m_blocker));
    QTRY_VERIFY_WITH_TIMEOUT(!model.saveError(), 2000);
    QCOMPARE(planOnDisk(project), model.plan());
    QCOMPARE(model.savedPlan(), model.plan());
}

void TestUnsavedPlan::lastTrySaysWhetherThePlanIsOnDisk_data()
{
    QTest::addColumn<bool>("failedEdit");
    QTest::addColumn<bool>("causeGone");
    QTest::addColumn<bool>("onDisk");

    QTest::newRow("all saved") << false << false << true;
    QTest::newRow("failed, cause gone") << true << true << true;
    QTest::newRow("failed, cause stays") << true << false << false;
}

void TestUnsavedPlan::lastTrySaysWhetherThePlanIsOnDisk()
{
    QFETCH(bool, failedEdit);
    QFETCH(bool, causeGone);
    QFETCH(bool, onDisk);
    const XcodeProject project = blockedProject();
    PlanEditorModel model(project);
    // Only the last try can write here: the waits between tries are far longer than the test.
    model.setRetryDelays(kHour, kHour);
    if (failedEdit) {
        editThatFails(model);
    } else {
        QVERIFY(QFile::remove(m_blocker));
        model.load();
        model.addLane();
        QVERIFY(!model.saveError());
    }
    if (causeGone)
        QFile::remove(m_blocker);

    const Status last = model.saveNow();
    QCOMPARE(last.ok(), onDisk);
    if (onDisk) {
        QCOMPARE(planOnDisk(project), model.plan());
        QVERIFY(!model.saveError());
    } else {
        const QString german = libcGerman("Not a directory");
        QVERIFY2(!german.isEmpty(), "libc-l10n's German catalogue is missing: run scripts/setup.sh");
        QVERIFY2(last.error().endsWith(german), qPrintable(last.error()));
        QCOMPARE(model.saveError(), QStringLiteral("Konnte nicht speichern: ") + last.error());
    }
}

// Once the plan is written the tries end: what equals the last written plan is not written
// again, neither by a wait running out nor by the last try.
void TestUnsavedPlan::triesEndOnceThePlanIsWritten()
{
    const XcodeProject project = blockedProject();
    PlanEditorModel model(project);
    model.setRetryDelays(10, 10);
    editThatFails(model);
    QVERIFY(QFile::remove(m_blocker));
    QTRY_VERIFY_WITH_TIMEOUT(!model.saveError(), 2000);

    QVERIFY(QFile::remove(planPath(project)));
    QTest::qWait(100);
    QVERIFY(!QFileInfo::exists(planPath(project)));
    QVERIFY(model.saveNow());
    QVERIFY(!QFileInfo::exists(planPath(project)));
}

void TestUnsavedPlan::questionNamesTheReason_data()
{
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("text");

    const QString lost = QStringLiteral(" Wenn du jetzt beendest, gehen deine letzten Änderungen verloren.");
    QTest::newRow("system's reason") << QStringLiteral("Keine Berechtigung")
                                     << QStringLiteral("Der Plan konnte nicht gespeichert werden: Keine Berechtigung.") + lost;
    QTest::newRow("reason with its own stop") << QStringLiteral("Auf dem Gerät ist kein Speicherplatz mehr verfügbar.")
                                              << QStringLiteral("Der Plan konnte nicht gespeichert werden: Auf dem Gerät "
                                                                "ist kein Speicherplatz mehr verfügbar.") + lost;
    QTest::newRow("path in brackets") << QStringLiteral("Ist kein Verzeichnis (/tmp/a.b)")
                                      << QStringLiteral("Der Plan konnte nicht gespeichert werden: Ist kein Verzeichnis "
                                                        "(/tmp/a.b).") + lost;
}

void TestUnsavedPlan::questionNamesTheReason()
{
    QFETCH(QString, reason);
    QFETCH(QString, text);
    const QuitConfirmation question(reason);
    QCOMPARE(question.title(), QStringLiteral("Plan nicht gespeichert"));
    QCOMPARE(question.text(), text);
    QCOMPARE(question.backLabel(), QStringLiteral("Zurück"));
    QCOMPARE(question.quitLabel(), QStringLiteral("Ohne Speichern beenden"));
    QVERIFY(!QuitConfirmation::quits(QuitConfirmation::Answer::Back));
    QVERIFY(QuitConfirmation::quits(QuitConfirmation::Answer::QuitWithoutSaving));
}

void TestUnsavedPlan::pageOutOfViewMakesTheLastTry()
{
    const XcodeProject project = blockedProject();
    ShotPlanEditorView view(project);
    showWithFailedEdit(view);
    QVERIFY(QFile::remove(m_blocker));

    view.hide();
    QCOMPARE(planOnDisk(project), view.model()->plan());
    QVERIFY(!view.model()->saveError());
}

void TestUnsavedPlan::anotherProjectMakesTheLastTryForTheFirst()
{
    const XcodeProject first = blockedProject();
    const XcodeProject second = makeProject(m_dir->path(), {}, QStringLiteral("Zweites"));
    ShotPlanEditorView view(first);
    showWithFailedEdit(view);
    const ScreenshotPlan edited = view.model()->plan();
    QVERIFY(QFile::remove(m_blocker));

    view.setProject(second);
    QCOMPARE(view.model()->project().url, second.url);
    QCOMPARE(planOnDisk(first), edited);
}

void TestUnsavedPlan::quitFollowsTheAnswer_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("quits");

    QTest::newRow("Zurück") << QStringLiteral("quitBackButton") << false;
    QTest::newRow("Escape") << QString() << false;
    QTest::newRow("Ohne Speichern beenden") << QStringLiteral("quitWithoutSavingButton") << true;
}

void TestUnsavedPlan::quitFollowsTheAnswer()
{
    QFETCH(QString, button);
    QFETCH(bool, quits);
    const XcodeProject project = blockedProject();
    ShotPlanEditorView view(project);
    showWithFailedEdit(view);

    QuestionAnswerer answerer;
    answerer.answerWith(button);
    QCOMPARE(view.confirmQuit(), quits);
    QVERIFY(answerer.seen);
    QCOMPARE(answerer.title, QStringLiteral("Plan nicht gespeichert"));
    const QString reason = view.model()->saveError()->mid(QStringLiteral("Konnte nicht speichern: ").size());
    QCOMPARE(answerer.text, QuitConfirmation(reason).text());
    QVERIFY(reason.endsWith(libcGerman("Not a directory")));
    QCOMPARE(answerer.defaultButton, QStringLiteral("Zurück"));

    // Nothing is asked once the plan could be written.
    QVERIFY(QFile::remove(m_blocker));
    QVERIFY(view.confirmQuit());
    QCOMPARE(planOnDisk(project), view.model()->plan());
}

QTEST_MAIN(TestUnsavedPlan)
#include "tst_unsavedplan.moc"
