#include <ScreenshotPlan.h>
#include <Uuid.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

namespace {

LaunchVariable variable(const QString &key, const QString &value)
{
    return LaunchVariable{Uuid::make(), key, value};
}

// A plan that sets every field and uses every step kind.
ScreenshotPlan fullPlan()
{
    ScreenshotPlan plan;
    plan.languages = {"de-DE", "en-US", "zh-Hans"};
    plan.lanes = {Lane{Uuid::make(), "Screenshots"}, Lane{Uuid::make(), "iPad – Dunkel"}};
    Shot first{Uuid::make(), "01 Start", {}, std::nullopt, std::nullopt};
    first.steps = {ShotStepItem::make(ShotStep::tap("tab.home", "Start", NormPoint{0.5, 0.91})),
                   ShotStepItem::make(ShotStep::tap("", "", std::nullopt)),
                   ShotStepItem::make(ShotStep::typeText("search", "Café „Süd“")),
                   ShotStepItem::make(ShotStep::wait(2.5)),
                   ShotStepItem::make(ShotStep::swipe("", "Karte", NormPoint{0.3, 0.7}, SwipeDirection::Left))};
    Shot second{Uuid::make(), "02 Karte", {ShotStepItem::make(ShotStep::wait(1))}, plan.lanes[1].id,
                PlanLocation{52.520008, 13.404954}};
    plan.shots = {first, second};
    plan.launchVariables = {variable(" API_URL\t", "https://example.org "), variable("", "leer")};
    plan.launchArguments = {"-isAdFreeActive true", "", "-demo"};
    plan.flagSelections = {{"-theme", "dark"}, {"-beta", "true"}};
    plan.location = PlanLocation{-33.8688, 151.2093};
    return plan;
}

QJsonObject parse(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

} // namespace

class TestScreenshotPlan final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsEveryField();
    void encodingIsSortedAndPretty();
    void encodingMatchesQtWriter_data();
    void encodingMatchesQtWriter();
    void textOpeningWithByteOrderMarkSurvivesSaving();
    void defaultPlan();
    void missingKeysDecodeToDefaults();
    void missingIdentifiersGetNewOnes();
    void repeatedIdentifiersAreReplaced();
    void unknownKeysAreIgnored();
    void wrongTypesAreErrors_data();
    void wrongTypesAreErrors();
    void invalidJsonIsAnError_data();
    void invalidJsonIsAnError();
    void shotBelongsToLane();
    void launchEnvironment_data();
    void launchEnvironment();
    void resolvedLaunchArguments_data();
    void resolvedLaunchArguments();
};

void TestScreenshotPlan::roundTripKeepsEveryField()
{
    const ScreenshotPlan plan = fullPlan();
    QString error;
    const auto decoded = ScreenshotPlan::decode(plan.encode(), &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(*decoded, plan);
    // A second pass writes the same bytes: nothing is lost or reordered.
    QCOMPARE(decoded->encode(), plan.encode());
}

void TestScreenshotPlan::encodingIsSortedAndPretty()
{
    const ScreenshotPlan plan = fullPlan();
    const QByteArray bytes = plan.encode();
    QVERIFY(bytes.contains("\n    \"flagSelections\": {"));
    // Top-level keys appear in sorted order, one indent deep.
    qsizetype previous = -1;
    for (const char *key : {"flagSelections", "lanes", "languages", "launchArguments", "launchVariables", "location", "shots"}) {
        const qsizetype at = bytes.indexOf(QByteArray("\n    \"") + key + "\": ");
        QVERIFY2(at > previous, key);
        previous = at;
    }

    // Identifiers are written upper-case and without braces.
    const QString laneId = parse(bytes).value("lanes").toArray().at(0).toObject().value("id").toString();
    QCOMPARE(laneId, Uuid::text(plan.lanes[0].id));
    QVERIFY(QRegularExpression("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$").match(laneId).hasMatch());

    // Absent optionals are left out.
    const QJsonObject firstShot = parse(bytes).value("shots").toArray().at(0).toObject();
    QVERIFY(!firstShot.contains("laneID"));
    QVERIFY(!firstShot.contains("location"));
    ScreenshotPlan withoutLocation = plan;
    withoutLocation.location.reset();
    QVERIFY(!parse(withoutLocation.encode()).contains("location"));
}

void TestScreenshotPlan::encodingMatchesQtWriter_data()
{
    QTest::addColumn<ScreenshotPlan>("plan");
    QTest::newRow("full") << fullPlan();
    QTest::newRow("default") << ScreenshotPlan::makeDefault();
    QTest::newRow("nothing") << ScreenshotPlan();

    QString everyControl;
    for (char16_t c = 0; c < 0x80; ++c)
        everyControl += QChar(c);
    ScreenshotPlan strings = ScreenshotPlan::makeDefault({everyControl, "ä„“—😀\u2028\uffff"});
    strings.lanes[0].name = QString("lone ") + QChar(0xD800) + "x" + QChar(0xDC00) + QChar(0xDBFF);
    strings.flagSelections = {{"-ä", "\"q\""}, {"-Z", "\t"}, {"-a", "\n"}};
    QTest::newRow("strings") << strings;

    ScreenshotPlan numbers = ScreenshotPlan::makeDefault();
    Shot shot{Uuid::make(), "Zahlen", {}, std::nullopt, PlanLocation{-0.0, 1e16}};
    for (double seconds : {3.0, 0.1 + 0.2, 1e-05, 1e300, 5e-324, 123456789012345680.0, 9007199254740992.0,
                           9007199254740994.0, -1e15, 1e15 + 0.5, 0.5})
        shot.steps.append(ShotStepItem::make(ShotStep::wait(seconds)));
    numbers.shots.append(shot);
    QTest::newRow("numbers") << numbers;
}

void TestScreenshotPlan::encodingMatchesQtWriter()
{
    QFETCH(ScreenshotPlan, plan);
    const QByteArray encoded = plan.encode();
    QCOMPARE(encoded, QJsonDocument(plan.toJson()).toJson(QJsonDocument::Indented));
    QCOMPARE(ScreenshotPlan::decode(encoded).value().toJson(), plan.toJson());
}

void TestScreenshotPlan::textOpeningWithByteOrderMarkSurvivesSaving()
{
    // Qt's writer leaves U+FEFF raw, and its reader drops it where it opens a string: a name
    // typed or pasted with the mark in front changed on every load.
    const QString mark(QChar(0xfeff));
    ScreenshotPlan plan = ScreenshotPlan::makeDefault({mark + "de", "en" + mark});
    plan.lanes[0].name = mark + mark + "Lane";
    plan.flagSelections = {{mark + "-a", mark}};
    plan.shots.append(Shot{Uuid::make(), mark, {ShotStepItem::make(ShotStep::typeText(mark + "f", mark + "t"))},
                           std::nullopt, std::nullopt});
    const QByteArray encoded = plan.encode();
    const auto decoded = ScreenshotPlan::decode(encoded);
    QVERIFY(decoded);
    QCOMPARE(*decoded, plan);
    QCOMPARE(decoded->encode(), encoded);
    // Only the opening mark is written as an escape; one inside the text stays as it is.
    QVERIFY(encoded.contains("\\ufeffde"));
    QVERIFY(encoded.contains("en\xef\xbb\xbf"));
}

void TestScreenshotPlan::defaultPlan()
{
    const ScreenshotPlan a = ScreenshotPlan::makeDefault();
    const ScreenshotPlan b = ScreenshotPlan::makeDefault();
    QCOMPARE(a.languages, QStringList{"en"});
    QCOMPARE(a.lanes.size(), 1);
    QCOMPARE(a.lanes[0].name, QString("Screenshots"));
    QVERIFY(a.shots.isEmpty() && a.launchVariables.isEmpty() && a.launchArguments.isEmpty());
    QVERIFY(a.flagSelections.isEmpty() && !a.location);
    QVERIFY(a != b);
    QCOMPARE(ScreenshotPlan::makeDefault({"de", "fr"}).languages, (QStringList{"de", "fr"}));
}

void TestScreenshotPlan::missingKeysDecodeToDefaults()
{
    QString error;
    const auto empty = ScreenshotPlan::decode("{}", &error);
    QVERIFY2(empty, qPrintable(error));
    QCOMPARE(empty->languages, QStringList{"en"});
    QCOMPARE(empty->lanes.size(), 1);
    QCOMPARE(empty->lanes[0].name, QString("Screenshots"));
    QVERIFY(empty->shots.isEmpty() && empty->flagSelections.isEmpty() && !empty->location);

    // Keys that are present win, even when empty; null counts as missing.
    const auto partial = ScreenshotPlan::decode(R"({"languages":["ja"],"lanes":[],"location":null})");
    QVERIFY(partial);
    QCOMPARE(partial->languages, QStringList{"ja"});
    QVERIFY(partial->lanes.isEmpty());
    QVERIFY(!partial->location);

    // Inside a shot and a step, missing fields take their defaults.
    const auto sparse = ScreenshotPlan::decode(R"({"shots":[{"name":"A","steps":[{"step":{"wait":{}}},{"step":{"tap":{}}}]}]})");
    QVERIFY(sparse);
    QCOMPARE(sparse->shots.size(), 1);
    QCOMPARE(sparse->shots[0].steps.size(), 2);
    QCOMPARE(sparse->shots[0].steps[0].step, ShotStep::wait(1.0));
    QCOMPARE(sparse->shots[0].steps[1].step, ShotStep::tap("", ""));
    QVERIFY(!sparse->shots[0].laneID);
}

void TestScreenshotPlan::missingIdentifiersGetNewOnes()
{
    const auto plan = ScreenshotPlan::decode(
        R"({"shots":[{"name":"A"},{"name":"B"}],"lanes":[{"name":"L"}],"launchVariables":[{"key":"K","value":"V"}]})");
    QVERIFY(plan);
    QVERIFY(!plan->shots[0].id.isNull());
    QVERIFY(plan->shots[0].id != plan->shots[1].id);
    QVERIFY(!plan->lanes[0].id.isNull());
    QVERIFY(!plan->launchVariables[0].id.isNull());
    QCOMPARE(plan->launchVariables[0].key, QString("K"));
}

void TestScreenshotPlan::repeatedIdentifiersAreReplaced()
{
    const QString id = "E621E1F8-C36C-495A-93FC-0C247A3E6E5F";
    const QString step = QString(R"({"id":"%1","step":{"wait":{"seconds":1}}})").arg(id);
    const QByteArray json = QString(R"({"shots":[{"id":"%1","steps":[%2,%2,%2]},{"id":"%1"}],"lanes":[{"id":"%1"},{"id":"%1"}]})")
                                .arg(id, step)
                                .toUtf8();
    const auto plan = ScreenshotPlan::decode(json);
    QVERIFY(plan);
    const auto steps = plan->shots[0].steps;
    QCOMPARE(steps[0].id.toString(QUuid::WithoutBraces).toUpper(), id);
    QVERIFY(steps[1].id != steps[0].id && steps[2].id != steps[0].id && steps[1].id != steps[2].id);
    QCOMPARE(plan->shots[0].id, steps[0].id);
    QVERIFY(plan->shots[1].id != plan->shots[0].id);
    QVERIFY(plan->lanes[1].id != plan->lanes[0].id);
}

void TestScreenshotPlan::unknownKeysAreIgnored()
{
    const ScreenshotPlan plan = fullPlan();
    QJsonObject json = plan.toJson();
    json.insert("schemaVersion", 3);
    QJsonArray shots = json.value("shots").toArray();
    QJsonObject shot = shots.at(0).toObject();
    shot.insert("thumbnail", "x.png");
    QJsonArray steps = shot.value("steps").toArray();
    QJsonObject item = steps.at(0).toObject();
    item.insert("note", "von Hand");
    QJsonObject step = item.value("step").toObject();
    QJsonObject tap = step.value("tap").toObject();
    tap.insert("duration", 0.2);
    step.insert("tap", tap);
    item.insert("step", step);
    steps.replace(0, item);
    shot.insert("steps", steps);
    shots.replace(0, shot);
    json.insert("shots", shots);

    QString error;
    const auto decoded = ScreenshotPlan::fromJson(json, &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(*decoded, plan);
}

void TestScreenshotPlan::wrongTypesAreErrors_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("languages not a list") << QByteArray(R"({"languages":"de"})");
    QTest::newRow("language not a string") << QByteArray(R"({"languages":["de",7]})");
    QTest::newRow("shots an object") << QByteArray(R"({"shots":{}})");
    QTest::newRow("shot a string") << QByteArray(R"({"shots":["A"]})");
    QTest::newRow("shot name a number") << QByteArray(R"({"shots":[{"name":1}]})");
    QTest::newRow("steps a string") << QByteArray(R"({"shots":[{"steps":"tap"}]})");
    QTest::newRow("step of no kind") << QByteArray(R"({"shots":[{"steps":[{"step":{"jump":{}}}]}]})");
    QTest::newRow("wait seconds as text") << QByteArray(R"({"shots":[{"steps":[{"step":{"wait":{"seconds":"1"}}}]}]})");
    QTest::newRow("laneID not a UUID") << QByteArray(R"({"shots":[{"laneID":"lane-1"}]})");
    QTest::newRow("lane id a number") << QByteArray(R"({"lanes":[{"id":5,"name":"L"}]})");
    QTest::newRow("variable value a bool") << QByteArray(R"({"launchVariables":[{"key":"K","value":true}]})");
    QTest::newRow("arguments a string") << QByteArray(R"({"launchArguments":"-demo"})");
    QTest::newRow("selection value a number") << QByteArray(R"({"flagSelections":{"-level":3}})");
    QTest::newRow("selections a list") << QByteArray(R"({"flagSelections":["-beta"]})");
    QTest::newRow("location a list") << QByteArray(R"({"location":[52.5,13.4]})");
    QTest::newRow("latitude as text") << QByteArray(R"({"location":{"latitude":"52.5","longitude":13.4}})");
    QTest::newRow("shot location a string") << QByteArray(R"({"shots":[{"location":"Berlin"}]})");
}

void TestScreenshotPlan::wrongTypesAreErrors()
{
    QFETCH(QByteArray, json);
    QString error;
    QVERIFY(!ScreenshotPlan::decode(json, &error));
    QVERIFY(!error.isEmpty());
}

void TestScreenshotPlan::invalidJsonIsAnError_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << fullPlan().encode().left(200);
    QTest::newRow("not json") << QByteArray("languages: [de]");
    QTest::newRow("top-level list") << QByteArray("[]");
    QTest::newRow("top-level number") << QByteArray("42");
    QTest::newRow("binary") << QByteArray("\xff\xfe\x00{", 4);
}

void TestScreenshotPlan::invalidJsonIsAnError()
{
    QFETCH(QByteArray, bytes);
    QString error;
    QVERIFY(!ScreenshotPlan::decode(bytes, &error));
    QVERIFY(!error.isEmpty());
}

void TestScreenshotPlan::shotBelongsToLane()
{
    ScreenshotPlan plan = ScreenshotPlan::makeDefault();
    const Lane second{Uuid::make(), "Zweite"};
    plan.lanes.append(second);
    const QUuid first = plan.lanes[0].id;

    Shot unassigned{Uuid::make(), "A", {}, std::nullopt, std::nullopt};
    Shot assigned{Uuid::make(), "B", {}, second.id, std::nullopt};
    Shot orphan{Uuid::make(), "C", {}, Uuid::make(), std::nullopt};

    QVERIFY(plan.shotBelongsToLane(unassigned, first));
    QVERIFY(!plan.shotBelongsToLane(unassigned, second.id));
    QVERIFY(plan.shotBelongsToLane(assigned, second.id));
    QVERIFY(!plan.shotBelongsToLane(assigned, first));
    QVERIFY(!plan.shotBelongsToLane(orphan, first));
    QVERIFY(!plan.shotBelongsToLane(orphan, second.id));

    plan.lanes.clear();
    QVERIFY(!plan.shotBelongsToLane(unassigned, first));
    QVERIFY(plan.shotBelongsToLane(assigned, second.id));
}

void TestScreenshotPlan::launchEnvironment_data()
{
    using Pairs = QList<QPair<QString, QString>>;
    using Env = QMap<QString, QString>;
    QTest::addColumn<Pairs>("variables");
    QTest::addColumn<Env>("expected");

    QTest::newRow("key trimmed, value kept") << Pairs{{" API_URL\t", " https://example.org "}}
                                             << Env{{"API_URL", " https://example.org "}};
    QTest::newRow("empty and blank keys skipped") << Pairs{{"", "a"}, {" \t ", "b"}, {"K", ""}} << Env{{"K", ""}};
    QTest::newRow("later same trimmed key wins") << Pairs{{"MODE", "light"}, {" MODE ", "dark"}} << Env{{"MODE", "dark"}};
    QTest::newRow("unicode space trimmed") << Pairs{{"\u00a0KEY\u2003", "v"}} << Env{{"KEY", "v"}};
    QTest::newRow("line break not trimmed") << Pairs{{"KEY\n", "v"}} << Env{{"KEY\n", "v"}};
    QTest::newRow("inner space kept") << Pairs{{"MY KEY", "v"}} << Env{{"MY KEY", "v"}};
}

void TestScreenshotPlan::launchEnvironment()
{
    using Pairs = QList<QPair<QString, QString>>;
    using Env = QMap<QString, QString>;
    QFETCH(Pairs, variables);
    QFETCH(Env, expected);
    ScreenshotPlan plan;
    for (const auto &[key, value] : variables)
        plan.launchVariables.append(variable(key, value));
    QCOMPARE(plan.launchEnvironment(), expected);
}

void TestScreenshotPlan::resolvedLaunchArguments_data()
{
    using Selections = QMap<QString, QString>;
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Selections>("selections");
    QTest::addColumn<QStringList>("expected");

    // Lines first, split at white space; then the flags sorted by key.
    QTest::newRow("lines and flags") << QStringList{"-isAdFreeActive true", "", "-demo"}
                                     << Selections{{"-theme", "dark"}, {"-beta", "true"}}
                                     << QStringList{"-isAdFreeActive", "true", "-demo", "-beta", "true", "-theme", "dark"};
    QTest::newRow("bool flag off still passed") << QStringList{} << Selections{{"-sound", "false"}}
                                                << QStringList{"-sound", "false"};
    QTest::newRow("flag values trimmed, empty skipped") << QStringList{}
                                                       << Selections{{"-a", " \t "}, {"-b", "\tx y "}, {"-c", ""}}
                                                       << QStringList{"-b", "x y"};
    QTest::newRow("every white space splits") << QStringList{"  -a\t1\n-b \u00a0 2\r\n", "\n"} << Selections{}
                                              << QStringList{"-a", "1", "-b", "2"};
    QTest::newRow("no quoting") << QStringList{R"(-title "Hello World")"} << Selections{}
                                << QStringList{"-title", "\"Hello", "World\""};
}

void TestScreenshotPlan::resolvedLaunchArguments()
{
    using Selections = QMap<QString, QString>;
    QFETCH(QStringList, lines);
    QFETCH(Selections, selections);
    QFETCH(QStringList, expected);
    ScreenshotPlan plan;
    plan.launchArguments = lines;
    plan.flagSelections = selections;
    QCOMPARE(plan.resolvedLaunchArguments(), expected);
}

QTEST_APPLESS_MAIN(TestScreenshotPlan)
#include "tst_screenshotplan.moc"
