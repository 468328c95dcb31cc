#include "LibcGerman.h"

#include <ProjectFile.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// What the program shows for a system error: the C library's German text of it.
QString systemText(int code)
{
    return libcGerman(strerrordesc_np(code));
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

// Whether this file system grants leases (the check that nobody still writes to a file).
bool leasesWork(const QString &folder)
{
    const QString probe = folder + QStringLiteral("/lease-probe");
    if (!writeFile(probe, "x"))
        return false;
    const int fd = ::open(QFile::encodeName(probe).constData(), O_RDONLY | O_CLOEXEC);
    const bool granted = fd >= 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
    if (granted)
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
    if (fd >= 0)
        ::close(fd);
    QFile::remove(probe);
    return granted;
}

// Exchanges names or takes the order used where that is missing, for one test.
class ExchangeUse final
{
public:
    explicit ExchangeUse(bool used) { ProjectFile::setExchangeUsed(used); }
    ~ExchangeUse() { ProjectFile::setExchangeUsed(true); }
    ExchangeUse(const ExchangeUse &) = delete;
    ExchangeUse &operator=(const ExchangeUse &) = delete;
};

// Refuses every lease for one test, as a shared folder or a file system without leases does.
class LeasesRefused final
{
public:
    LeasesRefused() { ProjectFile::setLeasesRefused(true); }
    ~LeasesRefused() { ProjectFile::setLeasesRefused(false); }
    LeasesRefused(const LeasesRefused &) = delete;
    LeasesRefused &operator=(const LeasesRefused &) = delete;
};

// Another program that appends to a file: it opens it at start() and writes `bytes` once
// told to go on; the open may wait for a lease to be given up.
class Appender final
{
public:
    Appender(const QString &path, const QByteArray &bytes)
    {
        m_process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"),
                                                    QStringLiteral("echo opening; exec 3>>\"$1\"; echo open; read go; "
                                                                   "printf '%s' \"$2\" >&3"),
                                                    QStringLiteral("sh"), path, QString::fromUtf8(bytes)});
    }
    ~Appender()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    Appender(const Appender &) = delete;
    Appender &operator=(const Appender &) = delete;

    // Waits for a line the shell prints ("opening", "open").
    bool said(const QByteArray &line)
    {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return false;
        }
        return m_process.readLine().trimmed() == line;
    }
    bool finish()
    {
        m_process.write("go\n");
        m_process.closeWriteChannel();
        return m_process.waitForFinished(10000) && m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
};

// Everything the files of a folder hold, hidden ones too.
QByteArray everythingIn(const QString &folder)
{
    QByteArray all;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        all += readFile(folder + '/' + name) + '\n';
    return all;
}

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
    void keptCopiesAreNeverOverwritten_data();
    void keptCopiesAreNeverOverwritten();
    void replacedFileIsKeptUnlessKnown_data();
    void replacedFileIsKeptUnlessKnown();
    void versionWithoutLeaseIsHeldNotRemoved_data();
    void versionWithoutLeaseIsHeldNotRemoved();
    void versionOpenedDuringTheSaveIsKept_data();
    void versionOpenedDuringTheSaveIsKept();
    void versionsRenamedInDuringSavesAreNeverLost();
    void keptNameIsFoundPastManyKeptFiles();
    void leftoversAreOnlyWhatAWriteLeaves();
    void linksAreWalkedInsideOnly_data();
    void linksAreWalkedInsideOnly();
    void folderSwappedForALinkNeverLeadsOut();
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
    QVERIFY(!ProjectFile::replaceKeeping(f.in("velorancestudio/shots.json"), "plan", f.project, {}, ".unreadable"));
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

void TestProjectFile::keptCopiesAreNeverOverwritten_data()
{
    QTest::addColumn<bool>("exchange");
    QTest::newRow("names exchanged") << true;
    QTest::newRow("kept, then renamed") << false;
}

void TestProjectFile::keptCopiesAreNeverOverwritten()
{
    QFETCH(bool, exchange);
    ExchangeUse use(exchange);
    Folders f;
    const QString path = f.in("shots.json");
    const ProjectFile::Version unknown; // whatever is there is kept
    const auto replace = [&](const QByteArray &bytes) {
        const auto replaced = ProjectFile::replaceKeeping(path, bytes, f.project, unknown, ".unreadable");
        return replaced ? replaced->kept.join(QLatin1Char(' ')) : QStringLiteral("failed: ") + replaced.error();
    };
    QVERIFY(writeFile(path, "first"));
    QCOMPARE(replace("second"), QStringLiteral("shots.json.unreadable"));
    QCOMPARE(replace("third"), QStringLiteral("shots.json.unreadable.1"));
    // A link under a kept name is a taken name too, never written through.
    QVERIFY(QFile::link(f.out("target"), path + ".unreadable.2"));
    QCOMPARE(replace("fourth"), QStringLiteral("shots.json.unreadable.3"));
    QCOMPARE(readFile(path + ".unreadable"), QByteArray("first"));
    QCOMPARE(readFile(path + ".unreadable.1"), QByteArray("second"));
    QCOMPARE(readFile(path + ".unreadable.3"), QByteArray("third"));
    QCOMPARE(readFile(path), QByteArray("fourth"));
    QVERIFY(!QFile::exists(f.out("target")));
    QCOMPARE(QDir(f.project).entryList(QDir::Files | QDir::Hidden).size(), 4); // no temporary file left
}

void TestProjectFile::replacedFileIsKeptUnlessKnown_data()
{
    QTest::addColumn<QString>("outside"); // what another writer did since our last write
    QTest::addColumn<bool>("exchange");
    QTest::addColumn<QByteArray>("kept"); // empty: nothing kept

    for (const bool exchange : {true, false}) {
        const char *order = exchange ? "exchanged" : "kept, then renamed";
        QTest::addRow("nothing, %s", order) << "nothing" << exchange << QByteArray();
        QTest::addRow("touched, %s", order) << "touched" << exchange << QByteArray();
        QTest::addRow("same bytes by rename, %s", order) << "same by rename" << exchange << QByteArray();
        QTest::addRow("removed, %s", order) << "removed" << exchange << QByteArray();
        QTest::addRow("changed in place, %s", order) << "in place" << exchange << QByteArray("theirs");
        QTest::addRow("replaced by rename, %s", order) << "by rename" << exchange << QByteArray("theirs");
        QTest::addRow("version not known, %s", order) << "unknown" << exchange << QByteArray("ours");
        // Opened before the save and written to after it: what it writes must not go into a
        // removed file.
        QTest::addRow("held open for writing, %s", order) << "held open" << exchange << QByteArray("ours, then more");
    }
}

void TestProjectFile::replacedFileIsKeptUnlessKnown()
{
    QFETCH(QString, outside);
    QFETCH(bool, exchange);
    QFETCH(QByteArray, kept);
    ExchangeUse use(exchange);
    Folders f;
    const QString path = f.in("shots.json");
    const auto first = ProjectFile::replaceKeeping(path, "ours", f.project, {ProjectFile::Stamp(), std::nullopt, std::nullopt}, ".kept");
    QVERIFY2(first, qPrintable(first.error()));
    QCOMPARE(first->kept, QStringList());
    ProjectFile::Version known{first->written, QByteArray("ours"), std::nullopt};
    QCOMPARE(ProjectFile::stamp(path), first->written);

    const auto renameOver = [&](const QByteArray &bytes) {
        return writeFile(path + ".new", bytes) && ::rename(QFile::encodeName(path + ".new").constData(),
                                                           QFile::encodeName(path).constData()) == 0;
    };
    if (outside == "touched") {
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, 0), 0);
        QVERIFY(ProjectFile::stamp(path) != first->written);
    } else if (outside == "same by rename") {
        QVERIFY(renameOver("ours"));
    } else if (outside == "removed") {
        QVERIFY(QFile::remove(path));
    } else if (outside == "in place") {
        QVERIFY(writeFile(path, "theirs"));
    } else if (outside == "by rename") {
        QVERIFY(renameOver("theirs"));
    } else if (outside == "unknown") {
        known = ProjectFile::Version();
    }
    int writer = -1;
    if (outside == "held open") {
        if (!leasesWork(f.project))
            QSKIP("This file system grants no leases.");
        writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        QVERIFY(writer >= 0);
    }

    const auto second = ProjectFile::replaceKeeping(path, "new", f.project, known, ".kept");
    if (writer >= 0) {
        QCOMPARE(::write(writer, ", then more", 11), 11);
        ::close(writer);
    }
    QVERIFY2(second, qPrintable(second.error()));
    QCOMPARE(readFile(path), QByteArray("new"));
    QCOMPARE(second->written, ProjectFile::stamp(path));
    QStringList expected{QStringLiteral("shots.json")};
    if (!kept.isEmpty()) {
        QCOMPARE(second->kept, QStringList{QStringLiteral("shots.json.kept")});
        QCOMPARE(readFile(path + ".kept"), kept);
        expected.append(QStringLiteral("shots.json.kept"));
    } else {
        QCOMPARE(second->kept, QStringList());
    }
    QCOMPARE(QDir(f.project).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

void TestProjectFile::versionWithoutLeaseIsHeldNotRemoved_data()
{
    QTest::addColumn<bool>("exchange");
    QTest::newRow("names exchanged") << true;
    QTest::newRow("taken aside, then renamed") << false;
}

// Without a lease nobody can tell whether a writer still has the replaced version open: it is
// held under one hidden name, and goes at a later save only when nothing was written to it.
void TestProjectFile::versionWithoutLeaseIsHeldNotRemoved()
{
    QFETCH(bool, exchange);
    ExchangeUse use(exchange);
    LeasesRefused refused;
    Folders f;
    const QString path = f.in("shots.json");
    const QString held = f.in(".shots.json.replaced");
    const auto save = [&](const QByteArray &bytes, const ProjectFile::Version &known) {
        const auto replaced = ProjectFile::replaceKeeping(path, bytes, f.project, known, ".kept");
        if (!replaced)
            qWarning("%s", qPrintable(replaced.error()));
        return replaced ? replaced.value() : ProjectFile::Replaced();
    };
    const ProjectFile::Replaced first = save("ours", {ProjectFile::Stamp(), std::nullopt, std::nullopt});

    Appender writer(path, ", then more");
    QVERIFY(writer.said("opening") && writer.said("open"));
    const ProjectFile::Replaced second = save("new", {first.written, QByteArray("ours"), first.held});
    QVERIFY(writer.finish());
    QCOMPARE(second.kept, QStringList());
    QCOMPARE(readFile(held), QByteArray("ours, then more"));

    // Written to since it was held: kept like any outside version; the next one is held.
    const ProjectFile::Replaced third = save("newer", {second.written, QByteArray("new"), second.held});
    QCOMPARE(third.kept, QStringList{"shots.json.kept"});
    QCOMPARE(readFile(path + ".kept"), QByteArray("ours, then more"));
    QCOMPARE(readFile(held), QByteArray("new"));

    // Unchanged since: removed; one held version at a time.
    const ProjectFile::Replaced fourth = save("newest", {third.written, QByteArray("newer"), third.held});
    QCOMPARE(fourth.kept, QStringList());
    QCOMPARE(readFile(held), QByteArray("newer"));
    QCOMPARE(readFile(path), QByteArray("newest"));
    QCOMPARE(QDir(f.project).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{".shots.json.replaced", "shots.json", "shots.json.kept"}));

    // One this writer did not put there (another copy of the program, an earlier run) is kept.
    const ProjectFile::Replaced fifth = save("last", {fourth.written, QByteArray("newest"), std::nullopt});
    QCOMPARE(fifth.kept, QStringList{"shots.json.kept.1"});
    QCOMPARE(readFile(path + ".kept.1"), QByteArray("newer"));
    QCOMPARE(readFile(held), QByteArray("newest"));
}

void TestProjectFile::versionOpenedDuringTheSaveIsKept_data()
{
    QTest::addColumn<bool>("exchange");
    QTest::newRow("names exchanged") << true;
    QTest::newRow("taken aside, then renamed") << false;
}

namespace {

// Set for the step hook: at the moment the replaced file is out of the way, another program
// opens it for appending; its open waits for the save's lease.
Appender *openingWriter = nullptr;
QString openingPath;
QByteArray openingFile;

void openWhileLeased(ProjectFile::SaveStep step)
{
    if (openingWriter || (step != ProjectFile::SaveStep::Exchanged && step != ProjectFile::SaveStep::KeptAside))
        return;
    // The replaced file is under a temporary name now; writers that resolved the name before
    // the swap reach it just so.
    const QDir folder(openingPath);
    for (const QString &name : folder.entryList({QStringLiteral("shots.json.*.tmp")}, QDir::Files)) {
        if (readFile(folder.filePath(name)) == openingFile) {
            openingWriter = new Appender(folder.filePath(name), ", then more");
            if (openingWriter->said("opening"))
                QThread::msleep(300); // the open now waits for the lease
            return;
        }
    }
}

} // namespace

// A writer that starts to open the replaced version while the save holds its lease breaks the
// lease: the version is kept, so what it writes once the open goes through is not lost.
void TestProjectFile::versionOpenedDuringTheSaveIsKept()
{
    QFETCH(bool, exchange);
    ExchangeUse use(exchange);
    Folders f;
    if (!leasesWork(f.project))
        QSKIP("This file system grants no leases.");
    const QString path = f.in("shots.json");
    const auto first = ProjectFile::replaceKeeping(path, "ours", f.project, {}, ".kept");
    QVERIFY(first);
    openingPath = f.project;
    openingFile = "ours";
    ProjectFile::setStepHook(openWhileLeased);
    const auto second = ProjectFile::replaceKeeping(path, "new", f.project, {first->written, QByteArray("ours"), {}}, ".kept");
    ProjectFile::setStepHook(nullptr);
    std::unique_ptr<Appender> writer(std::exchange(openingWriter, nullptr));
    QVERIFY(writer);
    QVERIFY(writer->said("open") && writer->finish());
    QVERIFY2(second, qPrintable(second.error()));
    QCOMPARE(second->kept, QStringList{"shots.json.kept"});
    QCOMPARE(readFile(path + ".kept"), QByteArray("ours, then more"));
    QCOMPARE(readFile(path), QByteArray("new"));
}

// Where names cannot be exchanged, another program renames its versions in while the saves go
// on (itself exchanging names, so it never removes one): every version of it is found later.
void TestProjectFile::versionsRenamedInDuringSavesAreNeverLost()
{
    ExchangeUse use(false);
    Folders f;
    const QByteArray path = QFile::encodeName(f.in("shots.json"));
    const QByteArray side = QFile::encodeName(f.in("outside.new"));
    constexpr int versions = 1500;
    const auto first = ProjectFile::replaceKeeping(f.in("shots.json"), "ours 0", f.project, {}, ".kept");
    QVERIFY(first);
    if (::renameat2(AT_FDCWD, path.constData(), AT_FDCWD, path.constData(), RENAME_EXCHANGE) != 0 && errno == EINVAL)
        QSKIP("This file system cannot exchange two names.");

    const pid_t writer = ::fork();
    if (writer == 0) {
        for (int i = 0; i < versions; ++i) {
            char bytes[32];
            const int length = std::snprintf(bytes, sizeof bytes, "<outside-%d>", i);
            const int fd = ::open(side.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0 || ::write(fd, bytes, size_t(length)) != length)
                ::_exit(1);
            ::close(fd);
            // In by exchange; while the plan file is away, by a rename that replaces nothing.
            while (::renameat2(AT_FDCWD, side.constData(), AT_FDCWD, path.constData(), RENAME_EXCHANGE) != 0
                   && ::renameat2(AT_FDCWD, side.constData(), AT_FDCWD, path.constData(), RENAME_NOREPLACE) != 0) {
            }
            // What came out is put beside, never over anything.
            char old[64];
            std::snprintf(old, sizeof old, "%s.%d", side.constData(), i);
            ::renameat2(AT_FDCWD, side.constData(), AT_FDCWD, old, RENAME_NOREPLACE);
            ::usleep(unsigned(i % 7) * 20);
        }
        ::_exit(0);
    }
    QVERIFY(writer > 0);
    ProjectFile::Version known{first->written, QByteArray("ours 0"), std::nullopt};
    int saves = 0;
    int failed = 0;
    int status = 0;
    while (::waitpid(writer, &status, WNOHANG) == 0) {
        const QByteArray bytes = "ours " + QByteArray::number(++saves);
        const auto replaced = ProjectFile::replaceKeeping(f.in("shots.json"), bytes, f.project, known, ".kept");
        if (replaced)
            known = {replaced->written, bytes, replaced->held};
        else
            ++failed;
    }
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const QByteArray everything = everythingIn(f.project);
    QStringList lost;
    for (int i = 0; i < versions; ++i) {
        if (!everything.contains("<outside-" + QByteArray::number(i) + '>'))
            lost.append(QString::number(i));
    }
    qInfo("%d saves, %d failed, %d of %d outside versions lost", saves, failed, int(lost.size()), versions);
    QCOMPARE(failed, 0);
    QCOMPARE(lost, QStringList());
    QCOMPARE(QDir(f.project).entryList({QStringLiteral("shots.json.*.tmp")}, QDir::Files), QStringList());
}

// The next free kept name comes from one listing of the folder, however many are taken.
void TestProjectFile::keptNameIsFoundPastManyKeptFiles()
{
    Folders f;
    const QString path = f.in("shots.json");
    constexpr int taken = 10050;
    for (int number = 0; number < taken; ++number)
        QVERIFY(writeFile(ProjectFile::keptName(path, ".kept", number), "earlier"));
    QVERIFY(QFile::remove(ProjectFile::keptName(path, ".kept", 7))); // a gap is used first
    QVERIFY(writeFile(path, "theirs"));
    const auto first = ProjectFile::replaceKeeping(path, "ours", f.project, {}, ".kept");
    QVERIFY2(first, qPrintable(first.error()));
    QCOMPARE(first->kept, QStringList{"shots.json.kept.7"});
    QVERIFY(writeFile(path, "theirs again"));
    const auto second = ProjectFile::replaceKeeping(path, "ours", f.project, {}, ".kept");
    QVERIFY2(second, qPrintable(second.error()));
    QCOMPARE(second->kept, QStringList{QStringLiteral("shots.json.kept.%1").arg(taken)});
    QCOMPARE(readFile(ProjectFile::keptName(path, ".kept", taken)), QByteArray("theirs again"));
    QCOMPARE(QDir(f.project).entryList({QStringLiteral("shots.json.*.tmp")}, QDir::Files), QStringList());
}

// Only regular files named as a write names its temporary file are looked at; the judge's
// word is carried out, newest first, and a restore never replaces the file.
void TestProjectFile::leftoversAreOnlyWhatAWriteLeaves()
{
    Folders f;
    const QString path = f.in("shots.json");
    const auto leftover = [&](const QString &name, const QByteArray &bytes, qint64 secondsAgo) {
        const QString file = f.in(name);
        QVERIFY(writeFile(file, bytes));
        const struct timespec times[2] = {{::time(nullptr) - secondsAgo, 0}, {::time(nullptr) - secondsAgo, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
    };
    leftover("shots.json.1a2b3c4d.tmp", "older", 20);
    leftover("shots.json.e5.tmp", "newer", 10);
    leftover("shots.json.0.tmp", "remove me", 5);
    // Not what a write of "shots.json" leaves:
    const QStringList strangers{"shots.json.tmp", "shots.json.ABC.tmp", "shots.json.123456789.tmp", "shots.json.x1.tmp",
                                "other.json.1a.tmp", "shots.json.1a.tmp.bak"};
    for (const QString &name : strangers)
        QVERIFY(writeFile(f.in(name), "stranger"));
    QVERIFY(QFile::link(f.out("secret"), f.in("shots.json.2b.tmp")));
    QCOMPARE(::mkfifo(QFile::encodeName(f.in("shots.json.3c.tmp")).constData(), 0644), 0);
    QVERIFY(QDir().mkpath(f.in("shots.json.4d.tmp")));

    QByteArrayList judged;
    const auto judge = [&](const QByteArray &bytes, const std::optional<QByteArray> &current) {
        judged.append(bytes + " over " + current.value_or("nothing"));
        if (bytes == "remove me")
            return ProjectFile::LeftoverFate::Remove;
        return ProjectFile::LeftoverFate::Restore; // the second one finds the file there: kept
    };
    const auto kept = ProjectFile::settleLeftovers(path, f.project, ".kept", judge, std::nullopt);
    QVERIFY2(kept, qPrintable(kept.error()));
    QCOMPARE(judged, (QByteArrayList{"remove me over nothing", "newer over nothing", "older over newer"}));
    QCOMPARE(kept->kept, QStringList{"shots.json.kept"});
    QVERIFY(kept->restored);
    QCOMPARE(readFile(path), QByteArray("newer"));
    QCOMPARE(readFile(path + ".kept"), QByteArray("older"));
    QStringList left = strangers;
    left << "shots.json" << "shots.json.kept" << "shots.json.2b.tmp" << "shots.json.3c.tmp" << "shots.json.4d.tmp";
    left.sort();
    QCOMPARE(QDir(f.project).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             left);
}

void TestProjectFile::linksAreWalkedInsideOnly_data()
{
    QTest::addColumn<QString>("link");   // made at "<project>/<link>"…
    QTest::addColumn<QString>("target"); // …leading here ("@" stands for the project folder, "%" for outside)
    QTest::addColumn<QString>("path");   // then read and written, below the project folder
    QTest::addColumn<QString>("error");  // empty: works; "outside", or the system's text

    const QString works;
    const QString out = QStringLiteral("outside");
    QTest::newRow("folder, relative") << "dir" << "real" << "dir/a.json" << works;
    QTest::newRow("folder, absolute inside") << "dir" << "@/real" << "dir/a.json" << works;
    QTest::newRow("up and down again") << "real/up" << "../real/deeper/.." << "real/up/a.json" << works;
    QTest::newRow("absolute, up and down again") << "dir" << "@/real/deeper/.." << "dir/a.json" << works;
    QTest::newRow("chain of folder links") << "dir" << "real/chain" << "dir/a.json" << works;
    QTest::newRow("folder, absolute outside") << "dir" << "%" << "dir/a.json" << out;
    QTest::newRow("up out of the project") << "dir" << "../Elsewhere" << "dir/a.json" << out;
    QTest::newRow("absolute, up out of the project") << "dir" << "@/../Elsewhere" << "dir/a.json" << out;
    QTest::newRow("up out and back in") << "dir" << "../Project/real" << "dir/a.json" << out;
    QTest::newRow("loop") << "dir" << "dir" << "dir/a.json" << systemText(ELOOP);
    QTest::newRow("file loop") << "loop.json" << "loop.json" << "loop.json" << systemText(ELOOP);
}

void TestProjectFile::linksAreWalkedInsideOnly()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFETCH(QString, error);
    Folders f;
    QVERIFY(writeFile(f.in("real/a.json"), "inside"));
    QVERIFY(QDir().mkpath(f.in("real/deeper")));
    QVERIFY(QFile::link("../real", f.in("real/chain")));
    QVERIFY(writeFile(f.out("a.json"), "outside"));
    target.replace(QLatin1Char('@'), f.project).replace(QLatin1Char('%'), f.outside);
    QVERIFY(QFile::link(target, f.in(link)));

    const auto read = ProjectFile::read(f.in(path), f.project);
    const Status written = ProjectFile::writeAtomically(f.in(path), "written", f.project);
    const Status made = ProjectFile::makeFolder(f.in(link + "/made"), f.project);
    if (error.isEmpty()) {
        QCOMPARE(read.value(), QByteArray("inside"));
        QVERIFY2(written, qPrintable(written.error()));
        QVERIFY2(made, qPrintable(made.error()));
        QCOMPARE(readFile(f.in("real/a.json")), QByteArray("written"));
        QVERIFY(QFileInfo(f.in("real/made")).isDir());
    } else {
        const QString expected =
            error == "outside" ? QStringLiteral("„%1“ führt aus dem Projektordner hinaus.").arg(f.in(path)) : error;
        QVERIFY(!read && !written && !made);
        QCOMPARE(read.error(), expected);
        QCOMPARE(written.error(), expected);
        QCOMPARE(readFile(f.in("real/a.json")), QByteArray("inside"));
    }
    QCOMPARE(readFile(f.out("a.json")), QByteArray("outside"));
    QCOMPARE(QDir(f.outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"a.json"});
}

// Another local process swaps a folder of the project for a link leading out, over and over,
// while files are read and written below it: no write may land outside and no read may
// return what lies there.
void TestProjectFile::folderSwappedForALinkNeverLeadsOut()
{
    Folders f;
    QVERIFY(writeFile(f.in("plans/shots.json"), "inside"));
    QVERIFY(writeFile(f.out("shots.json"), "OUTSIDE"));
    QVERIFY(QFile::link(f.outside, f.in("plans.swap")));
    const QByteArray plans = QFile::encodeName(f.in("plans"));
    const QByteArray swap = QFile::encodeName(f.in("plans.swap"));
    // The swap is one exchange of names, so "plans" is always there, as a folder or a link.
    if (::renameat2(AT_FDCWD, plans.constData(), AT_FDCWD, swap.constData(), RENAME_EXCHANGE) != 0)
        QSKIP("This file system cannot exchange two names.");

    std::atomic<bool> stop{false};
    std::atomic<int> swaps{0};
    std::thread swapper([&] {
        while (!stop.load()) {
            ::renameat2(AT_FDCWD, plans.constData(), AT_FDCWD, swap.constData(), RENAME_EXCHANGE);
            swaps.fetch_add(1);
        }
    });
    int writes = 0;
    int reads = 0;
    QStringList leaks;
    QElapsedTimer clock;
    clock.start();
    ProjectFile::Version known;
    while (clock.elapsed() < 1500 && leaks.size() < 5) {
        const QByteArray bytes = "written " + QByteArray::number(writes);
        if (ProjectFile::writeAtomically(f.in("plans/shots.json"), bytes, f.project))
            ++writes;
        if (const auto replaced = ProjectFile::replaceKeeping(f.in("plans/shots.json"), bytes, f.project, known, ".kept")) {
            known = {replaced->written, bytes, std::nullopt};
            ++writes;
        }
        ProjectFile::makeFolder(f.in("plans/sub/folder"), f.project);
        const auto read = ProjectFile::read(f.in("plans/shots.json"), f.project);
        if (read) {
            ++reads;
            if (read.value() == "OUTSIDE")
                leaks.append(QStringLiteral("read returned the outside file"));
        }
        if (readFile(f.out("shots.json")) != "OUTSIDE")
            leaks.append(QStringLiteral("written outside"));
        const QStringList there = QDir(f.outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (there != QStringList{"shots.json"})
            leaks.append(QStringLiteral("made outside: ") + there.join(QLatin1Char(' ')));
    }
    stop.store(true);
    swapper.join();
    qInfo("%d writes and %d reads against %d swaps", writes, reads, swaps.load());
    QVERIFY2(leaks.isEmpty(), qPrintable(leaks.join(QStringLiteral("; "))));
    QVERIFY(writes > 0 && reads > 0);
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
