#include "LibcGerman.h"

#include <ShotStore.h>
#include <Uuid.h>

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

ScreenshotPlan samplePlan(const QString &shotName)
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault({"de-DE", "en-US"});
    plan.shots.append(Shot{Uuid::make(), shotName, {ShotStepItem::make(ShotStep::wait(1))}, std::nullopt, std::nullopt});
    return plan;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes a folder unwritable for the duration of a test, also for root: the permission bits
// keep ordinary users out, the immutable attribute keeps out root.
class ReadOnlyFolder final
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (geteuid() == 0)
            m_immutable = setImmutable(true);
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable)
            setImmutable(false);
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // Whether writing into the folder really fails here.
    bool isEffective() const
    {
        QFile probe(QDir(m_path).filePath("probe"));
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.close();
        probe.remove();
        return false;
    }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    QString m_path;
    bool m_immutable = false;
};

} // namespace

class TestShotStore final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paths();
    void saveCreatesMissingFolders();
    void saveReplacesThePlan();
    void saveIntoReadOnlyFolderKeepsOldFile();
    void saveWhereFolderCannotBeMade_data();
    void saveWhereFolderCannotBeMade();
    void writeGeneratedFile();
    void loadReportsMissingAndBrokenFiles();
    void neverWritesOrReadsThroughLinksLeadingOut();
    void replacedPlansAreKeptNeverOverwritten();
    void leftoversOfKilledSavesAreSettled_data();
    void leftoversOfKilledSavesAreSettled();
};

void TestShotStore::paths()
{
    const ShotStore store("/p/App/fastlane");
    QCOMPARE(store.folder(), QString("/p/App/fastlane/velorancestudio"));
    QCOMPARE(store.planPath(), QString("/p/App/fastlane/velorancestudio/shots.json"));
}

void TestShotStore::saveCreatesMissingFolders()
{
    QTemporaryDir dir;
    const ShotStore store(dir.filePath("App/fastlane"));
    const ScreenshotPlan plan = samplePlan("01 Start");
    const Status status = store.save(plan);
    QVERIFY2(status.ok(), qPrintable(status.error()));
    QCOMPARE(readAll(store.planPath()), plan.encode());
    QCOMPARE(store.load().value(), plan);
    // Only the plan is left behind, no temporary files.
    QCOMPARE(QDir(store.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"shots.json"});
}

void TestShotStore::saveReplacesThePlan()
{
    QTemporaryDir dir;
    const ShotStore store(dir.path());
    QVERIFY(store.save(samplePlan("alt")).ok());
    const ScreenshotPlan newer = samplePlan("neu");
    QVERIFY(store.save(newer).ok());
    QCOMPARE(store.load().value(), newer);
}

void TestShotStore::saveIntoReadOnlyFolderKeepsOldFile()
{
    QTemporaryDir dir;
    const ShotStore store(dir.path());
    QVERIFY(store.save(samplePlan("alt")).ok());
    const QByteArray before = readAll(store.planPath());

    ReadOnlyFolder readOnly(store.folder());
    if (!readOnly.isEffective())
        QSKIP("This file system lets the folder be written anyway.");
    const Status status = store.save(samplePlan("neu"));
    QVERIFY(!status.ok());
    QVERIFY(!status.error().isEmpty());
    QCOMPARE(readAll(store.planPath()), before);
    QCOMPARE(QDir(store.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"shots.json"});
}

void TestShotStore::saveWhereFolderCannotBeMade_data()
{
    QTest::addColumn<QString>("blocker"); // a file standing where a folder is needed
    QTest::newRow("plan folder is a file") << "velorancestudio";
    QTest::newRow("fastlane folder is a file") << "";
}

void TestShotStore::saveWhereFolderCannotBeMade()
{
    QFETCH(QString, blocker);
    QTemporaryDir dir;
    const QString fastlane = dir.filePath("fastlane");
    const QString blockingPath = blocker.isEmpty() ? fastlane : fastlane + "/" + blocker;
    QVERIFY(QDir().mkpath(QFileInfo(blockingPath).path()));
    QFile file(blockingPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("alt");
    file.close();

    const ShotStore store(fastlane);
    const Status status = store.save(samplePlan("neu"));
    QVERIFY(!status.ok());
    QCOMPARE(status.error(), QString("Der Ordner „%1“ konnte nicht angelegt werden: %2")
                                 .arg(store.folder(), libcGerman("Not a directory")));
    QCOMPARE(readAll(blockingPath), QByteArray("alt"));
    QVERIFY(!store.writeGeneratedFile("x", "Export.swift").ok());
}

void TestShotStore::writeGeneratedFile()
{
    QTemporaryDir dir;
    const ShotStore store(dir.filePath("fastlane"));
    const QString text = QStringLiteral("// Grüße „Welt“ — ✓\nimport XCTest\n");
    const Result<QString> written = store.writeGeneratedFile(text, "VeloranceStudioScreenshots.swift");
    QVERIFY2(written.ok(), qPrintable(written.error()));
    QCOMPARE(written.value(), store.folder() + "/VeloranceStudioScreenshots.swift");
    QCOMPARE(readAll(written.value()), text.toUtf8());

    QVERIFY(store.writeGeneratedFile("neu", "VeloranceStudioScreenshots.swift").ok());
    QCOMPARE(readAll(written.value()), QByteArray("neu"));
}

void TestShotStore::loadReportsMissingAndBrokenFiles()
{
    QTemporaryDir dir;
    const ShotStore store(dir.path());
    QString error;
    QVERIFY(!store.load(&error));
    QVERIFY(!error.isEmpty());

    QVERIFY(QDir().mkpath(store.folder()));
    QFile file(store.planPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"shots\": [");
    file.close();
    error.clear();
    QVERIFY(!store.load(&error));
    QVERIFY(!error.isEmpty());
}

void TestShotStore::neverWritesOrReadsThroughLinksLeadingOut()
{
    QTemporaryDir dir;
    const QString outside = dir.filePath("elsewhere");
    QVERIFY(QDir().mkpath(outside));
    const QString secret = outside + "/secret";
    QFile file(secret);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("secret");
    file.close();

    const QString project = dir.filePath("App");
    const ShotStore store(project + "/fastlane", project);
    QVERIFY(QDir().mkpath(store.folder()));
    QVERIFY(QFile::link(secret, store.planPath()));
    QVERIFY(QFile::link(secret, store.folder() + "/VeloranceStudioScreenshots.swift"));
    QString error;
    QVERIFY(!store.load(&error));
    QCOMPARE(error, QString("„%1“ führt aus dem Projektordner hinaus.").arg(store.planPath()));
    QVERIFY(!store.save(samplePlan("neu")));
    QVERIFY(!store.writeGeneratedFile("// test", "VeloranceStudioScreenshots.swift"));
    QVERIFY(!store.replacePlanBytes(samplePlan("neu").encode(), {}));
    QCOMPARE(readAll(secret), QByteArray("secret"));
    QCOMPARE(QDir(outside).entryList(QDir::Files | QDir::Hidden), QStringList{"secret"});

    // The whole plan folder leading out counts the same.
    const QString other = dir.filePath("Other");
    QVERIFY(QDir().mkpath(other + "/fastlane"));
    QVERIFY(QFile::link(outside, other + "/fastlane/velorancestudio"));
    const ShotStore linked(other + "/fastlane", other);
    QVERIFY(!linked.save(samplePlan("neu")));
    QVERIFY(!linked.writeGeneratedFile("// test", "VeloranceStudioScreenshots.swift"));
    QCOMPARE(QDir(outside).entryList(QDir::Files | QDir::Hidden), QStringList{"secret"});
}

void TestShotStore::replacedPlansAreKeptNeverOverwritten()
{
    QTemporaryDir dir;
    const ShotStore store(dir.filePath("fastlane"));
    const ProjectFile::Version none{ProjectFile::Stamp(), std::nullopt, std::nullopt};
    const auto first = store.replacePlanBytes(samplePlan("eins").encode(), none); // makes the folder
    QVERIFY2(first, qPrintable(first.error()));
    QCOMPARE(first->kept, QStringList()); // nothing there
    const QByteArray eins = readAll(store.planPath());

    // Not the version the caller knows: kept, each under a name of its own.
    QCOMPARE(store.replacePlanBytes(samplePlan("zwei").encode(), none).value().kept, QStringList("shots.json.kept"));
    const QByteArray zwei = readAll(store.planPath());
    QCOMPARE(store.replacePlanBytes(samplePlan("drei").encode(), {}).value().kept, QStringList("shots.json.kept.1"));
    QCOMPARE(readAll(store.planPath() + ".kept"), eins);
    QCOMPARE(readAll(store.planPath() + ".kept.1"), zwei);
    // What the caller could not read as a plan is told by its name.
    const QByteArray drei = readAll(store.planPath());
    QCOMPARE(store.replacePlanBytes(samplePlan("drei").encode(), {}, true).value().kept,
             QStringList("shots.json.unreadable"));
    QCOMPARE(readAll(store.planPath() + ".unreadable"), drei);

    // The version it knows is replaced without a copy.
    const ProjectFile::Version known{ProjectFile::stamp(store.planPath()), readAll(store.planPath()), std::nullopt};
    const auto fourth = store.replacePlanBytes(samplePlan("vier").encode(), known);
    QCOMPARE(fourth.value().kept, QStringList());
    QCOMPARE(store.load().value().shots.first().name, QString("vier"));
    QCOMPARE(QDir(store.folder()).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

void TestShotStore::leftoversOfKilledSavesAreSettled_data()
{
    // Contents by name: "one", "two", "three" are plans; "one relaid" is "one" in another
    // layout; "two cut" the first half of "two"; "two appended" has bytes after its end;
    // "broken" is no plan; "-" is no file.
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("leftovers"); // oldest first
    QTest::addColumn<QString>("after");          // "shots.json" afterwards
    QTest::addColumn<QStringList>("kept");       // ".kept", ".kept.1", …

    QTest::newRow("empty") << "one" << QStringList{""} << "one" << QStringList();
    QTest::newRow("cut short") << "one" << QStringList{"two cut"} << "one" << QStringList();
    QTest::newRow("the same bytes") << "one" << QStringList{"one"} << "one" << QStringList();
    QTest::newRow("the same plan, another layout") << "one" << QStringList{"one relaid"} << "one" << QStringList();
    QTest::newRow("another plan") << "one" << QStringList{"two"} << "one" << QStringList{"two"};
    QTest::newRow("broken otherwise") << "one" << QStringList{"two appended"} << "one" << QStringList{"two appended"};
    QTest::newRow("plan file broken") << "broken" << QStringList{"two"} << "broken" << QStringList{"two"};
    QTest::newRow("plan file missing") << "-" << QStringList{"two"} << "two" << QStringList();
    QTest::newRow("plan file missing, the newest comes back")
        << "-" << QStringList{"two", "three"} << "three" << QStringList{"two"};
    QTest::newRow("plan file missing, nothing whole") << "-" << QStringList{"two cut", "broken"} << "-"
                                                      << QStringList{"broken"};
}

void TestShotStore::leftoversOfKilledSavesAreSettled()
{
    QFETCH(QString, current);
    QFETCH(QStringList, leftovers);
    QFETCH(QString, after);
    QFETCH(QStringList, kept);
    const QByteArray one = samplePlan("eins").encode();
    const QByteArray two = samplePlan("zwei").encode();
    const QHash<QString, QByteArray> contents{
        {"", QByteArray()},
        {"one", one},
        {"one relaid", QByteArray(one).replace("    ", "\t")},
        {"two", two},
        {"two cut", two.left(two.size() / 2)},
        {"two appended", two + "\n<outside-7>\n"},
        {"three", samplePlan("drei").encode()},
        {"broken", "{\"languages\": [\"de-DE\",]}"},
    };

    QTemporaryDir dir;
    const ShotStore store(dir.filePath("fastlane"));
    QVERIFY(QDir().mkpath(store.folder()));
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    if (current != "-")
        QVERIFY(write(store.planPath(), contents.value(current)));
    for (qsizetype i = 0; i < leftovers.size(); ++i) {
        const QString path = store.planPath() + QStringLiteral(".%1.tmp").arg(0xa0 + i, 0, 16);
        QVERIFY(write(path, contents.value(leftovers.at(i))));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(i - 100), QFileDevice::FileModificationTime));
    }

    const Result<ProjectFile::Settled> settled = store.settleLeftovers();
    QVERIFY2(settled, qPrintable(settled.error()));
    QStringList expected{"shots.json"};
    if (after == "-") {
        QVERIFY(!QFile::exists(store.planPath()));
        expected.clear();
    } else {
        QCOMPARE(readAll(store.planPath()), contents.value(after));
    }
    QStringList keptNames;
    for (qsizetype i = 0; i < kept.size(); ++i) {
        keptNames.append(i == 0 ? QStringLiteral("shots.json.kept") : QStringLiteral("shots.json.kept.%1").arg(i));
        QCOMPARE(readAll(QDir(store.folder()).filePath(keptNames.last())), contents.value(kept.at(i)));
    }
    QCOMPARE(settled->kept, keptNames);
    QCOMPARE(settled->restored, current == "-" && after != "-");
    expected += keptNames;
    QCOMPARE(QDir(store.folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

QTEST_APPLESS_MAIN(TestShotStore)
#include "tst_shotstore.moc"
