#include <RepositoryTop.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRepositoryTop final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void of_data();
    void of();
};

void TestRepositoryTop::of_data()
{
    QTest::addColumn<QString>("marker"); // where ".git" lies, relative to the temporary folder; empty: nowhere
    QTest::addColumn<bool>("markerIsFile");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("expected");

    const QString project = QStringLiteral("Projects/Repo/apps/ios/App");
    QTest::newRow("no marker, none given: the project's folder") << "" << false << "" << project;
    QTest::newRow(".git folder three levels up") << "Projects/Repo" << false << "" << "Projects/Repo";
    QTest::newRow("nearest marker first") << "Projects/Repo/apps" << false << "" << "Projects/Repo/apps";
    QTest::newRow(".git file of a worktree") << "Projects/Repo" << true << "" << "Projects/Repo";
    QTest::newRow("marker farther up than a repository lies") << "Projects" << false << "" << project;
    QTest::newRow("given top enclosing the project") << "" << false << "Projects/Repo" << "Projects/Repo";
    QTest::newRow("given top is the project's folder") << "" << false << project << project;
    QTest::newRow("given top beside the project's") << "Projects/Repo" << false << "Projects/Other" << project;
    QTest::newRow("given top sharing only a prefix") << "" << false << "Projects/Rep" << project;
}

void TestRepositoryTop::of()
{
    QFETCH(QString, marker);
    QFETCH(bool, markerIsFile);
    QFETCH(QString, given);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString project = dir.filePath("Projects/Repo/apps/ios/App");
    QVERIFY(QDir().mkpath(project));
    if (!marker.isEmpty()) {
        const QString git = dir.filePath(marker + "/.git");
        if (markerIsFile) {
            QFile file(git);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(git));
        }
    }
    QCOMPARE(RepositoryTop::of(project, given.isEmpty() ? QString() : dir.filePath(given)), dir.filePath(expected));
}

QTEST_APPLESS_MAIN(TestRepositoryTop)
#include "tst_repositorytop.moc"
