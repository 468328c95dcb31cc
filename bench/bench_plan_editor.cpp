// bench-libs: Capture
// One keystroke in a large plan, end to end: the model changes the plan, compares it with
// the last saved one, writes "shots.json", and the page brings its widgets up to date
// (including the layout pass the event loop runs afterwards).
#include <LanesSection.h>
#include <PlanEditorModel.h>
#include <ShotPlanEditorView.h>
#include "BenchPlans.h"

#include <ScreenshotPlan.h>
#include <ShotStore.h>
#include <Spring.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

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
    for (auto _ : state) {
        name += QLatin1Char('x');
        if (name.size() > 40)
            name = QStringLiteral("iPad");
        model->setLaneName(lane, name);
        QCoreApplication::processEvents();
    }
    if (model->saveError())
        state.SkipWithError(model->saveError()->toUtf8().constData());
}

void BM_KeystrokeInShotName(benchmark::State &state)
{
    Page page;
    PlanEditorModel *model = page.view->model();
    const QUuid shot = model->plan().shots.at(100).id;
    int round = 0;
    for (auto _ : state) {
        const QString name = QStringLiteral("Umbenannt %1").arg(++round);
        model->updateShot(shot, [&](Shot &s) { s.name = name; });
        QCoreApplication::processEvents();
    }
    if (model->saveError())
        state.SkipWithError(model->saveError()->toUtf8().constData());
}

} // namespace

BENCHMARK(BM_KeystrokeInLaneName)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_KeystrokeInShotName)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

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
