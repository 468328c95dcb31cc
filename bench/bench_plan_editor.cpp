// bench-libs: Capture
// One keystroke in a large plan, end to end: the model changes the plan, compares it with
// the last saved one, writes "shots.json", and the page brings its widgets up to date
// (including the layout pass the event loop runs afterwards). Each iteration also times a
// raw atomic write of the same bytes (temporary file, fdatasync, rename), the floor a
// keystroke cannot beat; medians: keystroke_ms, raw_ms and their ratio.
#include <LanesSection.h>
#include <PlanEditorModel.h>
#include <ShotPlanEditorView.h>
#include "BenchPlans.h"
#include "BenchTiming.h"

#include <ScreenshotPlan.h>
#include <ShotStore.h>
#include <Spring.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace BenchTiming;

// Times each keystroke and, beside it, the raw write of the file it left.
class KeystrokeTimer
{
public:
    explicit KeystrokeTimer(const XcodeProject &project)
        : m_planPath(ShotStore(*project.fastlaneDirectory).planPath())
        , m_rawPath(QDir(project.url).filePath(QStringLiteral("raw.json")))
    {
    }

    template <typename Keystroke>
    bool measure(benchmark::State &state, Keystroke keystroke)
    {
        auto start = Clock::now();
        keystroke();
        m_keystroke.push_back(millisecondsSince(start));
        state.SetIterationTime(m_keystroke.back() / 1000.0);
        QFile written(m_planPath);
        written.open(QIODevice::ReadOnly);
        const QByteArray bytes = written.readAll();
        start = Clock::now();
        if (!rawAtomicWrite(m_rawPath, bytes))
            return false;
        m_raw.push_back(millisecondsSince(start));
        return true;
    }

    void report(benchmark::State &state)
    {
        const double keystroke = median(m_keystroke);
        const double raw = median(m_raw);
        state.counters["keystroke_ms"] = keystroke;
        state.counters["raw_ms"] = raw;
        state.counters["ratio"] = raw > 0 ? keystroke / raw : 0;
    }

private:
    QString m_planPath;
    QString m_rawPath;
    std::vector<double> m_keystroke;
    std::vector<double> m_raw;
};

struct Page
{
    QTemporaryDir dir;
    XcodeProject project;
    std::unique_ptr<ShotPlanEditorView> view;

    Page()
    {
        const QString fastlane = QDir(dir.path()).filePath(QStringLiteral("fastlane"));
        QDir().mkpath(fastlane);
        project.name = QStringLiteral("Bench");
        project.url = dir.path();
        project.fastlaneDirectory = fastlane;
        project.xcodeprojPath = QDir(dir.path()).filePath(QStringLiteral("Bench.xcodeproj"));
        project.bundleIdentifier = QStringLiteral("de.example.bench");
        (void)ShotStore(fastlane).save(largePlan(200, 20));
        view = std::make_unique<ShotPlanEditorView>(project);
        view->resize(1000, 800);
        view->show();
        QCoreApplication::processEvents();
        // Measure the page as it stands once every step row exists.
        view->lanesSection()->finishBuilding();
        QCoreApplication::processEvents();
    }
};

void BM_KeystrokeInLaneName(benchmark::State &state)
{
    Page page;
    PlanEditorModel *model = page.view->model();
    const QUuid lane = model->plan().lanes.at(1).id;
    QString name = model->plan().lanes.at(1).name;
    KeystrokeTimer timer(page.project);
    for (auto _ : state) {
        name += QLatin1Char('x');
        if (name.size() > 40)
            name = QStringLiteral("iPad");
        const bool ok = timer.measure(state, [&] {
            model->setLaneName(lane, name);
            QCoreApplication::processEvents();
        });
        if (!ok) {
            state.SkipWithError("raw write failed");
            return;
        }
    }
    if (model->saveError())
        state.SkipWithError(model->saveError()->toUtf8().constData());
    timer.report(state);
}

void BM_KeystrokeInShotName(benchmark::State &state)
{
    Page page;
    PlanEditorModel *model = page.view->model();
    const QUuid shot = model->plan().shots.at(100).id;
    int round = 0;
    KeystrokeTimer timer(page.project);
    for (auto _ : state) {
        const QString name = QStringLiteral("Umbenannt %1").arg(++round);
        const bool ok = timer.measure(state, [&] {
            model->updateShot(shot, [&](Shot &s) { s.name = name; });
            QCoreApplication::processEvents();
        });
        if (!ok) {
            state.SkipWithError("raw write failed");
            return;
        }
    }
    if (model->saveError())
        state.SkipWithError(model->saveError()->toUtf8().constData());
    timer.report(state);
}

} // namespace

BENCHMARK(BM_KeystrokeInLaneName)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_KeystrokeInShotName)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication app(argc, argv);
    Motion::setAnimationsEnabled(false);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
