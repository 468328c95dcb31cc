// bench-libs: Capture
// Stress, not a timing: another program appends to "shots.json" in place, one numbered record
// at a time with a short random pause, while the editor saves as fast as it can. Afterwards
// every record must lie in the plan file or in a file kept beside it; the ones that lie
// nowhere are counted as lost.
//
//     bench_outside_writer [seconds=25] [longest pause in µs=2000] [exchange|no-exchange]
//
// "no-exchange" takes the order used where the file system cannot exchange two names.
//
// The writer is this program again, started with "--writer <file> <seconds> <pause>".
#include <PlanEditorModel.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray record(int number)
{
    return "\n<outside-" + QByteArray::number(number) + ">\n";
}

int runWriter(const QByteArray &path, int seconds, int longestPauseUs)
{
    QElapsedTimer clock;
    clock.start();
    int written = 0;
    while (clock.elapsed() < seconds * 1000LL) {
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd >= 0) {
            const QByteArray bytes = record(written);
            if (::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size())
                ++written;
            ::close(fd);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(QRandomGenerator::global()->bounded(longestPauseUs + 1)));
    }
    std::printf("%d\n", written);
    return 0;
}

void markFound(const QByteArray &bytes, std::vector<bool> &found)
{
    const QByteArray opening = "\n<outside-";
    for (qsizetype at = bytes.indexOf(opening); at >= 0; at = bytes.indexOf(opening, at + 1)) {
        const qsizetype start = at + opening.size();
        const qsizetype end = bytes.indexOf(">\n", start);
        bool ok = false;
        const int number = end < 0 ? -1 : bytes.mid(start, end - start).toInt(&ok);
        if (ok && number >= 0 && size_t(number) < found.size())
            found[size_t(number)] = true;
    }
}

// Kept files are moved into a folder of their own now and then, as someone tidying up would:
// the editor looks for a free kept name from the first one on.
void tidyKeptFiles(QDir folder, const QDir &archive, int &archived)
{
    const QStringList kept{QStringLiteral("shots.json.kept*"), QStringLiteral("shots.json.unreadable*")};
    for (const QString &name : folder.entryList(kept, QDir::Files | QDir::Hidden))
        folder.rename(name, archive.filePath(QString::number(archived++)));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--writer") == 0)
        return runWriter(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));

    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 25;
    const int longestPauseUs = argc > 2 ? std::atoi(argv[2]) : 2000;
    if (argc > 3 && qstrcmp(argv[3], "no-exchange") == 0)
        ProjectFile::setExchangeUsed(false);

    QTemporaryDir dir;
    const QDir root(dir.path());
    root.mkpath(QStringLiteral("fastlane"));
    root.mkpath(QStringLiteral("archive"));
    XcodeProject project;
    project.name = QStringLiteral("Stress");
    project.url = dir.path();
    project.fastlaneDirectory = root.filePath(QStringLiteral("fastlane"));
    PlanEditorModel model(project);
    model.load();
    model.addLane(); // the plan file now exists
    const QString path = root.filePath(QStringLiteral("fastlane/velorancestudio/shots.json"));
    const QDir folder = QFileInfo(path).dir();
    const QDir archive(root.filePath(QStringLiteral("archive")));

    QProcess writer;
    writer.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--writer"), path, QString::number(seconds), QString::number(longestPauseUs)});
    if (!writer.waitForStarted())
        return 2;
    const QUuid lane = model.plan().lanes.first().id;
    int saves = 0;
    int archived = 0;
    while (writer.state() == QProcess::Running) {
        model.setLaneName(lane, QStringLiteral("Bearbeitet %1").arg(++saves));
        if (saves % 16 == 0)
            QCoreApplication::processEvents(); // the watcher's check, as between keystrokes
        if (saves % 256 == 0)
            tidyKeptFiles(folder, archive, archived);
    }
    writer.waitForFinished();
    const int written = writer.readAllStandardOutput().trimmed().toInt();

    std::vector<bool> found(size_t(std::max(written, 0)), false);
    for (const QDir &place : {folder, archive}) {
        for (const QString &name : place.entryList(QDir::Files | QDir::Hidden)) {
            QFile file(place.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                markFound(file.readAll(), found);
        }
    }
    const int lost = int(std::count(found.cbegin(), found.cend(), false));
    std::printf("%d s: %d saves, %d records appended, %d lost, %d files kept, save error: %s\n", seconds, saves,
                written, lost, archived + int(folder.entryList({QStringLiteral("shots.json.*")}, QDir::Files).size()),
                model.saveError() ? qPrintable(*model.saveError()) : "none");
    return lost == 0 ? 0 : 1;
}
