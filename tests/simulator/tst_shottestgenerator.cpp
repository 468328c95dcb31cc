#include <ShotTestGenerator.h>

#include <QTest>

namespace {
// True when every string literal on every line is closed: a stand-in for "the file compiles"
// on a machine without swiftc.
bool literalsBalanced(const QString &source, QString *badLine)
{
    for (const QString &line : source.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("//")))
            continue;
        bool inside = false;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (inside && c == QLatin1Char('\\')) {
                ++i;
                continue;
            }
            if (c == QLatin1Char('"'))
                inside = !inside;
        }
        if (inside) {
            *badLine = line;
            return false;
        }
    }
    return true;
}
} // namespace

class TestShotTestGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stringLiteral_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");

        QTest::newRow("plain") << "Start" << "\"Start\"";
        QTest::newRow("empty") << "" << "\"\"";
        QTest::newRow("quotes") << "Say \"hi\"" << "\"Say \\\"hi\\\"\"";
        QTest::newRow("backslash") << "a\\b" << "\"a\\\\b\"";
        QTest::newRow("interpolation stays text") << "\\(exit(1))" << "\"\\\\(exit(1))\"";
        QTest::newRow("line breaks and tab") << "a\nb\r\tc" << "\"a\\nb\\r\\tc\"";
        QTest::newRow("control character") << QString(QChar(0x01)) << "\"\\u{1}\"";
        QTest::newRow("line separator") << QString(QChar(0x2028)) << "\"\\u{2028}\"";
        QTest::newRow("umlauts stay") << "Grüße" << "\"Grüße\"";
    }
    void stringLiteral()
    {
        QFETCH(QString, text);
        QFETCH(QString, literal);
        QCOMPARE(ShotTestGenerator::swiftStringLiteral(text), literal);
    }

    void stepLines_data()
    {
        QTest::addColumn<ShotStep>("step");
        QTest::addColumn<QString>("line");

        QTest::newRow("tap with point") << ShotStep::tap(QStringLiteral("login"), QStringLiteral("Anmelden"), NormPoint{0.5, 0.25})
                                        << "  vrsTap(app, selector: \"login\", label: \"Anmelden\", at: CGVector(dx: 0.5, dy: 0.25))";
        QTest::newRow("tap without point") << ShotStep::tap(QString(), QStringLiteral("O\"K"))
                                           << "  vrsTap(app, selector: \"\", label: \"O\\\"K\", at: nil)";
        QTest::newRow("type text") << ShotStep::typeText(QStringLiteral("name"), QStringLiteral("a\\b\nc"))
                                   << "  vrsType(app, selector: \"name\", text: \"a\\\\b\\nc\")";
        QTest::newRow("wait") << ShotStep::wait(1.0) << "  Thread.sleep(forTimeInterval: 1.0)";
        QTest::newRow("wait fraction") << ShotStep::wait(2.5) << "  Thread.sleep(forTimeInterval: 2.5)";
        QTest::newRow("wait negative") << ShotStep::wait(-3) << "  Thread.sleep(forTimeInterval: 0.0)";
        QTest::newRow("swipe") << ShotStep::swipe(QStringLiteral("list"), QString(), NormPoint{1, 0}, SwipeDirection::Left)
                               << "  vrsSwipe(app, selector: \"list\", label: \"\", at: CGVector(dx: 1.0, dy: 0.0), direction: \"left\")";
    }
    void stepLines()
    {
        QFETCH(ShotStep, step);
        QFETCH(QString, line);
        QCOMPARE(ShotTestGenerator::stepLines(step, QStringLiteral("  ")), QStringList{line});
    }

    void snapshotSource()
    {
        ScreenshotPlan plan = ScreenshotPlan::makeDefault({QStringLiteral("de-DE"), QStringLiteral("en \"US\" \\")});
        plan.launchVariables.append({QUuid::createUuid(), QStringLiteral("SECRET_KEY"), QStringLiteral("value")});
        plan.launchArguments.append(QStringLiteral("-planArgument"));
        Shot first;
        first.id = QUuid::createUuid();
        first.name = QStringLiteral("Start \"Home\" \\ 1");
        first.steps = {ShotStepItem::make(ShotStep::tap(QStringLiteral("tab\"1"), QStringLiteral("Tab"), NormPoint{0.1, 0.9})),
                       ShotStepItem::make(ShotStep::typeText(QString(), QStringLiteral("\\(boom)"))),
                       ShotStepItem::make(ShotStep::wait(1.0)),
                       ShotStepItem::make(ShotStep::swipe(QString(), QStringLiteral("Liste"), std::nullopt, SwipeDirection::Down))};
        Shot second;
        second.id = QUuid::createUuid();
        second.name = QStringLiteral("Zwei\nZeilen");
        plan.shots = {first, second};

        const QString source = ShotTestGenerator::snapshotTestSource(plan, QStringLiteral("VeloranceStudioScreenshots"));
        QVERIFY(source.startsWith(QStringLiteral("import XCTest\n")));
        QVERIFY(source.contains(QStringLiteral("final class VeloranceStudioScreenshots: XCTestCase {")));
        QVERIFY(source.contains(QStringLiteral("setupSnapshot(app)")));
        QVERIFY(source.contains(QStringLiteral("var languages: [String] = [\"de-DE\", \"en \\\"US\\\" \\\\\"]")));
        QVERIFY(source.contains(QStringLiteral("environment[\"SCREENSHOT_LANGS\"]")));
        QVERIFY(source.contains(QStringLiteral("app.launchArguments = [\"-AppleLanguages\", \"(\\(language))\", \"-AppleLocale\", language]")));
        QVERIFY(!source.contains(QStringLiteral("SECRET_KEY")));
        QVERIFY(!source.contains(QStringLiteral("-planArgument")));

        // Order inside the language loop: start marker, shots with their steps, done marker.
        const QStringList expectedOrder{
            QStringLiteral("SHOT-START \\(language)"),
            QStringLiteral("// Shot: Start \"Home\" \\ 1"),
            QStringLiteral("app.launch()"),
            QStringLiteral("vrsTap(app, selector: \"tab\\\"1\", label: \"Tab\", at: CGVector(dx: 0.1, dy: 0.9))"),
            QStringLiteral("vrsType(app, selector: \"\", text: \"\\\\(boom)\")"),
            QStringLiteral("Thread.sleep(forTimeInterval: 1.0)"),
            QStringLiteral("vrsSwipe(app, selector: \"\", label: \"Liste\", at: nil, direction: \"down\")"),
            QStringLiteral("snapshot(\"Start \\\"Home\\\" \\\\ 1\")"),
            QStringLiteral("// Shot: Zwei Zeilen"),
            QStringLiteral("app.launch()"),
            QStringLiteral("snapshot(\"Zwei\\nZeilen\")"),
            QStringLiteral("SHOT-DONE \\(language)"),
            QStringLiteral("private func vrsElement("),
            QStringLiteral("waitForExistence(timeout: 8)"),
            QStringLiteral("waitForExistence(timeout: 4)"),
            QStringLiteral("private func vrsTap("),
            QStringLiteral("private func vrsType("),
            QStringLiteral("private func vrsSwipe("),
        };
        qsizetype at = 0;
        for (const QString &piece : expectedOrder) {
            const qsizetype found = source.indexOf(piece, at);
            QVERIFY2(found >= 0, qPrintable(QStringLiteral("missing after %1: %2").arg(at).arg(piece)));
            at = found + piece.size();
        }

        QString badLine;
        QVERIFY2(literalsBalanced(source, &badLine), qPrintable(badLine));
        QCOMPARE(source.count(QStringLiteral("{")), source.count(QStringLiteral("}")));
    }

    void classNameBecomesAnIdentifier()
    {
        const ScreenshotPlan plan = ScreenshotPlan::makeDefault();
        QVERIFY(ShotTestGenerator::snapshotTestSource(plan, QStringLiteral("1 Bad-Name"))
                    .contains(QStringLiteral("final class _1_Bad_Name: XCTestCase {")));
    }
};

QTEST_GUILESS_MAIN(TestShotTestGenerator)
#include "tst_shottestgenerator.moc"
