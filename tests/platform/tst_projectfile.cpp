#include <ProjectFile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString systemText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// A project folder and a folder beside it that stands for "anywhere else".
struct Folders
{
    QTemporaryDir dir;
    QString project = dir.filePath("Project");
    QString outside = dir.filePath("Elsewhere");
    Folders()
    {
        QDir().mkpath(project);
        QDir().mkpath(outside);
    }
    QString in(const QString &name) const { return project + '/' + name; }
    QString out(const QString &name) const { return outside + '/' + name; }
};

} // namespace

class TestProjectFile final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRegularFilesAndLinksInside();
    void readRefusesWhatIsNoRegularFile();
    void readRefusesFilesOverTheCap();
    void readWithRootRefusesLinksOut();
    void writeReplacesAtomicallyKeepingMode();
    void writeFollowsLinksOnlyInside();
    void writeRefusesFoldersLeadingOut();
    void writeRefusesWhatIsNoRegularFile();
    void keptCopiesAreNeverOverwritten();
    void fileSizeLimitGivesTheSystemsError();
    void stampTellsChanges();
};

void TestProjectFile::readsRegularFilesAndLinksInside()
{
    Folders f;
    QVERIFY(writeFile(f.in("plans/a.json"), "{}\n"));
    QVERIFY(QFile::link("plans/a.json", f.in("link.json")));
    QCOMPARE(ProjectFile::read(f.in("plans/a.json"), f.project).value(), QByteArray("{}\n"));
    QCOMPARE(ProjectFile::read(f.in("link.json"), f.project).value(), QByteArray("{}\n"));
    QVERIFY(writeFile(f.in("empty"), {}));
    QCOMPARE(ProjectFile::read(f.in("empty")).value(), QByteArray());
    const auto missing = ProjectFile::read(f.in("missing"));
    QVERIFY(!missing);
    QCOMPARE(missing.error(), systemText(ENOENT));
}

void TestProjectFile::readRefusesWhatIsNoRegularFile()
{
    Folders f;
    // A FIFO without a writer would block a plain open for good; a device may never end.
    QCOMPARE(::mkfifo(QFile::encodeName(f.in("fifo")).constData(), 0644), 0);
    QVERIFY(QFile::link("/dev/zero", f.in("device")));
    QVERIFY(QDir().mkpath(f.in("folder")));
    for (const QString &name : {QStringLiteral("fifo"), QStringLiteral("device"), QStringLiteral("folder")}) {
        const auto read = ProjectFile::read(f.in(name));
        QVERIFY2(!read, qPrintable(name));
        QCOMPARE(read.error(), QStringLiteral("„%1“ ist keine gewöhnliche Datei.").arg(f.in(name)));
    }
}

void TestProjectFile::readRefusesFilesOverTheCap()
{
    Folders f;
    const QString big = f.in("big");
    QFile file(big);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(ProjectFile::maximumSize + 1)); // sparse: costs no disk
    file.close();
    const auto read = ProjectFile::read(big);
    QVERIFY(!read);
    QCOMPARE(read.error(), QStringLiteral("„%1“ ist größer als 64 MiB.").arg(big));
}

void TestProjectFile::readWithRootRefusesLinksOut()
{
    Folders f;
    QVERIFY(writeFile(f.out("id_ed25519"), "PRIVATE KEY"));
    QVERIFY(QFile::link(f.out("id_ed25519"), f.in("shots.json")));
    const auto read = ProjectFile::read(f.in("shots.json"), f.project);
    QVERIFY(!read);
    QCOMPARE(read.error(), QStringLiteral("„%1“ führt aus dem Projektordner hinaus.").arg(f.in("shots.json")));
    // A folder link leading out counts the same; a name that only starts like the root too.
    QVERIFY(QFile::link(f.outside, f.in("linked")));
    QVERIFY(!ProjectFile::read(f.in("linked/id_ed25519"), f.project));
    QVERIFY(writeFile(f.dir.filePath("ProjectX/file"), "x"));
    QVERIFY(!ProjectFile::read(f.dir.filePath("ProjectX/file"), f.project));
}

void TestProjectFile::writeReplacesAtomicallyKeepingMode()
{
    Folders f;
    const QString path = f.in("shots.json");
    QVERIFY(writeFile(path, "old"));
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ProjectFile::Stamp written;
    const Status status = ProjectFile::writeAtomically(path, "new", f.project, &written);
    QVERIFY2(status, qPrintable(status.error()));
    QCOMPARE(readFile(path), QByteArray("new"));
    struct stat mode;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &mode), 0);
    QCOMPARE(mode.st_mode & 07777, 0640u);
    QCOMPARE(written, ProjectFile::stamp(path));
    QCOMPARE(QDir(f.project).entryList(QDir::Files | QDir::Hidden), QStringList{"shots.json"});

    // A new file in a new folder: the folder is made first.
    QVERIFY(ProjectFile::makeFolder(f.in("a/b"), f.project));
    QVERIFY(ProjectFile::writeAtomically(f.in("a/b/new.txt"), "x", f.project));
    QCOMPARE(readFile(f.in("a/b/new.txt")), QByteArray("x"));
}

void TestProjectFile::writeFollowsLinksOnlyInside()
{
    Folders f;
    // Inside: behaves as the file it leads to, and stays a link.
    QVERIFY(writeFile(f.in("plans/shots.json"), "old"));
    QVERIFY(QFile::link("plans/shots.json", f.in("shots.json")));
    QVERIFY(ProjectFile::writeAtomically(f.in("shots.json"), "new", f.project));
    QCOMPARE(readFile(f.in("plans/shots.json")), QByteArray("new"));
    QVERIFY(QFileInfo(f.in("shots.json")).isSymLink());
    // A dangling link inside makes its target.
    QVERIFY(QFile::link("plans/later.json", f.in("later.json")));
    QVERIFY(ProjectFile::writeAtomically(f.in("later.json"), "made", f.project));
    QCOMPARE(readFile(f.in("plans/later.json")), QByteArray("made"));

    // Out of the project, directly, through a chain or dangling: never written through.
    QVERIFY(writeFile(f.out("id_ed25519"), "PRIVATE KEY"));
    QVERIFY(QFile::link(f.out("id_ed25519"), f.in("out.json")));
    QVERIFY(QFile::link("out.json", f.in("chain.json")));
    QVERIFY(QFile::link(f.out("new-file"), f.in("dangling.json")));
    for (const QString &name : {QStringLiteral("out.json"), QStringLiteral("chain.json"), QStringLiteral("dangling.json")}) {
        const Status status = ProjectFile::writeAtomically(f.in(name), "plan", f.project);
        QVERIFY2(!status, qPrintable(name));
        QCOMPARE(status.error(), QStringLiteral("„%1“ führt aus dem Projektordner hinaus.").arg(f.in(name)));
    }
    QCOMPARE(readFile(f.out("id_ed25519")), QByteArray("PRIVATE KEY"));
    QVERIFY(!QFile::exists(f.out("new-file")));
    QCOMPARE(QDir(f.outside).entryList(QDir::Files | QDir::Hidden), QStringList{"id_ed25519"});
}

void TestProjectFile::writeRefusesFoldersLeadingOut()
{
    Folders f;
    QVERIFY(QFile::link(f.outside, f.in("velorancestudio")));
    const Status made = ProjectFile::makeFolder(f.in("velorancestudio/screenshots/de-DE"), f.project);
    QVERIFY(!made);
    QVERIFY(!QFileInfo::exists(f.out("screenshots")));
    QVERIFY(!ProjectFile::writeAtomically(f.in("velorancestudio/shots.json"), "plan", f.project));
    QVERIFY(!ProjectFile::writeKept(f.in("velorancestudio/shots.json"), ".unreadable", "x", f.project));
    QVERIFY(QDir(f.outside).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestProjectFile::writeRefusesWhatIsNoRegularFile()
{
    Folders f;
    QCOMPARE(::mkfifo(QFile::encodeName(f.in("shots.json")).constData(), 0644), 0);
    const Status status = ProjectFile::writeAtomically(f.in("shots.json"), "plan", f.project);
    QVERIFY(!status);
    QCOMPARE(status.error(), QStringLiteral("„%1“ ist keine gewöhnliche Datei.").arg(f.in("shots.json")));
    QFileInfo info(f.in("shots.json"));
    QVERIFY(!info.isFile() && info.exists());
    QCOMPARE(QDir(f.project).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"shots.json"});
}

void TestProjectFile::keptCopiesAreNeverOverwritten()
{
    Folders f;
    const QString path = f.in("shots.json");
    QCOMPARE(ProjectFile::writeKept(path, ".unreadable", "first", f.project).value(), path + ".unreadable");
    QCOMPARE(ProjectFile::writeKept(path, ".unreadable", "second", f.project).value(), path + ".unreadable.1");
    // A link under a kept name is a taken name too, never written through.
    QVERIFY(QFile::link(f.out("target"), path + ".unreadable.2"));
    QCOMPARE(ProjectFile::writeKept(path, ".unreadable", "third", f.project).value(), path + ".unreadable.3");
    QCOMPARE(readFile(path + ".unreadable"), QByteArray("first"));
    QCOMPARE(readFile(path + ".unreadable.1"), QByteArray("second"));
    QCOMPARE(readFile(path + ".unreadable.3"), QByteArray("third"));
    QVERIFY(!QFile::exists(f.out("target")));

    QVERIFY(writeFile(path, "moved"));
    QCOMPARE(ProjectFile::moveToKept(path, ".unreadable", f.project).value(), path + ".unreadable.4");
    QVERIFY(!QFile::exists(path));
    QCOMPARE(readFile(path + ".unreadable.4"), QByteArray("moved"));
    QCOMPARE(readFile(path + ".unreadable"), QByteArray("first"));
}

void TestProjectFile::fileSizeLimitGivesTheSystemsError()
{
    ProjectFile::ignoreFileSizeSignal();
    struct sigaction current;
    QCOMPARE(::sigaction(SIGXFSZ, nullptr, &current), 0);
    QVERIFY(current.sa_handler == SIG_IGN);

    Folders f;
    const QString path = f.in("shots.json");
    QVERIFY(writeFile(path, "old"));
    struct rlimit saved;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Status status = ProjectFile::writeAtomically(path, QByteArray(10000, 'x'), f.project);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    QVERIFY(!status);
    QCOMPARE(status.error(), systemText(EFBIG));
    QCOMPARE(readFile(path), QByteArray("old"));
    QCOMPARE(QDir(f.project).entryList(QDir::Files | QDir::Hidden), QStringList{"shots.json"});
}

void TestProjectFile::stampTellsChanges()
{
    Folders f;
    const QString path = f.in("a");
    QVERIFY(!ProjectFile::stamp(path).exists);
    QVERIFY(writeFile(path, "one"));
    const ProjectFile::Stamp first = ProjectFile::stamp(path);
    QVERIFY(first.exists);
    QCOMPARE(ProjectFile::stamp(path), first);
    QVERIFY(ProjectFile::writeAtomically(path, "two", f.project));
    QVERIFY(ProjectFile::stamp(path) != first); // a new file, even within the same clock tick
}

QTEST_APPLESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
