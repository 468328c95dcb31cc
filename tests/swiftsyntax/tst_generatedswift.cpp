// Every Swift source the program writes is parsed with tree-sitter's Swift grammar: the
// screenshot runner's test and host app, the interactive driver, the recorder library and the
// exported fastlane-snapshot test, from plans full of text that breaks naive escaping.

#include <RunnerProject.h>
#include <ScreenshotPlan.h>
#include <ShotTestGenerator.h>
#include <SimulatorTemplates.h>

#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

#ifdef VELORANCE_SWIFT_GRAMMAR
#include <tree_sitter/api.h>
extern "C" const TSLanguage *tree_sitter_swift();
#endif

Q_DECLARE_METATYPE(ScreenshotPlan)

namespace {

// Text that a value may hold: quotes, escapes, comment and interpolation starters, raw-string
// delimiters, control and format characters, a lone surrogate, emoji and a very long line.
QStringList hostileTexts()
{
    QStringList texts = {
        QString(),
        QStringLiteral("\""),
        QStringLiteral("\\"),
        QStringLiteral("\\\""),
        QStringLiteral("a\nb"),
        QStringLiteral("\r\n\r"),
        QStringLiteral("tab\there"),
        QStringLiteral("\\(exit(1))"),
        QStringLiteral("\\u{1F600}"),
        QStringLiteral("\\u{"),
        QStringLiteral("😀 👩‍👩‍👧 🇩🇪"),
        QStringLiteral("*/"),
        // Not at the start: this grammar misreads a literal that opens with "/*" as a comment.
        QStringLiteral("x /* never closed"),
        QStringLiteral("// rest of line"),
        QStringLiteral("#"),
        QStringLiteral("#\"raw\"#"),
        QStringLiteral("\"#"),
        QStringLiteral("\"\"\""),
        QStringLiteral("#\"\"\"\n"),
        QStringLiteral("$0 `x` 'y'"),
        QStringLiteral("{{SHOTS}} {{LANGUAGES}} {{TEST_NAME}} %1 %2"),
        QStringLiteral("\u2028\u2029\u0085"),
        QStringLiteral("\u202Eevil\u202C\uFEFF"),
        QStringLiteral("\x7F"),
        QString(QChar(u'\0')) + QStringLiteral("nul"),
        QString(QChar(0xD800)) + QStringLiteral("lone") + QChar(0xDFFF),
        QString(20000, QLatin1Char('x')),
        QString(2000, QLatin1Char('\\')) + QString(2000, QLatin1Char('"')),
    };
    for (char16_t c = 1; c < 0x20; ++c)
        texts.append(QStringLiteral("c") + QChar(c));
    return texts;
}

// A plan whose every text field, language, argument and variable holds the hostile texts,
// with numbers a Swift literal cannot spell.
ScreenshotPlan hostilePlan()
{
    const QStringList texts = hostileTexts();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QList<double> numbers = {nan, inf, -inf, -0.0, 1e308, 5e-324, -1e-7, 1e22, 0.1};

    // A hand-edited plan may name a language twice.
    ScreenshotPlan plan = ScreenshotPlan::makeDefault(texts + QStringList{QStringLiteral("de"), QStringLiteral("de")});
    plan.lanes.first().name = texts.join(QString());
    plan.launchArguments = texts;
    plan.location = PlanLocation{nan, inf};
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &text = texts.at(i);
        const double number = numbers.at(i % numbers.size());
        const NormPoint point{number, -number};
        plan.launchVariables.append({QUuid::createUuid(), text, text});
        plan.flagSelections.insert(text, text);

        Shot shot;
        shot.id = QUuid::createUuid();
        shot.name = text;
        shot.steps = {
            ShotStepItem::make(ShotStep::tap(text, text, point)),
            ShotStepItem::make(ShotStep::tap(text, text)),
            ShotStepItem::make(ShotStep::typeText(text, text)),
            ShotStepItem::make(ShotStep::wait(number)),
            ShotStepItem::make(ShotStep::swipe(text, text, point, SwipeDirection(i % 4))),
            ShotStepItem::make(ShotStep::swipe(text, text, std::nullopt, SwipeDirection::Left)),
        };
        if (i % 3 == 0)
            shot.location = PlanLocation{number, number};
        plan.shots.append(shot);
    }
    return plan;
}

// A plan as people make them.
ScreenshotPlan ordinaryPlan()
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault({QStringLiteral("de-DE"), QStringLiteral("en-US")});
    plan.launchArguments = {QStringLiteral("-demo YES")};
    plan.launchVariables = {{QUuid::createUuid(), QStringLiteral("API"), QStringLiteral("staging")}};
    Shot shot;
    shot.id = QUuid::createUuid();
    shot.name = QStringLiteral("Start");
    shot.steps = {ShotStepItem::make(ShotStep::tap(QStringLiteral("loginButton"), QStringLiteral("Anmelden"), NormPoint{0.5, 0.25})),
                  ShotStepItem::make(ShotStep::wait(1.5))};
    shot.location = PlanLocation{52.52, 13.405};
    plan.shots = {shot};
    return plan;
}

// Every .swift file under `folder`, by path relative to it.
QList<std::pair<QString, QByteArray>> swiftFilesIn(const QString &folder)
{
    QList<std::pair<QString, QByteArray>> files;
    QDirIterator it(folder, {QStringLiteral("*.swift")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.append({path.mid(folder.size() + 1), file.readAll()});
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Words Swift does not take as a type's name, "_" among them.
QStringList swiftReservedWords()
{
    return QStringLiteral("_ Any Protocol Self Type as associatedtype break case catch class continue default defer "
                          "deinit do else enum extension fallthrough false fileprivate for func guard if import in "
                          "init inout internal is let nil open operator precedencegroup private protocol public "
                          "repeat rethrows return self static struct subscript super switch throw throws true try "
                          "typealias var where while")
        .split(QLatin1Char(' '));
}

#ifdef VELORANCE_SWIFT_GRAMMAR
// What the compiler would refuse or the test would trap on, each with its place (line:column,
// from 1) and source line: the ERROR and MISSING nodes of the parse, and a dictionary literal
// that holds a key twice (Swift stops the program on it). At most `limit` of them.
QStringList syntaxProblems(const QByteArray &source, int limit = 10)
{
    TSParser *parser = ts_parser_new();
    if (!ts_parser_set_language(parser, tree_sitter_swift())) {
        ts_parser_delete(parser);
        return {QStringLiteral("the Swift grammar's ABI %1 is not one libtree-sitter reads (%2…%3)")
                    .arg(ts_language_version(tree_sitter_swift()))
                    .arg(TREE_SITTER_MIN_COMPATIBLE_LANGUAGE_VERSION)
                    .arg(TREE_SITTER_LANGUAGE_VERSION)};
    }
    TSTree *tree = ts_parser_parse_string(parser, nullptr, source.constData(), uint32_t(source.size()));
    const QList<QByteArray> lines = source.split('\n');
    const auto text = [&source](TSNode node) {
        return source.mid(ts_node_start_byte(node), ts_node_end_byte(node) - ts_node_start_byte(node));
    };

    QStringList problems;
    const auto report = [&](TSNode node, const QString &what) {
        const TSPoint at = ts_node_start_point(node);
        const QByteArray line = at.row < uint32_t(lines.size()) ? lines.at(at.row) : QByteArray();
        problems.append(QStringLiteral("%1:%2: %3 | %4")
                            .arg(at.row + 1)
                            .arg(at.column + 1)
                            .arg(what, QString::fromUtf8(line.left(160))));
    };

    QList<TSNode> pending = {ts_tree_root_node(tree)};
    while (!pending.isEmpty() && problems.size() < limit) {
        const TSNode node = pending.takeLast();
        if (ts_node_is_missing(node)) {
            report(node, QStringLiteral("missing ") + QString::fromUtf8(ts_node_type(node)));
            continue;
        }
        if (std::strcmp(ts_node_type(node), "ERROR") == 0) {
            report(node, QStringLiteral("syntax error"));
            continue;
        }
        const uint32_t count = ts_node_child_count(node);
        if (std::strcmp(ts_node_type(node), "dictionary_literal") == 0) {
            // A cursor, since this library's ts_node_field_name_for_child names the wrong children.
            QSet<QByteArray> keys;
            TSTreeCursor cursor = ts_tree_cursor_new(node);
            for (bool more = ts_tree_cursor_goto_first_child(&cursor); more; more = ts_tree_cursor_goto_next_sibling(&cursor)) {
                const char *field = ts_tree_cursor_current_field_name(&cursor);
                if (!field || std::strcmp(field, "key") != 0)
                    continue;
                const TSNode key = ts_tree_cursor_current_node(&cursor);
                if (keys.contains(text(key)))
                    report(key, QStringLiteral("duplicate dictionary key ") + QString::fromUtf8(text(key).left(40)));
                keys.insert(text(key));
            }
            ts_tree_cursor_delete(&cursor);
        }
        // Children in reverse keep the problems in source order.
        for (uint32_t i = count; i > 0; --i)
            pending.append(ts_node_child(node, i - 1));
    }
    if (problems.isEmpty() && ts_node_has_error(ts_tree_root_node(tree)))
        problems.append(QStringLiteral("the tree reports an error that no node shows"));
    ts_tree_delete(tree);
    ts_parser_delete(parser);
    return problems;
}
#endif

} // namespace

class TestGeneratedSwift : public QObject
{
    Q_OBJECT

private:
    // Fails with every problem's place and line.
    static void checkSyntax(const QByteArray &source, const QString &name = QString())
    {
#ifdef VELORANCE_SWIFT_GRAMMAR
        QVERIFY2(!source.trimmed().isEmpty(), qPrintable(name));
        const QStringList problems = syntaxProblems(source);
        QVERIFY2(problems.isEmpty(),
                 qPrintable(name + QStringLiteral("\n  ") + problems.join(QStringLiteral("\n  "))));
#else
        Q_UNUSED(source);
        Q_UNUSED(name);
#endif
    }

    // The project's Swift files: the UI test and its host app.
    static void checkSwiftFiles(const QString &folder, qsizetype expected)
    {
        const auto files = swiftFilesIn(folder);
        QCOMPARE(files.size(), expected);
        for (const auto &[path, source] : files) {
            checkSyntax(source, path);
            if (QTest::currentTestFailed())
                return;
        }
    }

private Q_SLOTS:
    void init()
    {
#ifndef VELORANCE_SWIFT_GRAMMAR
        QSKIP("tree-sitter-swift or libtree-sitter-dev is not installed (scripts/setup.sh installs them)");
#endif
    }

    // The check itself finds what a compiler would refuse, with its place.
    void checkerFindsBrokenSource_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("place");

        QTest::newRow("unclosed literal") << QByteArray("let a = 1\nlet b = \"open\nlet c = 2\n") << QString();
        QTest::newRow("unescaped quote") << QByteArray("func f() {\n    print(\"a\"b\")\n}\n") << QStringLiteral("2:");
        QTest::newRow("missing brace") << QByteArray("final class A {\n    func f() {\n}\n") << QString();
        QTest::newRow("duplicate key") << QByteArray("let a = [\"de\": \"x\",\n  \"de\": \"y\"]\n") << QStringLiteral("2:3:");
        QTest::newRow("keyword as class name") << QByteArray("import XCTest\nfinal class func: XCTestCase {\n}\n") << QStringLiteral("2:");
    }
    void checkerFindsBrokenSource()
    {
#ifdef VELORANCE_SWIFT_GRAMMAR
        QFETCH(QByteArray, source);
        QFETCH(QString, place);
        const QStringList problems = syntaxProblems(source);
        QVERIFY(!problems.isEmpty());
        QVERIFY2(problems.first().startsWith(place), qPrintable(problems.first()));
#endif
    }

    // The screenshot runner's UI test.
    void screenshotRunnerTest_data()
    {
        QTest::addColumn<ScreenshotPlan>("plan");
        QTest::newRow("ordinary plan") << ordinaryPlan();
        QTest::newRow("hostile plan") << hostilePlan();
        QTest::newRow("empty plan") << ScreenshotPlan{};
    }
    void screenshotRunnerTest()
    {
        QFETCH(ScreenshotPlan, plan);
        checkSyntax(RunnerProject::screenshotTestSource(plan).toUtf8());
    }

    // The runner project as it is written to disk: its UI test and its host app.
    void screenshotRunnerProject()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const Status written = RunnerProject::writeScreenshotRunner(folder.path(), ordinaryPlan());
        QVERIFY2(written.ok(), qPrintable(written.error()));
        checkSwiftFiles(folder.path(), 2);
    }

    // The interactive driver's UI test and host app.
    void driver()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const Status written = RunnerProject::writeDriver(folder.path());
        QVERIFY2(written.ok(), qPrintable(written.error()));
        checkSwiftFiles(folder.path(), 2);
    }

    // The library injected into the app under test while recording.
    void recorderLibrary()
    {
        checkSyntax(SimulatorTemplates::bytes(QStringLiteral("recorder/recorder.swift")), QStringLiteral("recorder.swift"));
    }

    // The exported fastlane-snapshot test, for hostile class names as well as hostile plans.
    void snapshotExport_data()
    {
        QTest::addColumn<ScreenshotPlan>("plan");
        QTest::addColumn<QString>("className");

        QTest::newRow("ordinary") << ordinaryPlan() << QStringLiteral("VeloranceStudioScreenshots");
        QTest::newRow("hostile plan") << hostilePlan() << QStringLiteral("VeloranceStudioScreenshots");
        QTest::newRow("empty plan") << ScreenshotPlan{} << QStringLiteral("VeloranceStudioScreenshots");
        const QStringList classNames = {
            QString(), QStringLiteral("_"), QStringLiteral("__"), QStringLiteral("1Screens"), QStringLiteral("class"),
            QStringLiteral("func"), QStringLiteral("self"), QStringLiteral("Self"), QStringLiteral("Type"),
            QStringLiteral("Any"), QStringLiteral("init"), QStringLiteral("in"), QStringLiteral("true"),
            QStringLiteral("!"), QStringLiteral("protocol"), QStringLiteral("-class-"),
            QStringLiteral("`Quoted`"), QStringLiteral("My Screens"), QStringLiteral("Bildschirmfotos für Ä"),
            QStringLiteral("😀"), QStringLiteral("a\"b\\c\nd"), QStringLiteral("/* x */"), QStringLiteral("#if"),
            QStringLiteral("$0"), QString(300, QLatin1Char('A')),
        };
        for (const QString &name : classNames)
            QTest::addRow("class name %s", qPrintable(ShotTestGenerator::swiftStringLiteral(name).left(40))) << ordinaryPlan() << name;
    }
    void snapshotExport()
    {
        QFETCH(ScreenshotPlan, plan);
        QFETCH(QString, className);
        const QString source = ShotTestGenerator::snapshotTestSource(plan, className);
        checkSyntax(source.toUtf8());

        // The grammar takes any word as a class name; the compiler takes no reserved one.
        const QString head = QStringLiteral("\nfinal class ");
        const qsizetype start = source.indexOf(head) + head.size();
        const qsizetype end = source.indexOf(QStringLiteral(": XCTestCase {\n"), start);
        QVERIFY2(start >= head.size() && end > start, "no class declaration");
        const QString declared = source.mid(start, end - start);
        QVERIFY2(!swiftReservedWords().contains(declared), qPrintable(declared));
    }
};

QTEST_GUILESS_MAIN(TestGeneratedSwift)
#include "tst_generatedswift.moc"
