// bench-libs: Capture
// Stress, not a timing: a plan in a shared folder that belongs to another user (mode 0666),
// so the editor gets no lease on it. Each round another program puts a fresh plan of that
// user in place and opens it for appending; the editor loads it, saves an edit, and only then
// the other program writes one record through the descriptor it opened before the save.
// Counts the records that lie in no file beside the plan afterwards.
//
//     bench_shared_plan [rounds=20]
//
// Runs as root: the plans are made as root, the editor runs as the user "nobody" (65534).
#include <PlanEditorModel.h>
#include <ScreenshotPlan.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

QByteArray record(int number)
{
    return "\n<shared-" + QByteArray::number(number) + ">\n";
}

int runEditor(const QString &root, int rounds)
{
    int argc = 1;
    char name[] = "bench_shared_plan";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    XcodeProject project;
    project.name = QStringLiteral("Geteilt");
    project.url = root;
    project.fastlaneDirectory = QDir(root).filePath(QStringLiteral("fastlane"));
    const QDir folder(QDir(root).filePath(QStringLiteral("fastlane/velorancestudio")));
    const QString plan = folder.filePath(QStringLiteral("shots.json"));
    PlanEditorModel model(project);
    model.load();
    for (int round = 0; round < rounds; ++round) {
        const QString theirs = QDir(root).filePath(QStringLiteral("theirs/%1.json").arg(round));
        if (::rename(QFile::encodeName(theirs).constData(), QFile::encodeName(plan).constData()) != 0)
            return 2;
        model.checkPlanOnDisk();
        const int writer = ::open(QFile::encodeName(plan).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (writer < 0)
            return 2;
        model.setLaneName(model.plan().lanes.first().id, QStringLiteral("Runde %1").arg(round));
        const QByteArray bytes = record(round);
        const bool written = ::write(writer, bytes.constData(), size_t(bytes.size())) == bytes.size();
        ::close(writer);
        if (!written)
            return 2;
    }
    int found = 0;
    QByteArray everything;
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            everything += file.readAll();
    }
    for (int round = 0; round < rounds; ++round)
        found += everything.contains(record(round)) ? 1 : 0;
    std::printf("%d rounds: %d records lost, save error: %s\n", rounds, rounds - found,
                model.saveError() ? qPrintable(*model.saveError()) : "none");
    std::fflush(stdout); // the child ends with _exit
    return found == rounds ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    if (::geteuid() != 0) {
        std::fprintf(stderr, "bench_shared_plan makes plans of another user: run it as root.\n");
        return 2;
    }
    QTemporaryDir dir;
    const QDir root(dir.path());
    root.mkpath(QStringLiteral("fastlane/velorancestudio"));
    root.mkpath(QStringLiteral("theirs"));
    for (const QString &open : {dir.path(), root.filePath(QStringLiteral("fastlane"))})
        ::chmod(QFile::encodeName(open).constData(), 0755);
    for (const QString &shared : {root.filePath(QStringLiteral("fastlane/velorancestudio")), root.filePath(QStringLiteral("theirs"))})
        ::chmod(QFile::encodeName(shared).constData(), 0777);
    for (int round = 0; round < rounds; ++round) {
        const QString path = root.filePath(QStringLiteral("theirs/%1.json").arg(round));
        QFile file(path);
        ScreenshotPlan plan = ScreenshotPlan::makeDefault();
        plan.lanes.first().name = QStringLiteral("Von nebenan %1").arg(round);
        if (!file.open(QIODevice::WriteOnly) || file.write(plan.encode()) < 0)
            return 2;
        file.close();
        ::chmod(QFile::encodeName(path).constData(), 0666);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        ::_exit(runEditor(dir.path(), rounds));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
