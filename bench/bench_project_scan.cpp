// bench-libs: AppCore Model
// The project scan over a projects folder of many repositories, and the readers of the files
// a cloned repository may make hostile: a workspace of deeply nested groups and a scheme of
// deeply nested references. Each reports the process's peak memory ("peakMB"); run one
// benchmark per process (--benchmark_filter) to read it for that input alone.
#include <DemoWorkspace.h>
#include <ProjectScanner.h>
#include <XcodeProject.h>
#include <XcodeSchemes.h>
#include <XcodeWorkspace.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// `count` folders "<prefix>1" … below `folder`, each with `files` small files.
void folders(const QString &folder, const QString &prefix, int count, int files = 0)
{
    for (int i = 1; i <= count; ++i) {
        const QString path = QStringLiteral("%1/%2%3").arg(folder, prefix).arg(i);
        QDir().mkpath(path);
        for (int f = 1; f <= files; ++f)
            writeFile(QStringLiteral("%1/File%2.swift").arg(path).arg(f), QByteArray());
    }
}

void project(const QString &folder, const QString &name, bool application = true)
{
    const DemoWorkspace::TargetSpec target{name, application, QStringLiteral("iphoneos"),
                                           QStringLiteral("org.example.") + name, QStringLiteral("1.0"), QStringLiteral("1,2")};
    writeFile(QStringLiteral("%1/%2.xcodeproj/project.pbxproj").arg(folder, name),
              DemoWorkspace::projectFile(name, {QStringLiteral("en"), QStringLiteral("de")}, {target}).toUtf8());
}

// One repository of the shapes a projects folder holds, chosen by `index`.
void repository(const QString &root, int index)
{
    const QString repo = QStringLiteral("%1/Repo%2").arg(root).arg(index);
    const QString name = QStringLiteral("App%1").arg(index);
    folders(repo + QStringLiteral("/.git/objects"), QStringLiteral("o"), 20);
    switch (index % 6) {
    case 0: // CocoaPods app at the top
        project(repo, name);
        folders(repo + QStringLiteral("/Pods"), QStringLiteral("Pod"), 30, 3);
        folders(repo + u'/' + name, QStringLiteral("Feature"), 8, 6);
        QDir().mkpath(repo + QStringLiteral("/fastlane"));
        break;
    case 1: // app in a subfolder, fastlane at the top, frameworks and Carthage beside
        project(repo + QStringLiteral("/App"), name);
        project(repo + QStringLiteral("/Kit"), QStringLiteral("Kit"), false);
        QDir().mkpath(repo + QStringLiteral("/fastlane"));
        folders(repo + QStringLiteral("/Carthage/Checkouts"), QStringLiteral("Dependency"), 15, 4);
        folders(repo + QStringLiteral("/docs/guides"), QStringLiteral("Guide"), 4, 3);
        folders(repo + QStringLiteral("/scripts"), QStringLiteral("Tool"), 3, 2);
        break;
    case 2: // monorepo: the iOS app three levels down
        project(repo + QStringLiteral("/apps/ios"), QStringLiteral("iOS"));
        folders(repo + QStringLiteral("/apps/android/app/src/main"), QStringLiteral("res"), 5, 4);
        folders(repo + QStringLiteral("/apps/web/src"), QStringLiteral("component"), 10, 5);
        for (int p = 1; p <= 8; ++p) {
            const QString package = QStringLiteral("%1/packages/package%2").arg(repo).arg(p);
            folders(package + QStringLiteral("/src"), QStringLiteral("module"), 3, 4);
            folders(package, QStringLiteral("test"), 1, 3);
        }
        folders(repo + QStringLiteral("/node_modules"), QStringLiteral("dependency"), 80, 2);
        break;
    case 3: // Swift package app at the top
        project(repo, name);
        folders(repo + QStringLiteral("/Sources/") + name, QStringLiteral("Feature"), 10, 6);
        folders(repo + QStringLiteral("/.build/checkouts"), QStringLiteral("package"), 20, 2);
        break;
    case 4: // no Xcode project at all
        folders(repo + QStringLiteral("/src/main/java/org/example"), QStringLiteral("service"), 12, 5);
        folders(repo + QStringLiteral("/src/test/java/org/example"), QStringLiteral("service"), 6, 3);
        folders(repo + QStringLiteral("/vendor/bundle/ruby"), QStringLiteral("gem"), 40, 2);
        folders(repo + QStringLiteral("/docs"), QStringLiteral("chapter"), 8, 3);
        break;
    default: // library with an example app
        folders(repo + QStringLiteral("/Sources/Kit"), QStringLiteral("Part"), 6, 5);
        folders(repo + QStringLiteral("/Tests/KitTests"), QStringLiteral("Case"), 3, 3);
        project(repo + QStringLiteral("/Example"), QStringLiteral("Example"));
        break;
    }
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_ScanManyRepositories(benchmark::State &state)
{
    static QTemporaryDir dir;
    static bool made = false;
    const QString root = dir.filePath(QStringLiteral("Projects"));
    if (!made) {
        for (int i = 0; i < 240; ++i)
            repository(root, i);
        made = true;
    }
    qsizetype found = 0;
    for (auto _ : state)
        found = ProjectScanner::scan(root).size();
    state.counters["projects"] = double(found);
    state.counters["peakMB"] = peakMegabytes();
}
BENCHMARK(BM_ScanManyRepositories)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// "Shop" in `dir`, with "Shop.xcodeproj" and the workspace of `contents` beside it.
QString shopWithWorkspace(const QTemporaryDir &dir, const QByteArray &contents)
{
    const QString folder = dir.filePath(QStringLiteral("Shop"));
    QDir().mkpath(folder + QStringLiteral("/Shop.xcodeproj"));
    writeFile(folder + QStringLiteral("/Shop.xcworkspace/contents.xcworkspacedata"), contents);
    return folder;
}

// A workspace of `depth` groups, each inside the one before, around one project reference.
QByteArray nestedWorkspace(int depth)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Workspace version = \"1.0\">\n";
    text.reserve(depth * 34 + 200);
    for (int i = 0; i < depth; ++i)
        text += "<Group location=\"group:g\">";
    text += "<FileRef location = \"group:App.xcodeproj\"></FileRef>";
    for (int i = 0; i < depth; ++i)
        text += "</Group>";
    return text + "</Workspace>\n";
}

// The workspace lookup of a project beside a hostile workspace of state.range(0) nested groups.
void BM_WorkspaceNestedGroups(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray contents = nestedWorkspace(int(state.range(0)));
    const QString folder = shopWithWorkspace(dir, contents);
    for (auto _ : state)
        benchmark::DoNotOptimize(XcodeWorkspace::find(folder, folder + QStringLiteral("/Shop.xcodeproj")));
    state.counters["MB"] = double(contents.size()) / 1e6;
    state.counters["peakMB"] = peakMegabytes();
}
BENCHMARK(BM_WorkspaceNestedGroups)->Arg(38000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The most a workspace may hold: groups nested as deep as allowed, filled up to the size and
// element limits with references to files, the project's last.
void BM_WorkspaceAtTheLimits(benchmark::State &state)
{
    const QByteArray reference = "<FileRef location = \"group:Docs/Guides/README.md\"></FileRef>";
    QByteArray inner;
    const int depth = XcodeWorkspace::maximumNesting;
    const qsizetype room = XcodeWorkspace::maximumBytes - depth * 34 - 400;
    for (int i = 0; i + 1 + depth < XcodeWorkspace::maximumElements - 2 && inner.size() + reference.size() < room; ++i)
        inner += reference;
    QByteArray contents = nestedWorkspace(depth);
    contents.replace("<FileRef location = \"group:App.xcodeproj\"></FileRef>",
                     inner + "<FileRef location = \"container:Shop.xcodeproj\"></FileRef>");
    QTemporaryDir dir;
    const QString folder = shopWithWorkspace(dir, contents);
    std::optional<QString> found;
    for (auto _ : state)
        found = XcodeWorkspace::find(folder, folder + QStringLiteral("/Shop.xcodeproj"));
    if (!found)
        state.SkipWithError("the workspace was not read");
    state.counters["MB"] = double(contents.size()) / 1e6;
    state.counters["peakMB"] = peakMegabytes();
}
BENCHMARK(BM_WorkspaceAtTheLimits)->Unit(benchmark::kMillisecond)->Iterations(3);

// The project "Shop" in `dir`, its schemes left to the caller.
XcodeProject shopProject(const QTemporaryDir &dir)
{
    XcodeProject project;
    project.name = QStringLiteral("Shop");
    project.id = project.url = dir.filePath(QStringLiteral("Shop"));
    project.xcodeprojPath = project.url + QStringLiteral("/Shop.xcodeproj");
    return project;
}

// A scheme of `depth` references to the app, each inside the one before.
QByteArray nestedScheme(int depth, const QByteArray &target = "Shop")
{
    const QByteArray reference = "<BuildableReference BuildableIdentifier=\"primary\" BuildableName=\"" + target
        + ".app\" BlueprintName=\"" + target + "\" ReferencedContainer=\"container:Shop.xcodeproj\">";
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scheme version = \"1.7\">";
    text.reserve(depth * (reference.size() + 21) + 100);
    for (int i = 0; i < depth; ++i)
        text += reference;
    for (int i = 0; i < depth; ++i)
        text += "</BuildableReference>";
    return text + "</Scheme>\n";
}

// The scheme choice of a project whose shared schemes are one hostile scheme of
// state.range(0) nested references and 499 small ones about another target.
void BM_SchemeNestedReferences(benchmark::State &state)
{
    QTemporaryDir dir;
    const XcodeProject project = shopProject(dir);
    const QString schemes = *project.xcodeprojPath + QStringLiteral("/xcshareddata/xcschemes/");
    const QByteArray hostile = nestedScheme(int(state.range(0)));
    writeFile(schemes + QStringLiteral("AAA.xcscheme"), hostile);
    const QByteArray ordinary = nestedScheme(1, "ShopTests");
    for (int i = 1; i < 500; ++i)
        writeFile(schemes + QStringLiteral("Tests %1.xcscheme").arg(i, 3, 10, QLatin1Char('0')), ordinary);
    for (auto _ : state)
        benchmark::DoNotOptimize(XcodeSchemes::schemeFor(project, QString(), QStringLiteral("Shop")));
    state.counters["MB"] = double(hostile.size()) / 1e6;
    state.counters["peakMB"] = peakMegabytes();
}
BENCHMARK(BM_SchemeNestedReferences)->Arg(74000)->Arg(148000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The most one scheme choice reads: 500 shared schemes, the first 16 of them as large as a
// scheme may be, each a build action of as many entries for the app as fit, so every
// reference is compared and none ends the search.
void BM_SchemeChoiceAtTheLimits(benchmark::State &state)
{
    QTemporaryDir dir;
    const XcodeProject project = shopProject(dir);
    const QString schemes = *project.xcodeprojPath + QStringLiteral("/xcshareddata/xcschemes/");
    const QByteArray entry = "<BuildActionEntry buildForRunning = \"YES\"><BuildableReference BuildableIdentifier=\"primary\" "
                             "BuildableName=\"Shop.app\" BlueprintName=\"Shop\" ReferencedContainer=\"container:Shop.xcodeproj\">"
                             "</BuildableReference></BuildActionEntry>";
    QByteArray large = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scheme version = \"1.7\"><BuildAction><BuildActionEntries>";
    const QByteArray tail = "</BuildActionEntries></BuildAction></Scheme>\n";
    for (int elements = 3; large.size() + entry.size() + tail.size() <= XcodeSchemes::maximumSchemeBytes
                           && elements + 2 <= XcodeSchemes::maximumElements;
         elements += 2)
        large += entry;
    large += tail;
    for (int i = 0; i < 500; ++i)
        writeFile(schemes + QStringLiteral("Scheme %1.xcscheme").arg(i, 3, 10, QLatin1Char('0')), i < 16 ? large : nestedScheme(1, "ShopTests"));
    QString chosen;
    for (auto _ : state)
        chosen = XcodeSchemes::schemeFor(project, QString(), QStringLiteral("Shop"));
    if (chosen != QLatin1String("Scheme 000"))
        state.SkipWithError("the first scheme was not read");
    state.counters["MB"] = double(large.size()) / 1e6;
    state.counters["peakMB"] = peakMegabytes();
}
BENCHMARK(BM_SchemeChoiceAtTheLimits)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
