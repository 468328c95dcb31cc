#include <AppVersion.h>
#include <BundleInfo.h>
#include <CardSurface.h>
#include <NorCard.h>
#include <SettingsTheme.h>

#include <QGraphicsEffect>
#include <QImage>
#include <QPainter>
#include <QVBoxLayout>
#include <QtTest>

class TestSettingsTheme final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsAreTheKitDefaults();
    void defaultThemeIsBuiltOnce();
    void nearestInstalledThemeWins();
    void watchersFollowInstallAndReparenting();
    void scaledFonts_data();
    void scaledFonts();
    void scaledFontKeepsBaseAtOne();
    void appVersion_data();
    void appVersion();
    void continuousRectStaysInsideAndClampsToCapsule();
    void surfacesUseTheirOpacities();
    void themedCardFollowsTheRadiusButFixedDoesNot();
};

void TestSettingsTheme::defaultsAreTheKitDefaults()
{
    const SettingsTheme &t = SettingsTheme::defaultTheme();
    QCOMPARE(t.accent, QColor(0x0A, 0x84, 0xFF));
    QCOMPARE(t.textPrimary, QColor(Qt::white));
    QVERIFY(qAbs(t.textSecondary.alphaF() - 0.7) < 0.001);
    QVERIFY(qAbs(t.textTertiary.alphaF() - 0.5) < 0.001);
    QCOMPARE(t.cardCornerRadius, 16.0);
    QCOMPARE(t.metricScale, 1.0);
    QCOMPARE(t.glassTint.alpha(), 0);
    QCOMPARE(t.pressGlow, 0.16);
    QCOMPARE(t.pressFade, 0.28);
    QCOMPARE(t.legacySurface, LegacyCardSurface::Material);
    QVERIFY(t.hapticTap);
    t.hapticTap(); // does nothing, must not throw
}

void TestSettingsTheme::defaultThemeIsBuiltOnce()
{
    QCOMPARE(&SettingsTheme::defaultTheme(), &SettingsTheme::defaultTheme());
    QWidget orphan;
    QCOMPARE(SettingsTheme::of(&orphan).cardCornerRadius, 16.0);
    QCOMPARE(SettingsTheme::of(nullptr).metricScale, 1.0);
}

void TestSettingsTheme::nearestInstalledThemeWins()
{
    QWidget root;
    auto *middle = new QWidget(&root);
    auto *leaf = new QWidget(middle);
    SettingsTheme outer;
    outer.accent = Qt::red;
    SettingsTheme inner;
    inner.accent = Qt::green;
    SettingsTheme::install(&root, outer);
    QCOMPARE(SettingsTheme::of(leaf).accent, QColor(Qt::red));
    SettingsTheme::install(middle, inner);
    QCOMPARE(SettingsTheme::of(leaf).accent, QColor(Qt::green));
    QCOMPARE(SettingsTheme::of(&root).accent, QColor(Qt::red));
    SettingsTheme::uninstall(middle);
    QCOMPARE(SettingsTheme::of(leaf).accent, QColor(Qt::red));
}

void TestSettingsTheme::watchersFollowInstallAndReparenting()
{
    QWidget themed;
    SettingsTheme theme;
    theme.accent = Qt::yellow;
    SettingsTheme::install(&themed, theme);

    auto *widget = new QWidget;
    auto *child = new QWidget(widget);
    QColor seen;
    int calls = 0;
    SettingsTheme::watch(child, [&] {
        ++calls;
        seen = SettingsTheme::of(child).accent;
    });
    QCOMPARE(calls, 1);
    QCOMPARE(seen, SettingsTheme::defaultTheme().accent);

    // A subtree moved under the themed widget reads its theme, at the latest when polished.
    widget->setParent(&themed);
    themed.ensurePolished();
    QCOMPARE(seen, QColor(Qt::yellow));
    child->setParent(nullptr);
    QCOMPARE(seen, SettingsTheme::defaultTheme().accent);
    child->setParent(widget);
    QCOMPARE(seen, QColor(Qt::yellow));

    theme.accent = Qt::cyan;
    const int before = calls;
    SettingsTheme::install(&themed, theme);
    QCOMPARE(calls, before + 1);
    QCOMPARE(seen, QColor(Qt::cyan));
}

void TestSettingsTheme::scaledFonts_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("platform");
    QTest::addColumn<qreal>("size");

    QTest::newRow("1.0 body is the platform style") << 1.0 << int(KitTextStyle::Body) << true
                                                    << qreal(TextStyles::pixelSize(TextStyle::Body));
    QTest::newRow("1.0 caption is the platform style") << 1.0 << int(KitTextStyle::Caption) << true
                                                       << qreal(TextStyles::pixelSize(TextStyle::Caption));
    QTest::newRow("1.2 body") << 1.2 << int(KitTextStyle::Body) << false << 20.4;
    QTest::newRow("1.2 caption") << 1.2 << int(KitTextStyle::Caption) << false << 14.4;
    QTest::newRow("1.2 headline") << 1.2 << int(KitTextStyle::Headline) << false << 20.4;
    QTest::newRow("1.25 footnote") << 1.25 << int(KitTextStyle::Footnote) << false << 16.25;
    QTest::newRow("0.5 body") << 0.5 << int(KitTextStyle::Body) << false << 8.5;
}

void TestSettingsTheme::scaledFonts()
{
    QFETCH(qreal, scale);
    QFETCH(int, style);
    QFETCH(bool, platform);
    QFETCH(qreal, size);

    SettingsTheme theme;
    theme.metricScale = scale;
    const KitFontSpec spec = theme.fontSpec(KitTextStyle(style), QFont::Medium, FontDesign::Monospaced);
    QCOMPARE(spec.platformStyle, platform);
    QCOMPARE(spec.pixelSize, size);
    QCOMPARE(spec.weight, QFont::Medium);

    const QFont font = theme.font(KitTextStyle(style), QFont::Medium, FontDesign::Monospaced);
    QCOMPARE(font.pixelSize(), qRound(size));
    QCOMPARE(font.weight(), QFont::Medium);
    QCOMPARE(font.family(), TextStyles::monospacedFamily());
}

void TestSettingsTheme::scaledFontKeepsBaseAtOne()
{
    SettingsTheme theme;
    QFont base(QStringLiteral("Serif"));
    base.setPixelSize(9);
    QCOMPARE(theme.scaledFont(base, 17, QFont::Bold), base);
    theme.metricScale = 2.0;
    const QFont scaled = theme.scaledFont(base, 17, QFont::Bold);
    QCOMPARE(scaled.pixelSize(), 34);
    QCOMPARE(scaled.weight(), QFont::Bold);
    QCOMPARE(theme.scaled(12), 24.0);
}

void TestSettingsTheme::appVersion_data()
{
    QTest::addColumn<std::optional<QString>>("shortVersion");
    QTest::addColumn<std::optional<QString>>("build");
    QTest::addColumn<QString>("display");

    QTest::newRow("both") << std::optional<QString>(QStringLiteral("2.3")) << std::optional<QString>(QStringLiteral("41"))
                          << QStringLiteral("2.3 (41)");
    QTest::newRow("no build") << std::optional<QString>(QStringLiteral("2.3")) << std::optional<QString>()
                              << QStringLiteral("2.3 (1)");
    QTest::newRow("neither") << std::optional<QString>() << std::optional<QString>() << QStringLiteral("1.0 (1)");
}

void TestSettingsTheme::appVersion()
{
    QFETCH(std::optional<QString>, shortVersion);
    QFETCH(std::optional<QString>, build);
    QFETCH(QString, display);

    const BundleInfo saved = BundleInfo::main();
    BundleInfo info;
    info.shortVersion = shortVersion;
    info.version = build;
    BundleInfo::setMain(info);
    QCOMPARE(AppVersion::display(), display);
    // Read anew every time: nothing is cached.
    info.version = QStringLiteral("99");
    BundleInfo::setMain(info);
    QVERIFY(AppVersion::display().endsWith(QStringLiteral("(99)")));
    BundleInfo::setMain(saved);
}

void TestSettingsTheme::continuousRectStaysInsideAndClampsToCapsule()
{
    const QRectF rect(10, 10, 300, 56);
    const QPainterPath card = CardSurface::continuousRect(rect, 16);
    QVERIFY(rect.adjusted(-0.01, -0.01, 0.01, 0.01).contains(card.boundingRect()));
    QVERIFY(!card.contains(QPointF(10.5, 10.5)));  // corner cut away
    QVERIFY(card.contains(rect.center()));
    // A radius of 50 on a 56 high bar is a capsule: the ends are half circles of 28.
    const QPainterPath capsule = CardSurface::continuousRect(rect, 50);
    QVERIFY(capsule.contains(QPointF(10 + 28, 10 + 1)));
    QVERIFY(!capsule.contains(QPointF(10 + 3, 10 + 3)));
    QVERIFY(CardSurface::continuousRect(QRectF(), 10).isEmpty());
}

void TestSettingsTheme::surfacesUseTheirOpacities()
{
    SettingsTheme theme;
    theme.accent = QColor(200, 100, 50);
    QCOMPARE(CardSurface::rimTopColor(theme).rgb(), QColor(200, 100, 50).rgb());
    QVERIFY(qAbs(CardSurface::rimTopColor(theme).alphaF() - 0.35) < 0.001);
    QVERIFY(qAbs(CardSurface::rimBottomColor().alphaF() - 0.06) < 0.001);
    QVERIFY(qAbs(CardSurface::shadowColor().alphaF() - 0.12) < 0.001);

    for (const bool emphasized : {true, false}) {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        {
            QPainter painter(&image);
            CardSurface::paintHighlight(painter, QRectF(0, 0, 40, 40), 8, emphasized);
        }
        const int expected = qRound((emphasized ? 0.14 : 0.08) * 255);
        QVERIFY(qAbs(qRed(image.pixel(20, 20)) - expected) <= 1);
        QCOMPARE(qRed(image.pixel(0, 0)), 0); // rounded corner left unpainted
    }
}

void TestSettingsTheme::themedCardFollowsTheRadiusButFixedDoesNot()
{
    QWidget root;
    auto *layout = new QVBoxLayout(&root);
    auto *themed = new NorCard;
    auto *fixed = new NorCard(20);
    layout->addWidget(themed);
    layout->addWidget(fixed);
    QCOMPARE(themed->cornerRadius(), 16.0);
    SettingsTheme theme;
    theme.cardCornerRadius = 24;
    SettingsTheme::install(&root, theme);
    QCOMPARE(themed->cornerRadius(), 24.0);
    QCOMPARE(fixed->cornerRadius(), 20.0);
    QVERIFY(themed->graphicsEffect());
    QVERIFY(themed->graphicsEffect()->boundingRectFor(QRectF(0, 0, 100, 50)).bottom() > 50 + CardSurface::shadowOffsetY);
}

QTEST_MAIN(TestSettingsTheme)
#include "tst_settingstheme.moc"
