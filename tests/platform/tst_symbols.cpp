#include <Symbols.h>

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
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

// The glyph a ligature draws, rendered as the symbols are.
QImage glyphImage(const QString &ligature)
{
    QPixmap pm(pixelSize, pixelSize);
    pm.fill(Qt::transparent);
    QPainter painter(&pm);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(Symbols::font(pixelSize));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 0, pixelSize, pixelSize), Qt::AlignCenter, ligature);
    painter.end();
    return pm.toImage();
}

// Where a drawing has ink: the smallest rectangle holding every pixel of at least half cover.
QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 128)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// The pixels deepest inside a drawing: fully covered, and so is everything around them as far
// out as any fully covered pixel's surroundings go.
QList<QPoint> deepestInside(const QImage &image)
{
    QList<QPoint> deepest;
    for (int depth = 0;; ++depth) {
        QList<QPoint> points;
        for (int y = depth; y < image.height() - depth; ++y) {
            for (int x = depth; x < image.width() - depth; ++x) {
                bool covered = true;
                for (int dy = -depth; dy <= depth && covered; ++dy)
                    for (int dx = -depth; dx <= depth && covered; ++dx)
                        covered = qAlpha(image.pixel(x + dx, y + dy)) == 255;
                if (covered)
                    points.append(QPoint(x, y));
            }
        }
        if (points.isEmpty())
            return deepest;
        deepest = points;
    }
}

} // namespace

class TestSymbols final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void embeddedFontLoads();
    void everyTableEntryIsKnownAndDrawable_data();
    void everyTableEntryIsKnownAndDrawable();
    void namesDrawWhatTheySay_data();
    void namesDrawWhatTheySay();
    void unfilledFormIsTheOutlineOfTheFilled_data();
    void unfilledFormIsTheOutlineOfTheFilled();
    void unknownNameGivesFallback();
    void iconHasPixels();
    void contactSheet();
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

void TestSymbols::namesDrawWhatTheySay_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("glyph");
    // The font's closest glyph where a name once drew something else.
    QTest::newRow("octagon with a cross") << "xmark.octagon.fill" << "dangerous";
    QTest::newRow("shield (the font has no lock in a shield)") << "lock.shield.fill" << "shield";
    QTest::newRow("a hammer alone") << "hammer.fill" << "hardware";
    QTest::newRow("three lines") << "line.3.horizontal" << "menu";
    QTest::newRow("tilted arrow, filled like the outline") << "location.fill" << "near_me";
    QTest::newRow("arrow in a filled circle") << "location.circle.fill" << "assistant_navigation";
    QTest::newRow("broken ring") << "circle.dashed" << "donut_large";
    QTest::newRow("a cube in three dimensions") << "scale.3d" << "view_in_ar";
}

void TestSymbols::namesDrawWhatTheySay()
{
    QFETCH(QString, name);
    QFETCH(QString, glyph);
    QVERIFY2(drawsAsOneGlyph(glyph), qPrintable(glyph + " is not a ligature of the font"));
    const QImage drawn = Symbols::pixmap(name, Qt::black, pixelSize).toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(drawn == glyphImage(glyph).convertToFormat(QImage::Format_ARGB32),
             qPrintable(name + " draws " + Symbols::ligature(name) + ", not " + glyph));
}

void TestSymbols::unfilledFormIsTheOutlineOfTheFilled_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("filled");
    QTest::addColumn<int>("size");
    QTest::addColumn<qreal>("ratio");
    for (const auto &[size, ratio] : {std::pair(16, 1.0), std::pair(16, 2.0), std::pair(24, 1.0)})
        QTest::addRow("location, %d px × %g", size, ratio) << "location" << "location.fill" << size << ratio;
}

// The same glyph in the same place, but with its inside empty.
void TestSymbols::unfilledFormIsTheOutlineOfTheFilled()
{
    QFETCH(QString, plain);
    QFETCH(QString, filled);
    QFETCH(int, size);
    QFETCH(qreal, ratio);
    const QImage outline = Symbols::pixmap(plain, Qt::black, size, ratio).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage solid = Symbols::pixmap(filled, Qt::black, size, ratio).toImage().convertToFormat(QImage::Format_ARGB32);
    const QRect outer = inkBounds(solid);
    const QRect drawn = inkBounds(outline);
    QVERIFY2(qAbs(drawn.left() - outer.left()) <= 1 && qAbs(drawn.right() - outer.right()) <= 1
                 && qAbs(drawn.top() - outer.top()) <= 1 && qAbs(drawn.bottom() - outer.bottom()) <= 1,
             "not where the filled glyph is");
    const QList<QPoint> middle = deepestInside(solid);
    QVERIFY(!middle.isEmpty());
    for (const QPoint &point : middle)
        QVERIFY2(qAlpha(outline.pixel(point)) < 64, qPrintable(plain + " is filled inside"));
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

// Writes every symbol of the table beside its name, for a look by eye; only when asked for.
void TestSymbols::contactSheet()
{
    const QString folder = qEnvironmentVariable("VELORANCE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set VELORANCE_SCREENSHOT_DIR to write screenshots");
    const auto table = symbolTable();
    constexpr int columns = 4;
    const QSize cell(330, 52);
    const int rows = int((table.size() + columns - 1) / columns);
    QImage sheet(cell.width() * columns, cell.height() * rows, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont text = QApplication::font();
    text.setPixelSize(13);
    for (qsizetype i = 0; i < table.size(); ++i) {
        const QPoint origin(int(i % columns) * cell.width(), int(i / columns) * cell.height());
        painter.drawPixmap(origin + QPoint(8, 8), Symbols::pixmap(table.at(i).first, Qt::black, 36));
        painter.setFont(text);
        painter.setPen(Qt::black);
        painter.drawText(QRect(origin + QPoint(52, 6), QSize(cell.width() - 56, 20)), Qt::AlignLeft, table.at(i).first);
        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(origin + QPoint(52, 26), QSize(cell.width() - 56, 20)), Qt::AlignLeft, table.at(i).second);
    }
    painter.end();
    QVERIFY(sheet.save(folder + QStringLiteral("/symbols.png")));
}

QTEST_MAIN(TestSymbols)
#include "tst_symbols.moc"
