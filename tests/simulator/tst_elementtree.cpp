#include <ScreenElement.h>

#include <TimeBudget.h>

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

    void trailingFlagsAreStripped_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("label");

        QTest::newRow("one flag") << "  Button, 0x1, label: 'Hilfe', Selected" << "Hilfe";
        QTest::newRow("several flags") << "  Button, 0x1, label: 'Hilfe', Selected, Disabled, Focused" << "Hilfe";
        QTest::newRow("flag word inside the label") << "  Button, 0x1, label: 'Selected, Selected'" << "Selected, Selected";
        QTest::newRow("unknown flag stays") << "  Button, 0x1, label: 'Hilfe', Pressed" << "'Hilfe', Pressed";
        QTest::newRow("flag without blank stays") << "  Button, 0x1, label: 'Hilfe',Selected" << "'Hilfe',Selected";
    }
    void trailingFlagsAreStripped()
    {
        QFETCH(QString, line);
        QFETCH(QString, label);
        const auto elements = ScreenElementTree::parse(line);
        QCOMPARE(elements.size(), 1);
        QCOMPARE(elements.first().label, label);
    }

    // Dumps come from the app under test; a hostile line must cost linear time and must not
    // silently vanish (its element keeps the tree's depths right).
    void hostileLinesStayLinear_data()
    {
        QTest::addColumn<QString>("tail");
        QTest::addColumn<QString>("label");

        QString flags;
        for (int i = 0; i < 30000; ++i)
            flags += QStringLiteral(", Selected");
        QTest::newRow("20,000 trailing flags") << QStringLiteral("'Text'") + flags.left(200000) << QStringLiteral("Text");
        QTest::newRow("30,000 trailing flags") << QStringLiteral("'Text'") + flags.left(300000) << QStringLiteral("Text");
        QTest::newRow("20,000 flags inside the label") << QStringLiteral("'Text") + flags.left(200000) + u'\''
                                                       << QStringLiteral("Text") + flags.left(200000);
        const QString longLabel(300 * 1024, u'x');
        QTest::newRow("300 KB label") << u'\'' + longLabel + u'\'' << longLabel;
        // Beyond the cap the line is read up to it; the attribute cut there is dropped.
        QTest::newRow("line beyond the cap") << u'\'' + QString(ScreenElementTree::maxLineLength, u'y') + u'\''
                                             << QString();
    }
    void hostileLinesStayLinear()
    {
        QFETCH(QString, tail);
        QFETCH(QString, label);
        const QString text = QStringLiteral("Application, 0x0, pid: 1\n  Button, 0x1, {{1, 2}, {3, 4}}, identifier: 'id', label: ")
            + tail + QStringLiteral("\n    StaticText, 0x2, {{1, 2}, {1, 1}}, label: 'child'\n");
        QList<ScreenElement> elements;
        const double ms = TimeBudget::bestMs(QTest::currentDataTag(), [&] { elements = ScreenElementTree::parse(text); });
        QVERIFY2(ms < TimeBudget::scaled(50), qPrintable(QString::number(ms)));

        QCOMPARE(elements.size(), 3);
        const ScreenElement &button = elements.at(1);
        QCOMPARE(button.type, QStringLiteral("Button"));
        QCOMPARE(button.identifier, QStringLiteral("id"));
        QCOMPARE(button.frame, QRectF(1, 2, 3, 4));
        QCOMPARE(button.label.size(), label.size());
        QVERIFY(button.label == label);
        QCOMPARE(elements.at(2).depth, 2);
        QCOMPARE(elements.at(2).label, QStringLiteral("child"));
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
