// bench-libs: Capture
// Stress, not a timing: two copies of the program open on one project. One edits the plan as
// fast as it can and opens the page again now and then; the other only opens the page again
// and again, as a second window would. Counts what the user would see in each: saves that
// failed, kept-version notices, and notices naming a file that is not there.
//
//     bench_two_instances [seconds=30]
//
// The two copies are this program again, started with "--instance <project> <edit|open> <seconds>".
#include <PlanEditorModel.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Names a notice quotes that do not exist beside the plan.
int missingNames(const QString &notice, const QDir &folder)
{
    int missing = 0;
    static const QRegularExpression quoted(QStringLiteral("„([^“]+)“"));
    for (auto it = quoted.globalMatch(notice); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!QFileInfo::exists(folder.filePath(name)))
            ++missing;
    }
    return missing;
}

int runInstance(const QString &projectFolder, bool edits, int seconds)
{
    XcodeProject project;
    project.name = QStringLiteral("Zwei");
    project.url = projectFolder;
    project.fastlaneDirectory = QDir(projectFolder).filePath(QStringLiteral("fastlane"));
    const QDir folder(QDir(projectFolder).filePath(QStringLiteral("fastlane/velorancestudio")));
    PlanEditorModel model(project);
    int saves = 0, failed = 0, notices = 0, missing = 0, opened = 0;
    const auto look = [&] {
        if (const auto notice = model.keptNotice()) {
            ++notices;
            missing += missingNames(*notice, folder);
            model.closeKeptNotice();
        }
    };
    QElapsedTimer clock;
    clock.start();
    model.load();
    ++opened;
    look();
    while (clock.elapsed() < seconds * 1000LL) {
        if (edits) {
            model.setLaneName(model.plan().lanes.first().id, QStringLiteral("Bearbeitet %1").arg(++saves));
            if (model.saveError())
                ++failed;
            if (saves % 64 == 0) {
                model.load();
                ++opened;
            }
        } else {
            model.load();
            ++opened;
        }
        look();
        QCoreApplication::processEvents();
        look();
    }
    std::printf("%s: %d saves, %d failed, %d loads, %d notices, %d names missing\n", edits ? "editing" : "opening",
                saves, failed, opened, notices, missing);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--instance") == 0)
        return runInstance(QFile::decodeName(argv[2]), qstrcmp(argv[3], "edit") == 0, std::atoi(argv[4]));
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("fastlane"));
    QProcess editing;
    QProcess opening;
    for (QProcess *instance : {&editing, &opening}) {
        instance->setProcessChannelMode(QProcess::ForwardedChannels);
        instance->start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--instance"), dir.path(),
                         instance == &editing ? QStringLiteral("edit") : QStringLiteral("open"), QString::number(seconds)});
    }
    const bool finished = editing.waitForFinished(seconds * 2000 + 30000) && opening.waitForFinished(30000);
    return finished && editing.exitCode() == 0 && opening.exitCode() == 0 ? 0 : 1;
}
