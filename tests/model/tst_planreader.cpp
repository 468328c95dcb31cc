#include "PlanThroughQt.h"

#include <PlanReader.h>
#include <ScreenshotPlan.h>
#include <Uuid.h>

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

ScreenshotPlan fullPlan()
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault({"de-DE", "zh-Hans"});
    plan.lanes.append(Lane{Uuid::make(), "iPad „Pro“"});
    plan.launchVariables = {LaunchVariable{Uuid::make(), " KEY\t", "a=b \"c\""}};
    plan.launchArguments = {"-flag true", ""};
    plan.flagSelections = {{"-theme", "dark"}, {"-ä", "✓"}};
    plan.location = PlanLocation{-33.8688, 151.2093};
    Shot shot{Uuid::make(), "Start 😀\n\\/\"", {}, plan.lanes[1].id, PlanLocation{0.5, -0}};
    shot.steps = {ShotStepItem::make(ShotStep::tap("a.b", "Weiter", NormPoint{0.125, 1})),
                  ShotStepItem::make(ShotStep::tap("", "", std::nullopt)),
                  ShotStepItem::make(ShotStep::typeText("field", "\x01\x1f control")),
                  ShotStepItem::make(ShotStep::wait(1e-3)),
                  ShotStepItem::make(ShotStep::swipe("list", "", NormPoint{0, 0.999999}, SwipeDirection::Right))};
    plan.shots = {shot, Shot{Uuid::make(), "", {}, std::nullopt, std::nullopt}};
    return plan;
}

const QByteArray kId = "\"0E5B8A2C-1111-4A4A-8B8B-ABCDEFabcdef\"";
const QByteArray kOtherId = "\"0E5B8A2C-2222-4A4A-8B8B-ABCDEFabcdef\"";

} // namespace

class TestPlanReader final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsWhatQtReads_data();
    void readsWhatQtReads();
    void numbersAsQtReadsThem_data();
    void numbersAsQtReadsThem();
    void leavesDoubtfulInputToQt_data();
    void leavesDoubtfulInputToQt();
    void missingIdentifiersAreMade();
    void damagedFilesNeverMeanSomethingElse();
};

void TestPlanReader::readsWhatQtReads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray encoded = fullPlan().encode();
    QTest::newRow("written plan") << encoded;
    QTest::newRow("compact") << QJsonDocument::fromJson(encoded).toJson(QJsonDocument::Compact);
    QTest::newRow("empty object") << QByteArray(" \r\n\t{ } \n");
    QTest::newRow("nulls are missing keys") << QByteArray(
        R"({"languages":null,"lanes":null,"location":null,"flagSelections":null,"shots":[{"id":)" + kId
        + R"(,"name":null,"laneID":null,"location":{"latitude":null},"steps":[{"id":)" + kId
        + R"(,"step":null},{"id":)" + kOtherId + R"(,"step":{"swipe":{"direction":null,"at":null}}}]}]})");
    QTest::newRow("unknown keys, deep") << QByteArray(
        R"({"x":{"a":[1,-2.5e3,true,false,null,"s\u00e9",{"b":[]}]},"lanes":[],"shots":[{"id":)" + kId
        + R"(,"extra":[[[]]],"steps":[{"id":)" + kId + R"(,"step":{"note":1,"wait":{"seconds":3,"text":"x"}}}]}]})");
    QTest::newRow("escapes") << QByteArray(
        R"({"languages":["\"\\\/\b\f\n\r\t\u00e4\u20ac\u0041"],"launchArguments":["caf\u00e9 \u00fc"]})");
    QTest::newRow("fields of other kinds ignored") << QByteArray(
        R"({"shots":[{"id":)" + kId + R"(,"steps":[{"id":)" + kId
        + R"(,"step":{"typeText":{"label":5,"at":"x","selector":"s","text":"t"}}}]}]})");
    QTest::newRow("multibyte text") << QByteArray("{\"languages\":[\"\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80\"]}");
    // Inside a string, after an escape, a byte-order mark is text like any other.
    QTest::newRow("byte-order marks after escapes") << QByteArray(
        "{\"languages\":[\"a\\u0006\xef\xbb\xbf\xef\xbb\xbf" "b\"],\"flagSelections\":{\"-x\":\"\\n\xef\xbb\xbf\"}}");
}

void TestPlanReader::readsWhatQtReads()
{
    QFETCH(QByteArray, bytes);
    const auto direct = PlanReader::read(bytes);
    const auto qt = PlanThroughQt::throughQt(bytes);
    QVERIFY(qt);
    QVERIFY(direct);
    ScreenshotPlan expected = *qt;
    PlanThroughQt::adoptMadeIdentifiers(expected, *direct, bytes);
    QCOMPARE(*direct, expected);
    QCOMPARE(direct->encode(), expected.encode());
}

void TestPlanReader::numbersAsQtReadsThem_data()
{
    QTest::addColumn<QByteArray>("number");
    for (const char *number : {"0", "-0", "-0.0", "1", "-1", "1.5", "0.1", "1e2", "1E+2", "2.5e-3", "123456789012345678",
                               "9007199254740993", "12345678901234567890123", "1.7976931348623157e308",
                               "2.2250738585072014e-308", "0.30000000000000004", "1.0000000000000002"})
        QTest::newRow(number) << QByteArray(number);
}

void TestPlanReader::numbersAsQtReadsThem()
{
    QFETCH(QByteArray, number);
    const QByteArray bytes = R"({"shots":[{"id":)" + kId + R"(,"location":{"latitude":)" + number + R"(}}]})";
    const auto direct = PlanReader::read(bytes);
    const auto qt = PlanThroughQt::throughQt(bytes);
    QVERIFY(direct && qt);
    const double mine = direct->shots[0].location->latitude;
    const double theirs = qt->shots[0].location->latitude;
    QCOMPARE(mine, theirs);
    QCOMPARE(std::signbit(mine), std::signbit(theirs));
}

void TestPlanReader::leavesDoubtfulInputToQt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("top-level list") << QByteArray("[]");
    QTest::newRow("trailing text") << QByteArray("{} x");
    QTest::newRow("trailing comma") << QByteArray(R"({"languages":["de",]})");
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf{}");
    QTest::newRow("string opening with a byte-order mark") << QByteArray("{\"languages\":[\"\xef\xbb\xbf" "de\"]}");
    QTest::newRow("key twice") << QByteArray(R"({"languages":["de"],"languages":["fr"]})");
    QTest::newRow("flag twice") << QByteArray(R"({"flagSelections":{"-a":"1","-a":"2"}})");
    QTest::newRow("escaped key") << QByteArray(R"({"lan\u0067uages":["de"]})");
    QTest::newRow("two kinds") << QByteArray(R"({"shots":[{"steps":[{"step":{"tap":{},"wait":{}}}]}]})");
    QTest::newRow("no kind") << QByteArray(R"({"shots":[{"steps":[{"step":{}}]}]})");
    QTest::newRow("kind null") << QByteArray(R"({"shots":[{"steps":[{"step":{"tap":null}}]}]})");
    QTest::newRow("wrong type") << QByteArray(R"({"languages":"de"})");
    QTest::newRow("null in list") << QByteArray(R"({"languages":[null]})");
    QTest::newRow("flag value null") << QByteArray(R"({"flagSelections":{"-a":null}})");
    QTest::newRow("bad direction") << QByteArray(R"({"shots":[{"steps":[{"step":{"swipe":{"direction":"up "}}}]}]})");
    QTest::newRow("identifier in braces") << QByteArray(R"({"lanes":[{"id":"{0E5B8A2C-1111-4A4A-8B8B-ABCDEFABCDEF}"}]})");
    QTest::newRow("lone surrogate escape") << QByteArray(R"({"languages":["\ud800"]})");
    QTest::newRow("surrogate pair escape") << QByteArray(R"({"languages":["\ud83d\ude00"]})");
    QTest::newRow("nul escape") << QByteArray(R"({"languages":["a\u0000"]})");
    QTest::newRow("raw control character") << QByteArray("{\"languages\":[\"a\tb\"]}");
    QTest::newRow("invalid utf-8") << QByteArray("{\"languages\":[\"\xc3\x28\"]}");
    QTest::newRow("overlong utf-8") << QByteArray("{\"languages\":[\"\xc0\xaf\"]}");
    QTest::newRow("utf-8 surrogate") << QByteArray("{\"languages\":[\"\xed\xa0\x80\"]}");
    QTest::newRow("non-character") << QByteArray("{\"languages\":[\"\xef\xbf\xbf\"]}");
    QTest::newRow("number too large") << QByteArray(R"({"location":{"latitude":1e400}})");
    QTest::newRow("number too small") << QByteArray(R"({"location":{"latitude":1e-400}})");
    QTest::newRow("subnormal") << QByteArray(R"({"location":{"latitude":5e-324}})");
    QTest::newRow("leading zero") << QByteArray(R"({"location":{"latitude":01}})");
    QTest::newRow("plus sign") << QByteArray(R"({"location":{"latitude":+1}})");
    QTest::newRow("bare dot") << QByteArray(R"({"location":{"latitude":1.}})");
    QTest::newRow("too deep") << QByteArray("{\"x\":" + QByteArray(200, '[') + QByteArray(200, ']') + "}");
    QTest::newRow("literal run on") << QByteArray(R"({"location":nullx})");
}

void TestPlanReader::leavesDoubtfulInputToQt()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!PlanReader::read(bytes));
}

void TestPlanReader::missingIdentifiersAreMade()
{
    const auto plan = PlanReader::read(R"({"lanes":[{"name":"A"},{"id":null}],"shots":[{"steps":[{}]}],
                                          "launchVariables":[{"key":"K"}]})");
    QVERIFY(plan);
    QVERIFY(!plan->lanes[0].id.isNull() && !plan->lanes[1].id.isNull());
    QVERIFY(plan->lanes[0].id != plan->lanes[1].id);
    QVERIFY(!plan->shots[0].id.isNull());
    QVERIFY(!plan->shots[0].steps[0].id.isNull());
    QCOMPARE(plan->shots[0].steps[0].step, ShotStep());
    QVERIFY(!plan->launchVariables[0].id.isNull());
    // Without "lanes" the default lane stands, as in the default plan.
    const auto defaults = PlanReader::read("{}");
    QCOMPARE(defaults->lanes.size(), 1);
    QCOMPARE(defaults->lanes[0].name, QString("Screenshots"));
    QCOMPARE(defaults->languages, QStringList{"en"});
}

void TestPlanReader::damagedFilesNeverMeanSomethingElse()
{
    // Bytes changed at random: whatever the direct reader takes, Qt's reader reads the same.
    const QByteArray original = fullPlan().encode();
    QRandomGenerator random(14);
    static const char pieces[] = "{}[]\",:\\ \n0-.e9nulltruefalse\x80\xc3\xff";
    int taken = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = original;
        for (int edits = random.bounded(1, 4); edits > 0; --edits) {
            const int at = random.bounded(int(bytes.size()));
            const char piece = pieces[random.bounded(int(sizeof pieces - 1))];
            switch (random.bounded(3)) {
            case 0: bytes[at] = piece; break;
            case 1: bytes.insert(at, piece); break;
            default: bytes.remove(at, random.bounded(1, 8)); break;
            }
        }
        const auto direct = PlanReader::read(bytes);
        if (!direct)
            continue;
        ++taken;
        auto qt = PlanThroughQt::throughQt(bytes);
        QVERIFY2(qt, bytes.constData());
        PlanThroughQt::adoptMadeIdentifiers(*qt, *direct, bytes);
        QCOMPARE(direct->encode(), qt->encode());
    }
    QVERIFY(taken > 100); // most edits inside strings still read
}

QTEST_APPLESS_MAIN(TestPlanReader)
#include "tst_planreader.moc"
