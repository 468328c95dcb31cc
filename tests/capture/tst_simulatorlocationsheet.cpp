#include "LayoutProbe.h"

#include <AppPalette.h>
#include <AppStyle.h>
#include <LocationSheetModel.h>
#include <MapWidget.h>
#include <SimulatorLocation.h>
#include <SimulatorLocationSheet.h>
#include <Spring.h>
#include <SymbolLabel.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPromise>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// A search that ends when the test says so.
class ManualSearcher final : public PlaceSearcher
{
public:
    QFuture<PlaceSearchResult> search(const QString &query) const override
    {
        queries.append(query);
        promise = std::make_shared<QPromise<PlaceSearchResult>>();
        promise->start();
        return promise->future();
    }
    void finish(const PlaceSearchResult &result) const
    {
        promise->addResult(result);
        promise->finish();
    }
    mutable QStringList queries;
    mutable std::shared_ptr<QPromise<PlaceSearchResult>> promise;
};

// Types text of any script into a field; QTest::keyClicks knows only ASCII.
void typeText(QWidget *field, const QString &text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

struct Calls
{
    QList<QPair<double, double>> applied;
    int cleared = 0;
};

} // namespace

class TestSimulatorLocationSheet final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void initialValues_data();
    void initialValues();
    void blankQueryDoesNotSearch();
    void searchMovesCoordinateAndCamera();
    void searchShowsProgressAndSearchFailures();
    void germanPlaceNamesFindTheirCity_data();
    void germanPlaceNamesFindTheirCity();
    void simulatorCalls_data();
    void simulatorCalls();
    void buttonsWaitWhileBusy();
    void recentreKeepsZoom();
    void tapMovesMarkerNotCamera();
    void fieldsRoundToSixDigits();
    void fieldsFollowGermanLocale();
    void escapeAndCloseButtonDismiss();
    void headerCentredAndRecentreLarge();
    void nothingOverlapsAtAnyAllowedSize();
    void resultsAfterClosingReachOnlyALivePresenter();
    void screenshot();

private:
    SimulatorLocationSheet *makeSheet(std::optional<PlanLocation> initial = std::nullopt, QWidget *parent = nullptr);
    // A fresh sheet in m_sheet, shown; with `searcher` its searches go there.
    void showSheet(std::optional<PlanLocation> initial = std::nullopt, std::shared_ptr<PlaceSearcher> searcher = {})
    {
        m_sheet.reset(makeSheet(initial));
        if (searcher)
            m_sheet->setPlaceSearcher(std::move(searcher));
        m_sheet->show();
    }
    QString writeXcrun(const QString &body);

    Calls m_calls;
    std::unique_ptr<SimulatorLocationSheet> m_sheet;
    QTemporaryDir m_tools;
};

void TestSimulatorLocationSheet::initTestCase()
{
    Motion::setAnimationsEnabled(false);
    // Dressed as the application dresses itself.
    AppStyle::install();
    QVERIFY(m_tools.isValid());
}

void TestSimulatorLocationSheet::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_calls = {};
    qunsetenv("VELORANCE_STANDIN_LOCATION_FAIL");
    const QString standin = QStringLiteral(VELORANCE_STANDIN_DIR "/xcrun");
    SimulatorLocation::setXcrunPath(QFile::exists(standin) ? standin : writeXcrun(QStringLiteral("exit 0")));
}

void TestSimulatorLocationSheet::cleanup()
{
    m_sheet.reset();
    SimulatorLocation::setXcrunPath(QString());
}

SimulatorLocationSheet *TestSimulatorLocationSheet::makeSheet(std::optional<PlanLocation> initial, QWidget *parent)
{
    auto *sheet = new SimulatorLocationSheet(
        initial, [this](double lat, double lon) { m_calls.applied.append({lat, lon}); },
        [this] { ++m_calls.cleared; }, parent);
    return sheet;
}

QString TestSimulatorLocationSheet::writeXcrun(const QString &body)
{
    static int count = 0;
    const QString path = m_tools.filePath(QStringLiteral("xcrun-%1").arg(++count));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void TestSimulatorLocationSheet::initialValues_data()
{
    QTest::addColumn<std::optional<PlanLocation>>("initial");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("latitudeText");
    QTest::addColumn<QString>("longitudeText");

    QTest::newRow("default") << std::optional<PlanLocation>() << 37.3349 << -122.009 << "37.3349" << "-122.009";
    QTest::newRow("given") << std::optional<PlanLocation>(PlanLocation{52.52, 13.405}) << 52.52 << 13.405 << "52.52" << "13.405";
    QTest::newRow("whole numbers") << std::optional<PlanLocation>(PlanLocation{-33.0, 151.0}) << -33.0 << 151.0 << "-33" << "151";
}

void TestSimulatorLocationSheet::initialValues()
{
    QFETCH(std::optional<PlanLocation>, initial);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, latitudeText);
    QFETCH(QString, longitudeText);

    m_sheet.reset(makeSheet(initial));
    LocationSheetModel *model = m_sheet->model();
    QCOMPARE(model->latitude(), latitude);
    QCOMPARE(model->longitude(), longitude);
    const MapCamera camera{{latitude, longitude}, {0.05, 0.05}};
    QCOMPARE(model->camera(), camera);
    QCOMPARE(model->span(), (MapSpan{0.05, 0.05}));
    QCOMPARE(m_sheet->map()->camera(), camera);
    QCOMPARE(m_sheet->map()->marker(), (MapCoordinate{latitude, longitude}));
    QCOMPARE(m_sheet->findChild<QLineEdit *>("latitudeField")->text(), latitudeText);
    QCOMPARE(m_sheet->findChild<QLineEdit *>("longitudeField")->text(), longitudeText);

    m_sheet->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
    QVERIFY(m_sheet->isModal() || m_sheet->windowModality() == Qt::WindowModal);
    QCOMPARE(m_sheet->minimumSize(), QSize(580, 600));
    QVERIFY(m_sheet->map()->height() >= 340);
    QCOMPARE(m_sheet->findChild<QLineEdit *>("latitudeField")->width(), 120);
    QVERIFY(!m_sheet->findChild<QWidget *>("outcome")->isVisible());
    QVERIFY(!m_sheet->findChild<QLabel *>("searchError")->isVisible());
    QCOMPARE(m_sheet->findChild<QLineEdit *>("queryField")->placeholderText(),
             QStringLiteral("Ort suchen, z. B. Berlin oder Eiffelturm"));
    QVERIFY(m_sheet->findChild<QPushButton *>("applyButton")->isEnabled());
}

void TestSimulatorLocationSheet::blankQueryDoesNotSearch()
{
    auto searcher = std::make_shared<ManualSearcher>();
    showSheet(std::nullopt, searcher);
    auto *field = m_sheet->findChild<QLineEdit *>("queryField");
    auto *button = m_sheet->findChild<QPushButton *>("searchButton");
    QVERIFY(!button->isEnabled());

    QTest::keyClicks(field, QStringLiteral("  \t "));
    QVERIFY(!button->isEnabled());
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(!m_sheet->model()->isSearching());
    QVERIFY(searcher->queries.isEmpty());
    QVERIFY(m_sheet->isVisible());

    QTest::keyClicks(field, QStringLiteral("B"));
    QVERIFY(button->isEnabled());
}

void TestSimulatorLocationSheet::searchMovesCoordinateAndCamera()
{
    showSheet();
    auto *field = m_sheet->findChild<QLineEdit *>("queryField");
    QTest::keyClicks(field, QStringLiteral(" Berlin "));
    QTest::mouseClick(m_sheet->findChild<QPushButton *>("searchButton"), Qt::LeftButton);
    QTRY_VERIFY(!m_sheet->model()->isSearching());

    LocationSheetModel *model = m_sheet->model();
    QVERIFY(!model->searchError());
    QVERIFY(std::abs(model->latitude() - 52.52) < 0.01);
    QVERIFY(std::abs(model->longitude() - 13.40) < 0.02);
    QVERIFY(m_sheet->findChild<QLineEdit *>("latitudeField")->text().startsWith(QStringLiteral("52.52")));
    QVERIFY(m_sheet->findChild<QLineEdit *>("longitudeField")->text().startsWith(QStringLiteral("13.4")));
    QCOMPARE(m_sheet->map()->camera(), (MapCamera{{model->latitude(), model->longitude()}, {0.05, 0.05}}));
    QVERIFY(!m_sheet->findChild<QWidget *>("outcome")->isVisible());

    // A place the gazetteer does not know leaves the coordinate where it is.
    field->clear();
    QTest::keyClicks(field, QStringLiteral("Eiffelturm"));
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_VERIFY(!m_sheet->model()->isSearching());
    QCOMPARE(model->searchError(), QStringLiteral("Nichts gefunden"));
    auto *error = m_sheet->findChild<QLabel *>("searchError");
    QVERIFY(error->isVisible());
    QCOMPARE(error->text(), QStringLiteral("Nichts gefunden"));
    QVERIFY(std::abs(model->latitude() - 52.52) < 0.01);
}

void TestSimulatorLocationSheet::searchShowsProgressAndSearchFailures()
{
    auto searcher = std::make_shared<ManualSearcher>();
    showSheet(std::nullopt, searcher);
    auto *field = m_sheet->findChild<QLineEdit *>("queryField");
    auto *button = m_sheet->findChild<QPushButton *>("searchButton");
    auto *progress = m_sheet->findChild<QWidget *>("searchProgress");
    auto *error = m_sheet->findChild<QLabel *>("searchError");
    QVERIFY(!progress->isVisible());

    QTest::keyClicks(field, QStringLiteral("\tHamburg  "));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(searcher->queries, QStringList{QStringLiteral("Hamburg")});
    QVERIFY(progress->isVisible());
    QVERIFY(!button->isVisible());
    searcher->finish(PlaceSearchResult::failure(QStringLiteral("disk on fire")));
    QTRY_VERIFY(!m_sheet->model()->isSearching());
    QVERIFY(!progress->isVisible());
    QVERIFY(button->isVisible());
    QCOMPARE(error->text(), QStringLiteral("Suche fehlgeschlagen"));
    QCOMPARE(error->palette().color(QPalette::WindowText), QColor(0xFF, 0x45, 0x3A));
    QCOMPARE(m_sheet->model()->latitude(), 37.3349);

    // The next search clears the message when it starts; its result moves the coordinate.
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(!error->isVisible());
    searcher->finish(QList<MapItem>{{QStringLiteral("Hamburg"), 53.55, 10.0}, {QStringLiteral("Hamburg"), 42.7, -78.8}});
    QTRY_COMPARE(m_sheet->model()->latitude(), 53.55);
    QCOMPARE(m_sheet->model()->longitude(), 10.0);
    QVERIFY(!error->isVisible());
}

void TestSimulatorLocationSheet::germanPlaceNamesFindTheirCity_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::newRow("München") << "München" << 48.14 << 11.58;
    QTest::newRow("Köln") << "Köln" << 50.93 << 6.95;
    QTest::newRow("Wien, not Wiener Neustadt") << "Wien" << 48.21 << 16.37;
    QTest::newRow("Mailand") << "Mailand" << 45.46 << 9.19;
}

void TestSimulatorLocationSheet::germanPlaceNamesFindTheirCity()
{
    QFETCH(QString, query);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    showSheet();
    auto *field = m_sheet->findChild<QLineEdit *>("queryField");
    typeText(field, query);
    QCOMPARE(field->text(), query);
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!m_sheet->model()->isSearching(), 10000);
    QVERIFY(!m_sheet->model()->searchError());
    QVERIFY(std::abs(m_sheet->model()->latitude() - latitude) < 0.05);
    QVERIFY(std::abs(m_sheet->model()->longitude() - longitude) < 0.05);
}

void TestSimulatorLocationSheet::simulatorCalls_data()
{
    QTest::addColumn<bool>("apply");
    QTest::addColumn<bool>("simulatorBooted");
    QTest::addColumn<QString>("message");

    QTest::newRow("apply") << true << true << "Standort gesetzt";
    QTest::newRow("apply without simulator") << true << false << "Fehler (Code 1) — läuft ein Simulator?";
    QTest::newRow("clear") << false << true << "Standort zurückgesetzt";
    QTest::newRow("clear without simulator") << false << false << "Fehler (Code 1) — läuft ein Simulator?";
}

void TestSimulatorLocationSheet::simulatorCalls()
{
    QFETCH(bool, apply);
    QFETCH(bool, simulatorBooted);
    QFETCH(QString, message);

    const QString standin = QStringLiteral(VELORANCE_STANDIN_DIR "/xcrun");
    if (!QFile::exists(standin)) {
        SimulatorLocation::setXcrunPath(writeXcrun(simulatorBooted ? QStringLiteral("exit 0") : QStringLiteral("exit 1")));
    } else if (!simulatorBooted) {
        qputenv("VELORANCE_STANDIN_LOCATION_FAIL", "1");
    }

    showSheet(PlanLocation{48.1374, 11.5755});
    QTest::mouseClick(m_sheet->findChild<QPushButton *>(apply ? "applyButton" : "clearButton"), Qt::LeftButton);
    QVERIFY(m_sheet->model()->isBusy());
    QTRY_VERIFY_WITH_TIMEOUT(!m_sheet->model()->isBusy(), 10000);

    auto *outcome = m_sheet->findChild<QLabel *>("outcomeLabel");
    auto *symbol = m_sheet->findChild<SymbolLabel *>("outcomeSymbol");
    QVERIFY(outcome->isVisible());
    QCOMPARE(outcome->text(), message);
    QCOMPARE(outcome->wordWrap(), true);
    const QColor expected = simulatorBooted ? QColor(0x0A, 0x84, 0xFF) : QColor(0xFF, 0x45, 0x3A);
    QCOMPARE(outcome->palette().color(QPalette::WindowText), expected);
    QCOMPARE(symbol->color(), expected);
    QCOMPARE(symbol->symbolName(), simulatorBooted ? QStringLiteral("checkmark.circle.fill")
                                                   : QStringLiteral("exclamationmark.triangle.fill"));
    // The symbol stands level with the message's first line, the message level with the buttons.
    QApplication::processEvents();
    const int firstLineCentre = outcome->mapTo(m_sheet.get(), QPoint(0, outcome->fontMetrics().height() / 2)).y();
    QVERIFY(qAbs(symbol->mapTo(m_sheet.get(), QPoint(0, symbol->height() / 2)).y() - firstLineCentre) <= 1);
    auto *clearButton = m_sheet->findChild<QPushButton *>("clearButton");
    QVERIFY(qAbs(firstLineCentre - clearButton->mapTo(m_sheet.get(), QPoint(0, clearButton->height() / 2)).y()) <= 2);

    // The presenter hears of every attempt, whatever its outcome; the sheet stays open.
    if (apply) {
        QCOMPARE(m_calls.applied, (QList<QPair<double, double>>{{48.1374, 11.5755}}));
        QCOMPARE(m_calls.cleared, 0);
    } else {
        QVERIFY(m_calls.applied.isEmpty());
        QCOMPARE(m_calls.cleared, 1);
    }
    QVERIFY(m_sheet->isVisible());
}

void TestSimulatorLocationSheet::buttonsWaitWhileBusy()
{
    SimulatorLocation::setXcrunPath(writeXcrun(QStringLiteral("sleep 0.3; exit 0")));
    showSheet();
    auto *apply = m_sheet->findChild<QPushButton *>("applyButton");
    auto *clear = m_sheet->findChild<QPushButton *>("clearButton");
    QTest::mouseClick(apply, Qt::LeftButton);
    QVERIFY(!apply->isEnabled());
    QVERIFY(!clear->isEnabled());
    QVERIFY(m_sheet->findChild<QWidget *>("applyProgress")->isVisible());
    QVERIFY(apply->text().isEmpty());
    // A second start while busy does nothing.
    m_sheet->model()->apply();
    m_sheet->model()->clear();
    QTRY_VERIFY_WITH_TIMEOUT(apply->isEnabled(), 10000);
    QVERIFY(clear->isEnabled());
    QCOMPARE(apply->text(), QStringLiteral("Im Simulator setzen"));
    QCOMPARE(m_calls.applied.size(), 1);
    QCOMPARE(m_calls.cleared, 0);
}

void TestSimulatorLocationSheet::recentreKeepsZoom()
{
    showSheet();
    QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
    MapWidget *map = m_sheet->map();

    // Zoom out by one level with the wheel.
    const QPointF middle(map->width() / 2.0, map->height() / 2.0);
    QWheelEvent wheel(middle, map->mapToGlobal(middle), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(map, &wheel);
    QTRY_VERIFY(m_sheet->model()->span().latitudeDelta > 0.09);
    const MapSpan zoomed = m_sheet->model()->span();
    const double scale = map->projection().scale();

    auto *latitude = m_sheet->findChild<QLineEdit *>("latitudeField");
    latitude->selectAll();
    QTest::keyClicks(latitude, QStringLiteral("37.5"));
    QCOMPARE(map->camera().center.latitude, 37.3349); // typing alone does not move the map
    QTest::mouseClick(m_sheet->findChild<QToolButton *>("recentreButton"), Qt::LeftButton);

    QCOMPARE(map->camera(), (MapCamera{{37.5, -122.009}, zoomed}));
    QVERIFY(std::abs(map->projection().scale() / scale - 1) < 0.01);
    const MapCoordinate center = map->projection().coordinateForPoint(middle);
    QVERIFY(std::abs(center.latitude - 37.5) < 1e-6);
}

void TestSimulatorLocationSheet::tapMovesMarkerNotCamera()
{
    showSheet();
    QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
    MapWidget *map = m_sheet->map();
    const MapCamera camera = map->camera();
    const QPoint point(map->width() / 4, map->height() / 4);
    const MapCoordinate expected = map->projection().coordinateForPoint(point);

    QTest::mouseClick(map, Qt::LeftButton, {}, point);

    QCOMPARE(m_sheet->model()->latitude(), expected.latitude);
    QCOMPARE(m_sheet->model()->longitude(), expected.longitude);
    QCOMPARE(map->marker(), expected);
    QCOMPARE(m_sheet->findChild<QLineEdit *>("latitudeField")->text(), LocationSheetModel::formatCoordinate(expected.latitude));
    QCOMPARE(map->camera(), camera);
    QCOMPARE(m_sheet->model()->camera(), camera);
}

void TestSimulatorLocationSheet::fieldsRoundToSixDigits()
{
    showSheet();
    auto *latitude = m_sheet->findChild<QLineEdit *>("latitudeField");
    latitude->selectAll();
    QTest::keyClicks(latitude, QStringLiteral("52.1234567"));
    QTest::keyClick(latitude, Qt::Key_Return);
    QCOMPARE(latitude->text(), QStringLiteral("52.123457"));
    QCOMPARE(m_sheet->model()->latitude(), 52.1234567);
    // Return recentres on the typed value.
    QCOMPARE(m_sheet->map()->camera().center.latitude, 52.1234567);
    QVERIFY(m_sheet->isVisible());

    // Text that is no number leaves the value and shows it again.
    latitude->selectAll();
    QTest::keyClicks(latitude, QStringLiteral("north"));
    QTest::keyClick(latitude, Qt::Key_Return);
    QCOMPARE(m_sheet->model()->latitude(), 52.1234567);
    QCOMPARE(latitude->text(), QStringLiteral("52.123457"));
}

void TestSimulatorLocationSheet::fieldsFollowGermanLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    showSheet();
    auto *latitude = m_sheet->findChild<QLineEdit *>("latitudeField");
    auto *longitude = m_sheet->findChild<QLineEdit *>("longitudeField");
    QCOMPARE(latitude->text(), QStringLiteral("37,3349"));
    QCOMPARE(longitude->text(), QStringLiteral("-122,009"));

    longitude->selectAll();
    QTest::keyClicks(longitude, QStringLiteral("2,3522219"));
    QTest::keyClick(longitude, Qt::Key_Return);
    QCOMPARE(m_sheet->model()->longitude(), 2.3522219);
    QCOMPARE(longitude->text(), QStringLiteral("2,352222"));

    // A point where the locale expects a comma is no valid number here.
    QCOMPARE(LocationSheetModel::parseCoordinate(QStringLiteral("48,8566")), 48.8566);
    QCOMPARE(LocationSheetModel::formatCoordinate(-0.5), QStringLiteral("-0,5"));
}

void TestSimulatorLocationSheet::escapeAndCloseButtonDismiss()
{
    showSheet();
    QSignalSpy rejected(m_sheet.get(), &QDialog::rejected);
    QTest::keyClick(m_sheet->findChild<QLineEdit *>("queryField"), Qt::Key_Escape);
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!m_sheet->isVisible());

    m_sheet->show();
    auto *close = m_sheet->findChild<QToolButton *>("closeButton");
    QCOMPARE(close->toolTip(), QStringLiteral("Schließen"));
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(rejected.count(), 2);
    QVERIFY(!m_sheet->isVisible());
    QVERIFY(m_calls.applied.isEmpty());
    QCOMPARE(m_calls.cleared, 0);
}

namespace {
int centreY(const QWidget *widget, const QWidget *root)
{
    return widget->mapTo(root, QPoint(0, 0)).y() + widget->height() / 2;
}
} // namespace

void TestSimulatorLocationSheet::headerCentredAndRecentreLarge()
{
    showSheet();
    QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
    auto *header = m_sheet->findChild<QWidget *>("locationHeader");
    auto *icon = header->findChild<SymbolLabel *>();
    const QList<QLabel *> texts = header->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(texts.size(), 2);
    // The symbol, the two lines of text as one block, and the close button share a centre line.
    const int textTop = texts.first()->mapTo(header, QPoint(0, 0)).y();
    const int textBottom = texts.last()->mapTo(header, QPoint(0, texts.last()->height())).y();
    const int textCentre = (textTop + textBottom) / 2;
    QVERIFY(icon->height() < textBottom - textTop);
    QVERIFY(qAbs(centreY(icon, header) - textCentre) <= 1);
    QVERIFY(qAbs(centreY(m_sheet->findChild<QToolButton *>("closeButton"), header) - textCentre) <= 1);

    // The recentre button is a large control: a quarter taller than the regular buttons of the
    // sheet, at least as tall as the field beside it, centred on the row of captioned fields.
    auto *recentre = m_sheet->findChild<QToolButton *>("recentreButton");
    auto *field = m_sheet->findChild<QLineEdit *>("longitudeField");
    auto *regular = m_sheet->findChild<QPushButton *>("clearButton");
    QVERIFY(recentre->height() * 4 >= regular->height() * 5);
    QVERIFY(recentre->height() >= field->height());
    QVERIFY(qAbs(centreY(recentre, m_sheet.get()) - centreY(field->parentWidget(), m_sheet.get())) <= 1);
    QCOMPARE(recentre->toolTip(), QStringLiteral("Karte auf diese Koordinaten zentrieren"));
}

void TestSimulatorLocationSheet::nothingOverlapsAtAnyAllowedSize()
{
    // A long failure wraps under the buttons' row instead of running into them.
    SimulatorLocation::setXcrunPath(writeXcrun(QStringLiteral(
        "echo 'An error was encountered processing the command (domain=com.apple.CoreSimulator.SimError, code=405): "
        "Unable to lookup in current state: Shutdown'; exit 1")));
    showSheet();
    QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
    for (const bool withOutcome : {false, true}) {
        if (withOutcome) {
            m_sheet->model()->apply();
            QTRY_VERIFY_WITH_TIMEOUT(!m_sheet->model()->isBusy(), 10000);
            QVERIFY(m_sheet->findChild<QLabel *>("outcomeLabel")->isVisible());
            QApplication::processEvents();
        }
        const QSize minimum = m_sheet->minimumSize();
        QVERIFY(minimum.width() >= 580 && minimum.height() >= 600);
        for (const QSize &size : {minimum, minimum + QSize(0, 33), minimum + QSize(300, 100)}) {
            m_sheet->resize(size);
            QApplication::processEvents();
            QCOMPARE(m_sheet->size(), size);
            const QStringList faults = LayoutProbe::faults(m_sheet.get());
            if (!faults.isEmpty())
                qWarning() << size << faults;
            QVERIFY(faults.isEmpty());
        }
    }
}

void TestSimulatorLocationSheet::resultsAfterClosingReachOnlyALivePresenter()
{
    SimulatorLocation::setXcrunPath(writeXcrun(QStringLiteral("sleep 0.3; exit 0")));
    auto searcher = std::make_shared<ManualSearcher>();

    // With a presenter: the call runs on after the sheet is gone and still reports to it.
    QWidget presenter;
    QPointer<SimulatorLocationSheet> sheet = makeSheet(PlanLocation{1.5, 2.5}, &presenter);
    sheet->setPlaceSearcher(searcher);
    sheet->model()->setQuery(QStringLiteral("Oslo"));
    sheet->model()->search();
    sheet->model()->apply();
    delete sheet;
    searcher->finish(QList<MapItem>{{QStringLiteral("Oslo"), 59.9, 10.7}});
    QTRY_COMPARE_WITH_TIMEOUT(m_calls.applied.size(), 1, 10000);
    QCOMPARE(m_calls.applied.first(), (QPair<double, double>{1.5, 2.5}));

    // Without one the sheet is its own guard: nothing is called once it is gone, nothing breaks.
    auto *orphan = makeSheet();
    orphan->model()->clear();
    delete orphan;
    QTest::qWait(600);
    QCOMPARE(m_calls.cleared, 0);
}

// Writes pictures of the sheet for a look by eye; only when asked for.
void TestSimulatorLocationSheet::screenshot()
{
    const QString folder = qEnvironmentVariable("VELORANCE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set VELORANCE_SCREENSHOT_DIR to write screenshots");
    m_sheet.reset(makeSheet());
    m_sheet->resize(640, 720);
    m_sheet->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
    QTRY_VERIFY_WITH_TIMEOUT(m_sheet->map()->isAtlasLoaded(), 20000);
    QVERIFY(m_sheet->grab().save(folder + QStringLiteral("/location-sheet.png")));

    // The Bay Area as a whole, after an apply.
    m_sheet->map()->setCamera({{37.62, -122.2}, {0.9, 0.9}});
    m_sheet->model()->apply();
    QTRY_VERIFY_WITH_TIMEOUT(!m_sheet->model()->isBusy(), 10000);
    QVERIFY(m_sheet->grab().save(folder + QStringLiteral("/location-sheet-bay.png")));

    // A search for a German place name.
    auto *field = m_sheet->findChild<QLineEdit *>("queryField");
    typeText(field, QStringLiteral("München"));
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!m_sheet->model()->isSearching(), 10000);
    QTest::qWait(500); // the camera's move to the city comes to rest
    QVERIFY(m_sheet->grab().save(folder + QStringLiteral("/location-search-muenchen.png")));
}

QTEST_MAIN(TestSimulatorLocationSheet)
#include "tst_simulatorlocationsheet.moc"
