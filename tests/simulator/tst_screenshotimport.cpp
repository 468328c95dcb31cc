#include "StandInRunHome.h"

#include <ScreenshotRunSession.h>

#include <QDir>
#include <QFile>
#include <QtTest>

using Kind = ScreenshotRunSession::Phase::Kind;

// The import at the end of a screenshot run writes only inside the project.
class ScreenshotImportTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_run.setUp(); }
    void init() { m_run.reset(); }
    void cleanupTestCase() { m_run.tearDown(); }

    void importNeverWritesThroughLinksLeadingOut()
    {
        const XcodeProject project = m_run.demoProject(m_run.iosProjectFile());
        const QString screenshots = *project.fastlaneDirectory + QStringLiteral("/velorancestudio/screenshots/");
        const QString outside = m_run.projects->filePath(QStringLiteral("elsewhere"));
        const QString secret = outside + QStringLiteral("/01-Start.png");
        QVERIFY(writeAll(secret, "not a screenshot"));
        // One language's folder leads out of the project; in the other, one file links out.
        QVERIFY(QDir().mkpath(screenshots + QStringLiteral("de-DE")));
        QVERIFY(QFile::link(outside, screenshots + QStringLiteral("en-US")));
        QVERIFY(QFile::link(secret, screenshots + QStringLiteral("de-DE/01-Start.png")));

        ScreenshotPlan plan = ScreenshotPlan::makeDefault({QStringLiteral("en-US"), QStringLiteral("de-DE")});
        plan.shots = {shot(QStringLiteral("Start")), shot(QStringLiteral("Detail"))};
        ScreenshotRunSession session(project, plan, BuildConfiguration::Debug);
        session.start();
        QTRY_COMPARE_WITH_TIMEOUT(session.phase().kind, Kind::Done, 60000);

        QCOMPARE(session.importedCount(), 1);
        QCOMPARE(readAll(secret), QByteArray("not a screenshot"));
        QCOMPARE(QDir(outside).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("01-Start.png")});
        QVERIFY(QFileInfo(screenshots + QStringLiteral("de-DE/01-Start.png")).isSymLink());
        QVERIFY(readAll(screenshots + QStringLiteral("de-DE/02-Detail.png")).startsWith("\x89PNG"));
    }

private:
    StandInRunHome m_run;
};

QTEST_GUILESS_MAIN(ScreenshotImportTest)
#include "tst_screenshotimport.moc"
