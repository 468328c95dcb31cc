#include <AppModel.h>
#include <BundleInfo.h>
#include <SettingsAccordionCard.h>
#include <SettingsStore.h>
#include <SettingsSwitch.h>
#include <SettingsTheme.h>
#include <SettingsValueRow.h>
#include <SettingsView.h>
#include <Spring.h>
#include <UserDefaults.h>
#include <WindowRegistry.h>
#include <AppPalette.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStackedWidget>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

#include <memory>

class TestSettingsView final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void firstDisplayOpensGeneralOnly();
    void oneCardOpenAtATime();
    void shownAnewOpensGeneralAgain();
    void installsTheAccentTheme();
    void togglesWriteThrough();
    void versionPreferenceWritesCaseNameAndSurvivesRestart();
    void stepperHeldToOneThroughSix();
    void storedWorkersOutsideTheRangeAreLeftUntilStepped();
    void onboardingAgainSetsTheFlag();
    void infoCardReadsTheBundle_data();
    void infoCardReadsTheBundle();
    void aboutButtonOpensTheAboutWindow();
    void columnIsAtMost720Wide_data();
    void columnIsAtMost720Wide();

private:
    void open(SettingsView::Card card);
    QString defaultsFile() const { return m_dir->filePath(QStringLiteral("defaults.ini")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<SettingsView> m_view;
    BundleInfo m_savedBundle;
};

void TestSettingsView::initTestCase()
{
    Motion::setAnimationsEnabled(false);
    m_savedBundle = BundleInfo::main();
}

void TestSettingsView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    UserDefaults::useFile(defaultsFile());
    UserDefaults::standard().setValue(QString::fromLatin1(SettingsStore::onboardingCompletedKey), true);
    m_model = std::make_unique<AppModel>();
    m_view = std::make_unique<SettingsView>(m_model.get());
    m_view->resize(900, 700);
}

void TestSettingsView::cleanup()
{
    m_view.reset();
    m_model.reset();
    BundleInfo::setMain(m_savedBundle);
}

void TestSettingsView::open(SettingsView::Card card)
{
    SettingsAccordionCard *c = m_view->card(card);
    QVERIFY(c);
    if (!c->isExpanded())
        c->header()->click();
    QVERIFY(c->isExpanded());
}

void TestSettingsView::firstDisplayOpensGeneralOnly()
{
    QCOMPARE(m_view->openCard(), std::optional(SettingsView::Card::General));
    const QStringList titles{QStringLiteral("Allgemein"), QStringLiteral("App Store Connect"),
                             QStringLiteral("Screenshots"), QStringLiteral("Info")};
    for (int i = 0; i < 4; ++i) {
        SettingsAccordionCard *card = m_view->card(SettingsView::Card(i));
        QCOMPARE(card->title(), titles.at(i));
        QCOMPARE(card->style(), SettingsCardStyle::Auto);
        QCOMPARE(card->isExpanded(), i == 0);
        QCOMPARE(card->content() != nullptr, i == 0);
    }
    QVERIFY(m_view->findChild<SettingsValueRow *>(QStringLiteral("projectsRootRow")));
}

void TestSettingsView::oneCardOpenAtATime()
{
    SettingsAccordionCard *general = m_view->card(SettingsView::Card::General);
    SettingsAccordionCard *info = m_view->card(SettingsView::Card::About);
    info->header()->click();
    QCOMPARE(m_view->openCard(), std::optional(SettingsView::Card::About));
    QVERIFY(info->isExpanded());
    QVERIFY(!general->isExpanded());
    QVERIFY(!general->content());
    info->header()->click();
    QCOMPARE(m_view->openCard(), std::nullopt);
    for (int i = 0; i < 4; ++i)
        QVERIFY(!m_view->card(SettingsView::Card(i))->isExpanded());
}

void TestSettingsView::shownAnewOpensGeneralAgain()
{
    // The section lives in a stack beside other pages, as in the main window.
    QStackedWidget stack;
    auto *other = new QWidget;
    stack.addWidget(other);
    SettingsView *view = m_view.release();
    stack.addWidget(view);
    stack.setCurrentWidget(view);
    stack.resize(900, 300);
    stack.show();
    QVERIFY(QTest::qWaitForWindowExposed(&stack));

    view->card(SettingsView::Card::About)->header()->click();
    auto *scroll = view->findChild<QScrollArea *>(QStringLiteral("settingsScroll"));
    QTRY_VERIFY(scroll->verticalScrollBar()->maximum() > 0);
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());

    // Another page, then the section again: "Allgemein" is open, the rest closed, at the top.
    stack.setCurrentWidget(other);
    QCOMPARE(view->openCard(), std::optional(SettingsView::Card::About)); // nothing changes while away
    stack.setCurrentWidget(view);
    QCOMPARE(view->openCard(), std::optional(SettingsView::Card::General));
    for (int i = 0; i < 4; ++i) {
        SettingsAccordionCard *card = view->card(SettingsView::Card(i));
        QCOMPARE(card->isExpanded(), i == 0);
        QCOMPARE(card->content() != nullptr, i == 0);
    }
    QCOMPARE(scroll->verticalScrollBar()->value(), 0);

    // All closed counts too.
    view->card(SettingsView::Card::General)->header()->click();
    QCOMPARE(view->openCard(), std::nullopt);
    stack.hide();
    stack.show();
    QCOMPARE(view->openCard(), std::optional(SettingsView::Card::General));
    QVERIFY(view->card(SettingsView::Card::General)->isExpanded());

    // A window restored from the dock is not a new display: the open card stays.
    view->card(SettingsView::Card::Screenshots)->header()->click();
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    qApp->notify(view, &restored); // sendEvent would clear the flag
    QCOMPARE(view->openCard(), std::optional(SettingsView::Card::Screenshots));
}

void TestSettingsView::installsTheAccentTheme()
{
    const SettingsTheme theme = SettingsTheme::of(m_view->card(SettingsView::Card::General));
    QCOMPARE(theme.accent, AppPalette::accent());
    QCOMPARE(theme.cardCornerRadius, 16.0);
    QCOMPARE(theme.metricScale, 1.0);
}

void TestSettingsView::togglesWriteThrough()
{
    open(SettingsView::Card::AppStoreConnect);
    auto *confirm = m_view->findChild<QWidget *>(QStringLiteral("confirmBeforeUploadRow"))
                        ->findChild<SettingsSwitch *>(QStringLiteral("rowSwitch"));
    auto *preload = m_view->findChild<SettingsSwitch *>(QStringLiteral("preloadStatusSwitch"));
    QVERIFY(confirm && preload);
    QVERIFY(confirm->isChecked());
    QVERIFY(preload->isChecked());

    confirm->click();
    preload->click();
    UserDefaults file(defaultsFile());
    QCOMPARE(file.boolean(QString::fromLatin1(SettingsStore::confirmBeforeUploadKey)), std::optional(false));
    QCOMPARE(file.boolean(QString::fromLatin1(SettingsStore::preloadStatusKey)), std::optional(false));
    QVERIFY(!m_model->settings()->confirmBeforeUpload());

    // A change made elsewhere shows in the open card.
    m_model->settings()->setConfirmBeforeUpload(true);
    QVERIFY(confirm->isChecked());
}

void TestSettingsView::versionPreferenceWritesCaseNameAndSurvivesRestart()
{
    open(SettingsView::Card::AppStoreConnect);
    auto *picker = m_view->findChild<QWidget *>(QStringLiteral("versionPreferencePicker"));
    QVERIFY(picker);
    QCOMPARE(picker->accessibleName(), QStringLiteral("Version"));
    auto *editable = picker->findChild<QAbstractButton *>(QStringLiteral("segment0"));
    auto *live = picker->findChild<QAbstractButton *>(QStringLiteral("segment1"));
    QCOMPARE(editable->text(), QStringLiteral("In Vorbereitung, sonst Live"));
    QCOMPARE(live->text(), QStringLiteral("Live"));
    QVERIFY(editable->isChecked());

    live->click();
    const QString key = QString::fromLatin1(SettingsStore::versionPreferenceKey);
    QCOMPARE(UserDefaults(defaultsFile()).string(key), std::optional(QStringLiteral("live")));

    // A new store (a restart) reads it back, and the section shows it.
    m_view.reset();
    m_model = std::make_unique<AppModel>();
    QCOMPARE(m_model->settings()->ascVersionPreference(), VersionSource::Live);
    m_view = std::make_unique<SettingsView>(m_model.get());
    open(SettingsView::Card::AppStoreConnect);
    picker = m_view->findChild<QWidget *>(QStringLiteral("versionPreferencePicker"));
    QVERIFY(picker->findChild<QAbstractButton *>(QStringLiteral("segment1"))->isChecked());

    picker->findChild<QAbstractButton *>(QStringLiteral("segment0"))->click();
    QCOMPARE(UserDefaults(defaultsFile()).string(key), std::optional(QStringLiteral("editableThenLive")));
}

void TestSettingsView::stepperHeldToOneThroughSix()
{
    open(SettingsView::Card::Screenshots);
    auto *stepper = m_view->findChild<QSpinBox *>(QStringLiteral("parallelWorkersStepper"));
    QVERIFY(stepper);
    QCOMPARE(stepper->value(), 3);
    QCOMPARE(stepper->minimum(), 1);
    QCOMPARE(stepper->maximum(), 6);

    const QString key = QString::fromLatin1(SettingsStore::parallelWorkersKey);
    for (int i = 0; i < 10; ++i)
        stepper->stepUp();
    QCOMPARE(m_model->settings()->parallelWorkers(), 6);
    QCOMPARE(UserDefaults(defaultsFile()).integer(key), std::optional<qint64>(6));
    for (int i = 0; i < 10; ++i)
        stepper->stepDown();
    QCOMPARE(m_model->settings()->parallelWorkers(), 1);
    QCOMPARE(UserDefaults(defaultsFile()).integer(key), std::optional<qint64>(1));
}

void TestSettingsView::storedWorkersOutsideTheRangeAreLeftUntilStepped()
{
    const QString key = QString::fromLatin1(SettingsStore::parallelWorkersKey);
    UserDefaults::standard().setValue(key, 10);
    m_view.reset();
    m_model = std::make_unique<AppModel>();
    QCOMPARE(m_model->settings()->parallelWorkers(), 10);
    m_view = std::make_unique<SettingsView>(m_model.get());
    open(SettingsView::Card::Screenshots);
    auto *stepper = m_view->findChild<QSpinBox *>(QStringLiteral("parallelWorkersStepper"));
    QCOMPARE(stepper->value(), 6);
    QCOMPARE(m_model->settings()->parallelWorkers(), 10); // showing it writes nothing
    stepper->stepDown();
    QCOMPARE(m_model->settings()->parallelWorkers(), 5);
    QCOMPARE(UserDefaults(defaultsFile()).integer(key), std::optional<qint64>(5));
}

void TestSettingsView::onboardingAgainSetsTheFlag()
{
    QVERIFY(!m_model->showOnboarding());
    auto *button = m_view->findChild<QPushButton *>(QStringLiteral("showOnboardingButton"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("Onboarding erneut zeigen"));
    QSignalSpy spy(m_model.get(), &AppModel::showOnboardingChanged);
    button->click();
    QVERIFY(m_model->showOnboarding());
    QCOMPARE(spy.count(), 1);
    // Asked again while already asked: still set.
    button->click();
    QVERIFY(m_model->showOnboarding());
}

void TestSettingsView::infoCardReadsTheBundle_data()
{
    QTest::addColumn<BundleInfo>("bundle");
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<QString>("version");

    BundleInfo full = BundleInfo::fromBuild();
    full.shortVersion = QStringLiteral("1.4");
    full.version = QStringLiteral("27");
    full.identifier = QStringLiteral("de.example.app");
    QTest::newRow("full") << full << QStringLiteral("de.example.app") << QStringLiteral("1.4 (27)");
    BundleInfo none = full;
    none.identifier.reset();
    QTest::newRow("no identifier") << none << QStringLiteral("—") << QStringLiteral("1.4 (27)");
    BundleInfo blank = full;
    blank.identifier = QString();
    QTest::newRow("empty identifier") << blank << QStringLiteral("—") << QStringLiteral("1.4 (27)");
}

void TestSettingsView::infoCardReadsTheBundle()
{
    QFETCH(BundleInfo, bundle);
    QFETCH(QString, identifier);
    QFETCH(QString, version);

    BundleInfo::setMain(bundle);
    open(SettingsView::Card::About);
    QCOMPARE(m_view->findChild<SettingsValueRow *>(QStringLiteral("bundleIdentifierRow"))->value(), identifier);
    QCOMPARE(m_view->findChild<SettingsValueRow *>(QStringLiteral("versionRow"))->value(), version);
    QCOMPARE(m_view->findChild<SettingsValueRow *>(QStringLiteral("appNameRow"))->value(), *bundle.name);
    QCOMPARE(m_view->findChild<QPushButton *>(QStringLiteral("openAboutButton"))->text(),
             QStringLiteral("Über %1…").arg(*bundle.name));
    QVERIFY(!m_view->findChild<QLabel *>(QStringLiteral("rightsNotice"))->text().isEmpty());
}

void TestSettingsView::aboutButtonOpensTheAboutWindow()
{
    int opened = 0;
    WindowRegistry::instance().registerFactory(QStringLiteral("about"), [&opened] {
        ++opened;
        return new QWidget;
    });
    open(SettingsView::Card::About);
    m_view->findChild<QPushButton *>(QStringLiteral("openAboutButton"))->click();
    QCOMPARE(opened, 1);
    QWidget *window = WindowRegistry::instance().window(QStringLiteral("about"));
    QVERIFY(window);
    window->close();
    delete window;
}

void TestSettingsView::columnIsAtMost720Wide_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("columnWidth");
    QTest::newRow("narrow") << 600 << 600;
    QTest::newRow("wide") << 1600 << 720;
}

void TestSettingsView::columnIsAtMost720Wide()
{
    QFETCH(int, width);
    QFETCH(int, columnWidth);
    m_view->resize(width, 800);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    auto *column = m_view->findChild<QWidget *>(QStringLiteral("settingsColumn"));
    auto *viewport = column->parentWidget();
    QVERIFY(qAbs(column->width() - qMin(columnWidth, viewport->width())) <= 1);
    // Centred in the available width.
    const int left = column->x();
    const int right = viewport->width() - column->geometry().right() - 1;
    QVERIFY(qAbs(left - right) <= 1);
    // Cards fill the column inside its padding.
    SettingsAccordionCard *card = m_view->card(SettingsView::Card::General);
    QCOMPARE(card->width(), column->width() - 2 * SettingsView::columnPadding);
}

QTEST_MAIN(TestSettingsView)
#include "tst_settingsview.moc"
