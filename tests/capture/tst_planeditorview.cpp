#include "tst_planeditor_fixture.h"

#include <AppPalette.h>
#include <AppStyle.h>
#include <DisclosureHeader.h>
#include <FlagRow.h>
#include <IconActionButton.h>
#include <LaneCard.h>
#include <LanesSection.h>
#include <LanguagesSection.h>
#include <LaunchArgumentRow.h>
#include <LaunchOptionsSection.h>
#include <LaunchVariableRow.h>
#include <PlaceholderPane.h>
#include <PlanEditorModel.h>
#include <RunBlock.h>
#include <SaveErrorBar.h>
#include <ShotPlanEditorView.h>
#include <SimulatorLocationSheet.h>
#include <Spring.h>
#include <StoreLocales.h>
#include <SymbolLabel.h>
#include <UserDefaults.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QScopeGuard>
#include <QTest>
#include <QToolButton>

#include <algorithm>

namespace {

const QByteArray kFlags = R"({"flags": [
    {"arg": "-beta", "type": "bool", "label": "Beta", "help": "Neue Funktionen"},
    {"arg": "-theme", "type": "enum", "label": "Thema", "values": ["light", "dark"]},
    {"arg": "-empty", "type": "enum", "label": "Leer"},
    {"arg": "-user", "type": "string", "label": "Nutzer"}
]})";

// The menu's sections as (header, item codes, checked codes).
struct MenuSection
{
    QString header;
    QStringList codes;
    QStringList checked;
};

QList<MenuSection> sectionsOf(QMenu *menu)
{
    QList<MenuSection> sections;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator()) {
            sections.append(MenuSection{action->text(), {}, {}});
            continue;
        }
        if (sections.isEmpty())
            sections.append(MenuSection{});
        sections.last().codes << action->data().toString();
        if (action->isChecked())
            sections.last().checked << action->data().toString();
    }
    return sections;
}

QAction *itemFor(QMenu *menu, const QString &code)
{
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->data().toString() == code)
            return action;
    }
    return nullptr;
}

// Whether the widget is shown whole within the page as it is scrolled now: visible, inside
// the page, and not cut off (or scrolled away) by the scroll area's viewport.
bool inView(ShotPlanEditorView *view, QWidget *widget)
{
    if (!widget->isVisible() || widget->width() <= 0 || widget->height() <= 0)
        return false;
    const QRect rect(widget->mapTo(view, QPoint(0, 0)), widget->size());
    if (!view->rect().contains(rect))
        return false;
    QWidget *viewport = view->scrollArea()->viewport();
    return !viewport->isAncestorOf(widget)
        || QRect(viewport->mapTo(view, QPoint(0, 0)), viewport->size()).contains(rect);
}

// A plan long enough that the page scrolls.
ScreenshotPlan longPlan()
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault({QStringLiteral("de-DE")});
    for (int i = 0; i < 8; ++i)
        plan.shots.append(makeShot(QStringLiteral("Shot %1").arg(i + 1), std::nullopt, 2));
    return plan;
}

// Scrolls the page to the widget and clicks it as the user would.
void clickOnPage(ShotPlanEditorView *view, QWidget *widget)
{
    QCoreApplication::processEvents(); // let pending layouts settle
    view->scrollArea()->ensureWidgetVisible(widget);
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace

class TestPlanEditorView final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void placeholderWithoutFastlane();
    void pageLoadsWhenShownAndFollowsProject();
    void settingsDisclosure();
    void languagesOffered_data();
    void languagesOffered();
    void extraLanguageSection();
    void switchingLanguageOnAppendsAndSummarises();
    void flagRows();
    void stringFlagKeepsTypedBlanks();
    void emptyManifestShowsOnlyDisclosure();
    void variableRowsUpdateInPlace();
    void argumentRowsByIndex();
    void runBlockEnabledRules_data();
    void runBlockEnabledRules();
    void buildPicker();
    void noteAndErrorLines();
    void failedSaveStaysInView();
    void keptVersionIsToldUntilClosed();
    void locationSheet();
    void typingIntoLaneNameKeepsFocus();
    void screenshot();

private:
    std::unique_ptr<ShotPlanEditorView> showPage(const XcodeProject &project);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPlanEditorView::initTestCase()
{
    static QTemporaryDir defaults;
    UserDefaults::useFile(defaults.filePath(QStringLiteral("defaults.ini")));
    Motion::setAnimationsEnabled(false);
}

void TestPlanEditorView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

std::unique_ptr<ShotPlanEditorView> TestPlanEditorView::showPage(const XcodeProject &project)
{
    auto view = std::make_unique<ShotPlanEditorView>(project);
    view->resize(900, 700);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        qWarning("page not exposed");
    return view;
}

void TestPlanEditorView::placeholderWithoutFastlane()
{
    ProjectSpec spec;
    spec.fastlane = false;
    const XcodeProject project = makeProject(m_dir->path(), spec);
    auto view = showPage(project);
    QVERIFY(view->showsPlaceholder());
    auto *pane = view->findChild<PlaceholderPane *>();
    QVERIFY(pane && pane->isVisible());
    QCOMPARE(pane->systemImage(), QStringLiteral("camera.viewfinder"));
    QCOMPARE(pane->title(), QStringLiteral("Screenshot-Automation"));
    QCOMPARE(pane->lines(), (QStringList{QStringLiteral("Dieses Projekt hat kein fastlane-Verzeichnis"),
                                         QStringLiteral("Die Automation legt ihre Dateien additiv unter fastlane/velorancestudio/ ab")}));
    QVERIFY(!view->scrollArea()->isVisible());
    QVERIFY(!view->model()->hasLoaded());
    QVERIFY(!QFileInfo::exists(QDir(project.url).filePath(QStringLiteral("fastlane"))));
}

void TestPlanEditorView::pageLoadsWhenShownAndFollowsProject()
{
    ScreenshotPlan stored = ScreenshotPlan::makeDefault({QStringLiteral("ja")});
    ProjectSpec spec;
    spec.shotsJson = stored.encode();
    const XcodeProject project = makeProject(m_dir->path(), spec);

    ShotPlanEditorView view(project);
    QVERIFY(!view.model()->hasLoaded()); // no I/O before it is shown
    view.resize(900, 700);
    view.show();
    QVERIFY(!view.showsPlaceholder());
    QCOMPARE(view.model()->plan(), stored);
    QCOMPARE(view.column()->maximumWidth(), 820);

    ProjectSpec none;
    none.fastlane = false;
    const XcodeProject other = makeProject(m_dir->path(), none, QStringLiteral("Other"));
    view.setProject(other);
    QVERIFY(view.showsPlaceholder());
    view.setProject(project);
    QVERIFY(!view.showsPlaceholder());
    QCOMPARE(view.model()->plan(), stored);
}

void TestPlanEditorView::settingsDisclosure()
{
    auto view = showPage(makeProject(m_dir->path()));
    auto *header = view->findChild<DisclosureHeader *>(QStringLiteral("settingsDisclosure"));
    auto *content = view->findChild<QWidget *>(QStringLiteral("settingsContent"));
    QVERIFY(header && content);
    QCOMPARE(header->title(), QStringLiteral("Einstellungen"));
    QVERIFY(header->isExpanded() && content->isVisible());
    clickOnPage(view.get(), header);
    QVERIFY(!view->model()->showSettings());
    QVERIFY(!content->isVisible());
    clickOnPage(view.get(), header);
    QVERIFY(view->model()->showSettings() && content->isVisible());

    QStringList titles;
    for (auto *card : content->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (auto *title = card->findChild<QLabel *>(QStringLiteral("glassCardTitle")))
            titles << title->text();
    }
    QCOMPARE(titles, (QStringList{QStringLiteral("Sprachen"), QStringLiteral("Start-Optionen"),
                                  QStringLiteral("Simulator-Werkzeuge")}));
}

void TestPlanEditorView::languagesOffered_data()
{
    QTest::addColumn<std::optional<QStringList>>("regions");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("no regions") << std::optional<QStringList>() << QStringLiteral("App Store Connect")
                                << StoreLocales::storeLocaleCodes();
    QTest::newRow("project regions")
        << std::optional<QStringList>(QStringList{QStringLiteral("fr"), QStringLiteral("Base"), QStringLiteral("de")})
        << QStringLiteral("Vom Projekt unterstützt") << QStringList{QStringLiteral("fr"), QStringLiteral("de")};
}

void TestPlanEditorView::languagesOffered()
{
    QFETCH(std::optional<QStringList>, regions);
    QFETCH(QString, header);
    QFETCH(QStringList, codes);

    ProjectSpec spec;
    spec.regions = regions;
    auto view = showPage(makeProject(m_dir->path(), spec));
    auto *languages = view->findChild<LanguagesSection *>();
    languages->rebuildMenu();
    const QList<MenuSection> sections = sectionsOf(languages->menu());
    QCOMPARE(sections.size(), 1);
    QCOMPARE(sections.first().header, header);
    QCOMPARE(sections.first().codes, codes);
    QCOMPARE(sections.first().checked, view->model()->plan().languages);
    QCOMPARE(StoreLocales::storeLocaleCodes().size(), 39);
}

void TestPlanEditorView::extraLanguageSection()
{
    ScreenshotPlan stored = ScreenshotPlan::makeDefault({QStringLiteral("de"), QStringLiteral("pt-PT")});
    ProjectSpec spec;
    spec.regions = QStringList{QStringLiteral("de"), QStringLiteral("en")};
    spec.shotsJson = stored.encode();
    auto view = showPage(makeProject(m_dir->path(), spec));
    auto *languages = view->findChild<LanguagesSection *>();
    languages->rebuildMenu();
    QList<MenuSection> sections = sectionsOf(languages->menu());
    QCOMPARE(sections.size(), 2);
    QCOMPARE(sections.at(0).header, QStringLiteral("Nicht in der Liste"));
    QCOMPARE(sections.at(0).codes, QStringList{QStringLiteral("pt-PT")});
    QCOMPARE(sections.at(0).checked, QStringList{QStringLiteral("pt-PT")});
    QCOMPARE(sections.at(1).header, QStringLiteral("Vom Projekt unterstützt"));

    itemFor(languages->menu(), QStringLiteral("pt-PT"))->trigger();
    QCOMPARE(view->model()->plan().languages, QStringList{QStringLiteral("de")});
    languages->rebuildMenu();
    sections = sectionsOf(languages->menu());
    QCOMPARE(sections.size(), 1);
    QCOMPARE(sections.first().header, QStringLiteral("Vom Projekt unterstützt"));
}

void TestPlanEditorView::switchingLanguageOnAppendsAndSummarises()
{
    // Names come in the user's language; under LANG=C there is none and codes stand alone.
    const QLocale userLocale;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restoreLocale = qScopeGuard([userLocale] { QLocale::setDefault(userLocale); });
    auto view = showPage(makeProject(m_dir->path())); // de-DE, en-GB
    auto *languages = view->findChild<LanguagesSection *>();
    languages->rebuildMenu();
    itemFor(languages->menu(), QStringLiteral("ja"))->trigger();
    QCOMPARE(view->model()->plan().languages,
             (QStringList{QStringLiteral("de-DE"), QStringLiteral("en-GB"), QStringLiteral("ja")}));
    QCOMPARE(languages->summary(), StoreLocales::languageSummary(view->model()->plan().languages));
    QVERIFY(languages->summary().endsWith(QStringLiteral("(ja)")));
    QCOMPARE(languages->summary().count(QStringLiteral(", ")), 2);
    QVERIFY(languages->menuButton()->maximumWidth() <= 420);

    const QStringList chosen = view->model()->plan().languages;
    for (const QString &code : chosen)
        view->model()->languageBinding(code).set(false);
    QCOMPARE(languages->summary(), QStringLiteral("Sprachen wählen"));
    QCOMPARE(languages->menuButton()->text(), QStringLiteral("Sprachen wählen"));
}

void TestPlanEditorView::flagRows()
{
    ProjectSpec spec;
    spec.flagsJson = kFlags;
    auto view = showPage(makeProject(m_dir->path(), spec));
    auto *section = view->findChild<LaunchOptionsSection *>();
    QVERIFY(!view->model()->showAdvancedLaunch());
    QVERIFY(!section->advancedArea()->isVisible());
    const QList<FlagRow *> rows = section->flagRows();
    QCOMPARE(rows.size(), 4);

    FlagRow *beta = rows.at(0);
    QComboBox *picker = beta->picker();
    QCOMPARE(picker->count(), 3);
    QCOMPARE(picker->itemText(0), QStringLiteral("nicht gesetzt"));
    QCOMPARE(picker->itemText(1), QStringLiteral("An"));
    QCOMPARE(picker->itemText(2), QStringLiteral("Aus"));
    QCOMPARE(picker->width(), 190);
    QCOMPARE(beta->statusSymbol()->symbolName(), QStringLiteral("circle"));
    QVERIFY(!view->model()->plan().flagSelections.contains(QStringLiteral("-beta")));

    picker->setCurrentIndex(1);
    Q_EMIT picker->activated(1);
    QCOMPARE(view->model()->plan().flagSelections.value(QStringLiteral("-beta")), QStringLiteral("true"));
    QCOMPARE(beta->statusSymbol()->symbolName(), QStringLiteral("checkmark.circle.fill"));
    picker->setCurrentIndex(2);
    Q_EMIT picker->activated(2);
    QCOMPARE(view->model()->plan().resolvedLaunchArguments(), (QStringList{QStringLiteral("-beta"), QStringLiteral("false")}));
    picker->setCurrentIndex(0);
    Q_EMIT picker->activated(0);
    QVERIFY(view->model()->plan().flagSelections.isEmpty());
    QCOMPARE(beta->statusSymbol()->symbolName(), QStringLiteral("circle"));

    QComboBox *theme = rows.at(1)->picker();
    QCOMPARE(theme->count(), 3);
    QCOMPARE(theme->itemText(2), QStringLiteral("dark"));
    QCOMPARE(rows.at(2)->picker()->count(), 1); // enum without values
    QVERIFY(rows.at(3)->field());
    QCOMPARE(rows.at(3)->field()->placeholderText(), QStringLiteral("Wert"));

    // A selection set elsewhere shows in the row.
    view->model()->flagBinding(QStringLiteral("-theme")).set(QStringLiteral("dark"));
    QCOMPARE(theme->currentText(), QStringLiteral("dark"));
    QVERIFY(rows.at(1)->isSet());
}

void TestPlanEditorView::stringFlagKeepsTypedBlanks()
{
    ProjectSpec spec;
    spec.flagsJson = kFlags;
    const XcodeProject project = makeProject(m_dir->path(), spec);
    auto view = showPage(project);
    QLineEdit *field = view->findChild<LaunchOptionsSection *>()->flagRows().at(3)->field();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral(" anna "));
    QCOMPARE(field->text(), QStringLiteral(" anna ")); // the field keeps what is being typed
    QCOMPARE(view->model()->plan().flagSelections.value(QStringLiteral("-user")), QStringLiteral("anna"));
    QCOMPARE(planOnDisk(project)->flagSelections.value(QStringLiteral("-user")), QStringLiteral("anna"));

    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("   "));
    QVERIFY(!view->model()->plan().flagSelections.contains(QStringLiteral("-user")));
}

void TestPlanEditorView::emptyManifestShowsOnlyDisclosure()
{
    auto view = showPage(makeProject(m_dir->path()));
    auto *section = view->findChild<LaunchOptionsSection *>();
    QVERIFY(section->flagRows().isEmpty());
    QVERIFY(!section->findChild<QWidget *>(QStringLiteral("flagsArea"))->isVisible());
    QCOMPARE(section->disclosure()->mapTo(section, QPoint(0, 0)).y(), 0); // no 6-point gap
    QVERIFY(section->disclosure()->isVisible());
    QVERIFY(section->advancedArea()->isVisible()); // open for apps without flags

    clickOnPage(view.get(), section->disclosure());
    QVERIFY(!view->model()->showAdvancedLaunch());
    QVERIFY(!section->advancedArea()->isVisible());
}

void TestPlanEditorView::variableRowsUpdateInPlace()
{
    const XcodeProject project = makeProject(m_dir->path());
    auto view = showPage(project);
    auto *section = view->findChild<LaunchOptionsSection *>();
    auto *add = section->findChild<QPushButton *>(QStringLiteral("addVariableButton"));
    clickOnPage(view.get(), add);
    clickOnPage(view.get(), add);
    QCOMPARE(section->variableRows().size(), 2);
    LaunchVariableRow *row = section->variableRows().at(0);
    QCOMPARE(row->keyField()->placeholderText(), QStringLiteral("Name"));
    QCOMPARE(row->valueField()->placeholderText(), QStringLiteral("Wert"));
    QCOMPARE(row->removeButton()->toolTip(), QStringLiteral("Variable entfernen"));

    QApplication::setActiveWindow(view.get());
    row->keyField()->setFocus();
    QTest::keyClicks(row->keyField(), QStringLiteral("PREMIUM"));
    QCOMPARE(section->variableRows().at(0), row); // not rebuilt
    QVERIFY(row->keyField()->hasFocus());
    QCOMPARE(row->keyField()->cursorPosition(), 7);
    QCOMPARE(planOnDisk(project)->launchVariables.at(0).key, QStringLiteral("PREMIUM"));

    LaunchVariableRow *second = section->variableRows().at(1);
    clickOnPage(view.get(), row->removeButton());
    QCOMPARE(section->variableRows(), QList<LaunchVariableRow *>{second});
    QCOMPARE(view->model()->plan().launchVariables.size(), 1);
    QCOMPARE(view->model()->plan().launchVariables.at(0).id, second->variableID());
}

void TestPlanEditorView::argumentRowsByIndex()
{
    const XcodeProject project = makeProject(m_dir->path());
    auto view = showPage(project);
    auto *section = view->findChild<LaunchOptionsSection *>();
    auto *add = section->findChild<QPushButton *>(QStringLiteral("addArgumentButton"));
    for (int i = 0; i < 3; ++i)
        clickOnPage(view.get(), add);
    QCOMPARE(section->argumentRows().size(), 3);
    QApplication::setActiveWindow(view.get());
    const QList<LaunchArgumentRow *> rows = section->argumentRows();
    for (int i = 0; i < 3; ++i) {
        QLineEdit *field = rows.at(i)->field();
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("-a%1").arg(i));
        QVERIFY(field->hasFocus());
        QCOMPARE(section->argumentRows(), rows);
    }
    LaunchArgumentRow *first = section->argumentRows().at(0);
    QCOMPARE(first->field()->placeholderText(), QStringLiteral("-flag wert"));
    QCOMPARE(first->removeButton()->toolTip(), QStringLiteral("Argument entfernen"));

    clickOnPage(view.get(), section->argumentRows().at(1)->removeButton());
    QCOMPARE(view->model()->plan().launchArguments, (QStringList{QStringLiteral("-a0"), QStringLiteral("-a2")}));
    QCOMPARE(section->argumentRows().size(), 2);
    QCOMPARE(section->argumentRows().at(0), first);
    QCOMPARE(section->argumentRows().at(1)->field()->text(), QStringLiteral("-a2"));
}

void TestPlanEditorView::runBlockEnabledRules_data()
{
    QTest::addColumn<bool>("shots");
    QTest::addColumn<bool>("bundle");
    QTest::addColumn<bool>("startAll");
    QTest::addColumn<bool>("exportable");
    QTest::newRow("lanes but no shots") << false << true << false << false;
    QTest::newRow("shots") << true << true << true << true;
    QTest::newRow("no bundle identifier") << true << false << false << true;
}

void TestPlanEditorView::runBlockEnabledRules()
{
    QFETCH(bool, shots);
    QFETCH(bool, bundle);
    QFETCH(bool, startAll);
    QFETCH(bool, exportable);

    ProjectSpec spec;
    spec.bundleIdentifier = bundle;
    auto view = showPage(makeProject(m_dir->path(), spec));
    if (shots)
        view->model()->addEmptyShot(view->model()->plan().lanes.first());
    auto *block = view->findChild<RunBlock *>();
    QCOMPARE(block->startAllButton()->text(), QStringLiteral("Alle starten"));
    QCOMPARE(block->startAllButton()->isEnabled(), startAll);
    QCOMPARE(block->exportButton()->isEnabled(), exportable);
    QCOMPARE(block->exportAction()->isEnabled(), exportable);
    // The accent title is for the enabled menu only; disabled it takes the dimmed text.
    const QPalette::ColorGroup group = exportable ? QPalette::Active : QPalette::Disabled;
    QCOMPARE(block->exportButton()->palette().color(group, QPalette::ButtonText) == AppPalette::accent(), exportable);
    QVERIFY(block->buildPicker()->isEnabled());

    if (startAll) {
        view->model()->runLane(view->model()->plan().lanes.first());
        view->model()->setShowRun(false);
        clickOnPage(view.get(), block->startAllButton());
        QVERIFY(view->model()->showRun());
        QVERIFY(!view->model()->laneToRun());
    }
}

void TestPlanEditorView::buildPicker()
{
    auto view = showPage(makeProject(m_dir->path()));
    QComboBox *picker = view->findChild<RunBlock *>()->buildPicker();
    QCOMPARE(picker->count(), 2);
    QCOMPARE(picker->itemText(0), QStringLiteral("Produktion"));
    QCOMPARE(picker->itemText(1), QStringLiteral("Entwicklung"));
    QCOMPARE(picker->currentIndex(), 0);
    QCOMPARE(picker->toolTip(), QStringLiteral("Entwicklung oder Produktion bauen. Für Screenshots meist Produktion."));
    picker->setCurrentIndex(1);
    Q_EMIT picker->activated(1);
    QCOMPARE(view->model()->buildConfig(), BuildConfiguration::Debug);
}

void TestPlanEditorView::noteAndErrorLines()
{
    const XcodeProject project = makeProject(m_dir->path());
    auto view = showPage(project);
    PlanEditorModel *model = view->model();
    model->setNoteDuration(300);
    auto *noteLine = view->findChild<QWidget *>(QStringLiteral("saveNoteLine"));
    auto *noteText = view->findChild<QLabel *>(QStringLiteral("saveNoteText"));
    auto *errorLine = view->findChild<QWidget *>(QStringLiteral("saveErrorLine"));
    auto *errorText = view->findChild<QLabel *>(QStringLiteral("saveErrorText"));
    QVERIFY(!noteLine->isVisible() && !errorLine->isVisible());

    model->addEmptyShot(model->plan().lanes.first());
    view->findChild<RunBlock *>()->exportAction()->trigger();
    QVERIFY(noteLine->isVisible());
    QVERIFY(noteText->text().startsWith(QStringLiteral("Testcode erzeugt: ")));
    QTRY_VERIFY_WITH_TIMEOUT(!noteLine->isVisible(), 2000);

    // With animations the line fades in, stays, and fades out once its time is up. It stays
    // long enough here that a slow machine (a sanitizer build) still sees the fade-in end first.
    Motion::setAnimationsEnabled(true);
    model->setNoteDuration(1500);
    model->showNote(QStringLiteral("Hinweis"));
    QVERIFY(noteLine->isVisible());
    QCOMPARE(noteText->text(), QStringLiteral("Hinweis"));
    QTRY_VERIFY(!noteLine->graphicsEffect());
    QVERIFY(noteLine->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!noteLine->isVisible(), 5000);
    Motion::setAnimationsEnabled(false);
    model->setNoteDuration(300);

    const QString blocker = blockPlanFolder(project);
    QVERIFY(!blocker.isEmpty());
    model->addLane();
    QVERIFY(errorLine->isVisible());
    QVERIFY(errorText->text().startsWith(QStringLiteral("Konnte nicht speichern: ")));
    QVERIFY(QFile::remove(blocker));
    model->addLane();
    QVERIFY(!errorLine->isVisible());
}

// A save that fails while the user works at the top of a long page: the failure is in view
// there (and at the bottom), and nothing promises that changes are saved.
void TestPlanEditorView::failedSaveStaysInView()
{
    ProjectSpec spec;
    spec.shotsJson = longPlan().encode();
    const XcodeProject project = makeProject(m_dir->path(), spec);
    auto view = showPage(project);
    PlanEditorModel *model = view->model();
    QScrollBar *scrollBar = view->scrollArea()->verticalScrollBar();
    QTRY_VERIFY(scrollBar->maximum() > 0);
    QLabel *promise = nullptr;
    for (QLabel *label : view->findChildren<QLabel *>()) {
        if (label->text() == QStringLiteral("Änderungen am Plan werden automatisch gespeichert."))
            promise = label;
    }
    QVERIFY(promise && promise->isVisible());

    // The plan file turns into a link leading out of the project: the next edit cannot be saved.
    const QString outside = m_dir->filePath(QStringLiteral("elsewhere.json"));
    QVERIFY(writeBytes(outside, "{}"));
    QVERIFY(QFile::remove(planPath(project)));
    QVERIFY(QFile::link(outside, planPath(project)));
    scrollBar->setValue(0);
    model->setLaneName(model->plan().lanes.first().id, QStringLiteral("Oben bearbeitet"));
    QVERIFY(model->saveError());
    QCoreApplication::processEvents();

    for (const int position : {0, scrollBar->maximum()}) {
        scrollBar->setValue(position);
        QCoreApplication::processEvents();
        // Shown above the scrolling page, so no scrolling moves it away.
        QLabel *shown = nullptr;
        for (QLabel *label : view->findChildren<QLabel *>()) {
            if (label->text() == *model->saveError() && inView(view.get(), label)
                && !view->scrollArea()->isAncestorOf(label))
                shown = label;
        }
        QVERIFY2(shown, qPrintable(QStringLiteral("no failure in view at %1").arg(position)));
        const auto symbols = shown->parentWidget()->findChildren<SymbolLabel *>();
        QVERIFY(std::any_of(symbols.cbegin(), symbols.cend(), [&](SymbolLabel *symbol) {
            return symbol->symbolName() == QStringLiteral("exclamationmark.triangle.fill") && inView(view.get(), symbol)
                && symbol->color() == AppPalette::destructive();
        }));
        QCOMPARE(shown->palette().color(QPalette::WindowText), AppPalette::destructive());
        QVERIFY(!promise->isVisible());
    }
    // The line under the page stays as it was.
    QVERIFY(view->findChild<QWidget *>(QStringLiteral("saveErrorLine"))->isVisible());

    // Saved again: the failure goes and the promise is back.
    QVERIFY(QFile::remove(planPath(project)));
    model->addLane();
    QVERIFY(!model->saveError());
    QVERIFY(promise->isVisible());
    for (QLabel *label : view->findChildren<QLabel *>())
        QVERIFY(!label->text().startsWith(QStringLiteral("Konnte nicht")) || !label->isVisible());
}

// An edit keeps a version written outside aside: the page says where it lies, above the
// scrolling page and not as a failure, until the user closes it.
void TestPlanEditorView::keptVersionIsToldUntilClosed()
{
    ProjectSpec spec;
    spec.shotsJson = longPlan().encode();
    const XcodeProject project = makeProject(m_dir->path(), spec);
    auto view = showPage(project);
    PlanEditorModel *model = view->model();
    SaveErrorBar *bar = view->keptNoticeBar();
    QVERIFY(!bar->isVisible());

    QVERIFY(writeBytes(planPath(project), ScreenshotPlan::makeDefault({QStringLiteral("is-IS")}).encode()));
    model->setLaneName(model->plan().lanes.first().id, QStringLiteral("Bearbeitet"));
    QCoreApplication::processEvents();
    QScrollBar *scrollBar = view->scrollArea()->verticalScrollBar();
    QTRY_VERIFY(scrollBar->maximum() > 0);
    const QString told = QStringLiteral("„shots.json“ wurde außerhalb geändert, während du bearbeitet hast. Deine "
                                        "Fassung ist gespeichert, die andere liegt jetzt unter „shots.json.kept“.");
    auto *text = bar->findChild<QLabel *>(QStringLiteral("keptNoticeBarText"));
    for (const int position : {0, scrollBar->maximum()}) {
        scrollBar->setValue(position);
        QCoreApplication::processEvents();
        QVERIFY(inView(view.get(), text));
        QVERIFY(!view->scrollArea()->isAncestorOf(bar));
    }
    QCOMPARE(text->text(), told);
    QVERIFY(text->palette().color(QPalette::WindowText) != AppPalette::destructive());
    auto *symbol = bar->findChild<SymbolLabel *>(QStringLiteral("keptNoticeBarSymbol"));
    QVERIFY(symbol && symbol->color() != AppPalette::destructive());
    QVERIFY(!view->saveErrorBar()->isVisible());

    auto *close = bar->findChild<QToolButton *>(QStringLiteral("keptNoticeBarClose"));
    QVERIFY(close && inView(view.get(), close));
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(model->keptNotice(), std::nullopt);
    QVERIFY(!bar->isVisible());
    QVERIFY(!view->findChild<QWidget *>(QStringLiteral("saveErrorPin"))->isVisible());
}

void TestPlanEditorView::locationSheet()
{
    auto view = showPage(makeProject(m_dir->path()));
    auto *button = view->findChild<IconActionButton *>(QStringLiteral("locationButton"));
    QVERIFY(button);
    QCOMPARE(button->title(), QStringLiteral("Standort"));
    QCOMPARE(view->findChild<IconActionButton *>(QStringLiteral("inspectorButton"))->title(), QStringLiteral("Inspector"));
    clickOnPage(view.get(), button);
    QVERIFY(view->model()->showLocation());
    QVERIFY(view->locationSheet());
    QVERIFY(view->locationSheet()->isVisible());

    view->locationSheet()->reject();
    QVERIFY(!view->model()->showLocation());
    QTRY_VERIFY(!view->locationSheet());
}

void TestPlanEditorView::typingIntoLaneNameKeepsFocus()
{
    ScreenshotPlan stored = ScreenshotPlan::makeDefault({QStringLiteral("de-DE")});
    stored.lanes.append(makeLane(QStringLiteral("Zweite")));
    for (int i = 0; i < 50; ++i)
        stored.shots.append(makeShot(QStringLiteral("Shot %1").arg(i + 1), stored.lanes.at(i % 2).id, 3));
    ProjectSpec spec;
    spec.shotsJson = stored.encode();
    const XcodeProject project = makeProject(m_dir->path(), spec);
    auto view = showPage(project);
    QApplication::setActiveWindow(view.get());

    auto *lanes = view->findChild<LanesSection *>();
    QVERIFY(lanes);
    lanes->finishBuilding(); // every step row exists, so any new field would be a rebuild
    const QList<LaneCard *> cards = lanes->laneCards();
    QCOMPARE(cards.size(), 2);
    QLineEdit *field = cards.at(1)->nameField();
    QVERIFY(field);
    field->setFocus();
    field->end(false);
    const QList<QLineEdit *> fieldsBefore = view->findChildren<QLineEdit *>();

    QTest::keyClicks(field, QStringLiteral(" Lane 1234"));
    QVERIFY(field->hasFocus());
    QCOMPARE(field->text(), QStringLiteral("Zweite Lane 1234"));
    QCOMPARE(field->cursorPosition(), field->text().size());
    QCOMPARE(lanes->laneCards(), cards);
    QCOMPARE(view->findChildren<QLineEdit *>(), fieldsBefore); // nothing rebuilt
    QCOMPARE(planOnDisk(project)->lanes.at(1).name, QStringLiteral("Zweite Lane 1234"));
}

// Writes pictures of the editor scrolled to the top after a failed save and after an outside
// version was kept aside, for a look by eye; only when asked for.
void TestPlanEditorView::screenshot()
{
    const QString folder = qEnvironmentVariable("VELORANCE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set VELORANCE_SCREENSHOT_DIR to write screenshots");
    AppStyle::install();
    ProjectSpec spec;
    spec.shotsJson = longPlan().encode();
    const XcodeProject project = makeProject(m_dir->path(), spec);
    auto view = showPage(project);
    view->resize(1000, 760);
    const QString outside = m_dir->filePath(QStringLiteral("elsewhere.json"));
    QVERIFY(writeBytes(outside, "{}"));
    QVERIFY(QFile::remove(planPath(project)));
    QVERIFY(QFile::link(outside, planPath(project)));
    view->model()->setLaneName(view->model()->plan().lanes.first().id, QStringLiteral("Startbildschirm"));
    QVERIFY(view->model()->saveError());
    view->scrollArea()->verticalScrollBar()->setValue(0);
    QTest::qWait(100);
    QVERIFY(view->grab().save(folder + QStringLiteral("/plan-editor-save-failed.png")));

    // An outside version kept aside by the next edit.
    QVERIFY(QFile::remove(planPath(project)));
    QVERIFY(writeBytes(planPath(project), ScreenshotPlan::makeDefault({QStringLiteral("is-IS")}).encode()));
    view->model()->setLaneName(view->model()->plan().lanes.first().id, QStringLiteral("Start"));
    QVERIFY(view->model()->keptNotice());
    view->scrollArea()->verticalScrollBar()->setValue(0);
    QTest::qWait(100);
    QVERIFY(view->grab().save(folder + QStringLiteral("/plan-editor-version-kept.png")));
}

QTEST_MAIN(TestPlanEditorView)
#include "tst_planeditorview.moc"
