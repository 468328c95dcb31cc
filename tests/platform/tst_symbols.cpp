#include <Symbols.h>

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTest>

namespace {

// The symbol table as written in the platform sources, so that every line added to it is
// checked here without a second list to keep in step.
QList<QPair<QString, QString>> symbolTable()
{
    QFile file(QStringLiteral(VELORANCE_SOURCE_DIR "/platform/Symbols.cpp"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString source = QString::fromUtf8(file.readAll());
    static const QRegularExpression entry(
        QStringLiteral(R"re(\{\s*QStringLiteral\("([^"]+)"\)\s*,\s*QStringLiteral\("([^"]+)"\)\s*\})re"));
    QList<QPair<QString, QString>> pairs;
    for (auto it = entry.globalMatch(source); it.hasNext();) {
        const auto match = it.next();
        pairs.append({match.captured(1), match.captured(2)});
    }
    return pairs;
}

constexpr int pixelSize = 32;

// A ligature the font knows is drawn as one glyph about one em wide; one it does not know
// falls apart into its letters.
bool drawsAsOneGlyph(const QString &ligature)
{
    return QFontMetricsF(Symbols::font(pixelSize)).horizontalAdvance(ligature) < 1.5 * pixelSize;
}

} // namespace

class TestSymbols final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void embeddedFontLoads();
    void everyTableEntryIsKnownAndDrawable_data();
    void everyTableEntryIsKnownAndDrawable();
    void unknownNameGivesFallback();
    void iconHasPixels();
};

void TestSymbols::embeddedFontLoads()
{
    const QFont font = Symbols::font(pixelSize);
    QCOMPARE(QFontInfo(font).family(), QString("Material Icons"));
    QCOMPARE(font.pixelSize(), pixelSize);
    QVERIFY(QFontMetricsF(font).horizontalAdvance("touch_app") < 3 * pixelSize);
}

void TestSymbols::everyTableEntryIsKnownAndDrawable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ligature");
    const auto table = symbolTable();
    QVERIFY2(table.size() > 20, "symbol table not found in the platform sources");
    for (const auto &[name, ligature] : table)
        QTest::newRow(qPrintable(name)) << name << ligature;
}

void TestSymbols::everyTableEntryIsKnownAndDrawable()
{
    QFETCH(QString, name);
    QFETCH(QString, ligature);
    QVERIFY(Symbols::isKnown(name));
    QCOMPARE(Symbols::ligature(name), ligature);
    QVERIFY2(drawsAsOneGlyph(ligature), qPrintable(ligature + " is not a ligature of the font"));
}

void TestSymbols::unknownNameGivesFallback()
{
    QVERIFY(!Symbols::isKnown("no.such.symbol"));
    QVERIFY(!Symbols::isKnown(""));
    QCOMPARE(Symbols::ligature("no.such.symbol"), Symbols::fallbackLigature());
    QVERIFY(drawsAsOneGlyph(Symbols::fallbackLigature()));
    // The probe itself tells a ligature from loose letters.
    QVERIFY(!drawsAsOneGlyph("no_such_glyph"));
}

void TestSymbols::iconHasPixels()
{
    const QImage image = Symbols::pixmap("hand.tap", Qt::white, pixelSize).toImage();
    QCOMPARE(image.size(), QSize(pixelSize, pixelSize));
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    QVERIFY(painted > pixelSize); // a drawn glyph, not an empty square
    QVERIFY(!Symbols::icon("hand.tap", Qt::white).isNull());
}

QTEST_MAIN(TestSymbols)
#include "tst_symbols.moc"
