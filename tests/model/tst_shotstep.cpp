#include <ShotStep.h>

#include <QJsonDocument>
#include <QTest>

class TestShotStep final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void summary_data();
    void summary();
    void jsonHasOneKeyNamingTheKind_data();
    void jsonHasOneKeyNamingTheKind();
    void stepRoundTrip_data();
    void stepRoundTrip();
    void badStepsFailToDecode_data();
    void badStepsFailToDecode();
    void itemWithoutIdGetsANewOne();
    void absentPointsAreEqual();
};

void TestShotStep::summary_data()
{
    QTest::addColumn<ShotStep>("step");
    QTest::addColumn<QString>("expected");

    const NormPoint point{0.256, 0.5};
    QTest::newRow("tap selector wins") << ShotStep::tap("login.button", "Anmelden", point) << "login.button";
    QTest::newRow("tap label") << ShotStep::tap("", "Anmelden", point) << "Anmelden";
    QTest::newRow("tap point") << ShotStep::tap("", "", point) << "Position 26%, 50%";
    QTest::newRow("tap point, exact half to even") << ShotStep::tap("", "", NormPoint{0.125, 0.875}) << "Position 12%, 88%";
    QTest::newRow("tap point, 0.845 is 84.5 after scaling") << ShotStep::tap("", "", NormPoint{0.845, 0.155}) << "Position 84%, 16%";
    QTest::newRow("tap point outside the window") << ShotStep::tap("", "", NormPoint{-0.5, 12}) << "Position -50%, 1200%";
    QTest::newRow("tap nothing") << ShotStep::tap("", "") << "—";
    QTest::newRow("swipe selector") << ShotStep::swipe("feed", "", std::nullopt, SwipeDirection::Left) << "feed";
    QTest::newRow("swipe point") << ShotStep::swipe("", "", NormPoint{1, 0}, SwipeDirection::Up) << "Position 100%, 0%";
    QTest::newRow("swipe nothing") << ShotStep::swipe("", "", std::nullopt, SwipeDirection::Down) << "—";
    QTest::newRow("type selector") << ShotStep::typeText("search.field", "Berlin") << "search.field";
    QTest::newRow("type no selector") << ShotStep::typeText("", "Berlin") << "Feld";
    QTest::newRow("wait one second") << ShotStep::wait(1.0) << "1.0 s";
    QTest::newRow("wait fraction") << ShotStep::wait(2.5) << "2.5 s";
    QTest::newRow("wait tenth") << ShotStep::wait(0.1) << "0.1 s";
    QTest::newRow("wait sum of tenths") << ShotStep::wait(0.1 + 0.2) << "0.30000000000000004 s";
    QTest::newRow("wait zero") << ShotStep::wait(0) << "0.0 s";
    QTest::newRow("wait large") << ShotStep::wait(120) << "120.0 s";
    QTest::newRow("wait tiny") << ShotStep::wait(0.00001) << "1e-05 s";
    QTest::newRow("wait smallest without exponent") << ShotStep::wait(0.0001) << "0.0001 s";
    QTest::newRow("wait large whole") << ShotStep::wait(1e16) << "10000000000000000.0 s";
    QTest::newRow("wait huge") << ShotStep::wait(1e17) << "1e+17 s";
    QTest::newRow("wait huge fraction") << ShotStep::wait(-1.5e300) << "-1.5e+300 s";
}

void TestShotStep::summary()
{
    QFETCH(ShotStep, step);
    QFETCH(QString, expected);
    QCOMPARE(step.summary(), expected);
}

void TestShotStep::jsonHasOneKeyNamingTheKind_data()
{
    QTest::addColumn<ShotStep>("step");
    QTest::addColumn<QByteArray>("json");

    QTest::newRow("tap with point") << ShotStep::tap("a", "b", NormPoint{0.25, 0.75})
                                    << QByteArray(R"({"tap":{"at":{"x":0.25,"y":0.75},"label":"b","selector":"a"}})");
    QTest::newRow("tap without point") << ShotStep::tap("a", "b") << QByteArray(R"({"tap":{"label":"b","selector":"a"}})");
    QTest::newRow("typeText") << ShotStep::typeText("f", "Hallo") << QByteArray(R"({"typeText":{"selector":"f","text":"Hallo"}})");
    QTest::newRow("wait") << ShotStep::wait(1.5) << QByteArray(R"({"wait":{"seconds":1.5}})");
    QTest::newRow("swipe") << ShotStep::swipe("", "Liste", std::nullopt, SwipeDirection::Right)
                           << QByteArray(R"({"swipe":{"direction":"right","label":"Liste","selector":""}})");
}

void TestShotStep::jsonHasOneKeyNamingTheKind()
{
    QFETCH(ShotStep, step);
    QFETCH(QByteArray, json);
    QCOMPARE(QJsonDocument(step.toJson()).toJson(QJsonDocument::Compact), json);
    QCOMPARE(ShotStep::fromJson(QJsonDocument::fromJson(json).object()), step);
}

void TestShotStep::stepRoundTrip_data()
{
    QTest::addColumn<ShotStep>("step");
    QTest::newRow("default") << ShotStep();
    for (const auto direction : {SwipeDirection::Up, SwipeDirection::Down, SwipeDirection::Left, SwipeDirection::Right}) {
        QTest::addRow("swipe %s", qPrintable(SwipeDirections::name(direction)))
            << ShotStep::swipe("s", "l", NormPoint{0.1, 0.9}, direction);
    }
    QTest::newRow("odd wait") << ShotStep::wait(0.1 + 0.2);
    QTest::newRow("unicode text") << ShotStep::typeText("„Feld“", "Grüße — 😀");
}

void TestShotStep::stepRoundTrip()
{
    QFETCH(ShotStep, step);
    const auto item = ShotStepItem::make(step);
    const QByteArray bytes = QJsonDocument(item.toJson()).toJson();
    QString error;
    const auto decoded = ShotStepItem::fromJson(QJsonDocument::fromJson(bytes).object(), &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(*decoded, item);
}

void TestShotStep::badStepsFailToDecode_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("no kind") << QByteArray(R"({"press":{"selector":"a"}})");
    QTest::newRow("two kinds") << QByteArray(R"({"tap":{},"wait":{"seconds":1}})");
    QTest::newRow("kind not an object") << QByteArray(R"({"wait":2})");
    QTest::newRow("seconds as text") << QByteArray(R"({"wait":{"seconds":"2"}})");
    QTest::newRow("selector as number") << QByteArray(R"({"tap":{"selector":5}})");
    QTest::newRow("point not an object") << QByteArray(R"({"tap":{"at":[0.1,0.2]}})");
    QTest::newRow("point coordinate as text") << QByteArray(R"({"swipe":{"at":{"x":"0.1","y":0.2}}})");
    QTest::newRow("unknown direction") << QByteArray(R"({"swipe":{"direction":"diagonal"}})");
}

void TestShotStep::badStepsFailToDecode()
{
    QFETCH(QByteArray, json);
    QString error;
    QVERIFY(!ShotStep::fromJson(QJsonDocument::fromJson(json).object(), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!ShotStep::fromJson(QJsonValue(42)));
}

void TestShotStep::itemWithoutIdGetsANewOne()
{
    const auto a = ShotStepItem::fromJson(QJsonDocument::fromJson(R"({"step":{"wait":{"seconds":3}}})").object());
    const auto b = ShotStepItem::fromJson(QJsonDocument::fromJson(R"({"step":{"wait":{"seconds":3}}})").object());
    QVERIFY(a && b);
    QVERIFY(!a->id.isNull());
    QVERIFY(a->id != b->id);
    QCOMPARE(a->step, ShotStep::wait(3));
}

void TestShotStep::absentPointsAreEqual()
{
    QCOMPARE(ShotStep::tap("a", "b"), ShotStep::tap("a", "b", std::nullopt));
    QVERIFY(ShotStep::tap("a", "b") != ShotStep::tap("a", "b", NormPoint{0, 0}));
    QVERIFY(ShotStep::tap("a", "") != ShotStep::swipe("a", "", std::nullopt, SwipeDirection::Up));
}

QTEST_APPLESS_MAIN(TestShotStep)
#include "tst_shotstep.moc"
