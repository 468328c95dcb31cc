#include <ScreenElement.h>

#include <QFile>
#include <QtTest>

namespace {
QString fixture(const QString &name)
{
    QFile file(QStringLiteral(VELORANCE_TEST_DATA_DIR "/driver/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

class ElementTreeTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesSubtreeAndStopsBeforePathSection()
    {
        const QList<ScreenElement> elements = ScreenElementTree::parse(fixture(QStringLiteral("login-screen.txt")));
        QStringList types;
        QList<int> depths;
        for (const ScreenElement &element : elements) {
            types << element.type;
            depths << element.depth;
        }
        QCOMPARE(types, (QStringList{"Application", "Window", "Other", "Other", "Button", "TextField", "StaticText",
                                     "Button", "Table", "Cell", "StaticText"}));
        QCOMPARE(depths, (QList<int>{0, 1, 2, 3, 4, 4, 3, 3, 3, 4, 5}));
    }

    void readsAttributes()
    {
        const QList<ScreenElement> elements = ScreenElementTree::parse(fixture(QStringLiteral("login-screen.txt")));
        QCOMPARE(elements.size(), 11);

        const ScreenElement &button = elements.at(4);
        QCOMPARE(button.identifier, QStringLiteral("loginButton"));
        QCOMPARE(button.label, QStringLiteral("Anmelden, bitte"));
        QCOMPARE(button.frame, QRectF(20, 100, 350, 50));

        QCOMPARE(elements.at(5).value, QStringLiteral("anna@example.com"));
        QCOMPARE(elements.at(6).label, QStringLiteral("It's a 'quoted' text"));
        QVERIFY(elements.at(6).identifier.isEmpty());
        QCOMPARE(elements.at(7).label, QStringLiteral("Hilfe"));
        QVERIFY(elements.at(0).frame.isEmpty());
        QCOMPARE(ScreenElementTree::screenRect(elements), std::optional<QRectF>(QRectF(0, 0, 390, 844)));
    }

    void toleratesNoise()
    {
        QVERIFY(ScreenElementTree::parse(QString()).isEmpty());
        QVERIFY(ScreenElementTree::parse(QStringLiteral("** TEST FAILED **\n\n{{1, 2}, {3, 4}}\n")).isEmpty());
        const auto elements = ScreenElementTree::parse(
            QStringLiteral("  Button, 0x1, {{1.5, 2}, {3e1, 4.0}}, identifier: ''\r\n  Button, 0x2, {{inf, 0}, {1, 1}}\n"));
        QCOMPARE(elements.size(), 2);
        QCOMPARE(elements.at(0).frame, QRectF(1.5, 2, 30, 4));
        QVERIFY(elements.at(1).frame.isEmpty());
        QVERIFY(!ScreenElementTree::screenRect({}).has_value());
    }

    void findsElementUnderPoint_data()
    {
        QTest::addColumn<QString>("tree");
        QTest::addColumn<double>("nx");
        QTest::addColumn<double>("ny");
        QTest::addColumn<QString>("identifier");   // empty: no match

        const QString login = QStringLiteral("login-screen.txt");
        // Points are given in screen points of the 390 × 844 dump.
        QTest::newRow("button inside identified card") << login << 200 / 390.0 << 120 / 844.0 << "loginButton";
        QTest::newRow("button edge counts") << login << 20 / 390.0 << 150 / 844.0 << "loginButton";
        QTest::newRow("text field") << login << 100 / 390.0 << 190 / 844.0 << "email";
        QTest::newRow("text inside identified cell") << login << 50 / 390.0 << 620 / 844.0 << "row-1";
        QTest::newRow("card outside its button is a container") << login << 200 / 390.0 << 250 / 844.0 << "";
        QTest::newRow("label under identified root view") << login << 100 / 390.0 << 410 / 844.0 << "";
        QTest::newRow("button without identifier") << login << 50 / 390.0 << 520 / 844.0 << "";
        QTest::newRow("outside the screen") << login << 1.5 << 0.5 << "";
        QTest::newRow("nothing identified") << QStringLiteral("no-identifiers.txt") << 0.5 << 0.15 << "";
    }

    void findsElementUnderPoint()
    {
        QFETCH(QString, tree);
        QFETCH(double, nx);
        QFETCH(double, ny);
        QFETCH(QString, identifier);
        const auto match = ScreenElementTree::identifiedElementAt(ScreenElementTree::parse(fixture(tree)), nx, ny);
        QCOMPARE(match ? match->identifier : QString(), identifier);
    }
};

QTEST_GUILESS_MAIN(ElementTreeTest)
#include "tst_elementtree.moc"
