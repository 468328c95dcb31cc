#include <AccordionMetrics.h>
#include <SettingsAccordionCard.h>
#include <SettingsCardStyle.h>
#include <SettingsTheme.h>
#include <Spring.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

enum class Pane { A, B, C };

// A selection owned by a test, as a screen would own it.
struct Selection
{
    std::optional<Pane> value;
    int writes = 0;

    Binding<std::optional<Pane>> binding()
    {
        return {[this] { return value; },
                [this](const std::optional<Pane> &v) {
                    ++writes;
                    value = v;
                }};
    }
};

} // namespace

class TestAccordionCard final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Motion::setAnimationsEnabled(false); }
    void bindingWithTwoCards();
    void bindingWithThreeCards();
    void falseWriteLeavesAnotherSelectionAlone();
    void glassLayoutChoice_data();
    void glassLayoutChoice();
    void contentIsBuiltOnlyWhileOpen();
    void hapticRunsOncePerTapBeforeTheFlip();
    void ownStateStartsCollapsed();
    void externalBindingDecidesTheInitialState();
    void cardWithoutIconHasNoIconFrame();
    void collapsedBodyTakesNoInput();
    void metricsScale_data();
    void metricsScale();
    void openAndCollapsedMetrics();
    void springsOfTheTwoLayouts();
    void contentItemsAreStackedAndPadded();
    void animatedTogglesSettle();
    void unanimatedSyncStandsAtOnce();
};

void TestAccordionCard::bindingWithTwoCards()
{
    Selection selection;
    const Binding<bool> a = SettingsAccordionCard::binding(selection.binding(), Pane::A);
    const Binding<bool> b = SettingsAccordionCard::binding(selection.binding(), Pane::B);
    QVERIFY(!a.get() && !b.get()); // none selected

    a.set(true);
    QVERIFY(a.get() && !b.get());
    b.set(true); // opening the second closes the first
    QVERIFY(!a.get() && b.get());
    b.set(false); // closing the open one leaves none
    QCOMPARE(selection.value, std::nullopt);
    QVERIFY(!a.get() && !b.get());
}

void TestAccordionCard::bindingWithThreeCards()
{
    Selection selection;
    selection.value = Pane::A;
    QList<SettingsAccordionCard *> cards;
    QWidget host;
    for (Pane pane : {Pane::A, Pane::B, Pane::C}) {
        auto *card = new SettingsAccordionCard(QStringLiteral("Karte"), std::nullopt, SettingsCardStyle::Auto,
                                               SettingsAccordionCard::binding(selection.binding(), pane),
                                               SettingsAccordionCard::SingleContentBuilder([] { return new QLabel; }),
                                               &host);
        cards.append(card);
    }
    auto syncAll = [&] {
        for (SettingsAccordionCard *card : cards)
            card->syncFromBinding();
    };
    QVERIFY(cards[0]->isExpanded() && !cards[1]->isExpanded() && !cards[2]->isExpanded());

    cards[2]->header()->click();
    syncAll();
    QCOMPARE(selection.value, std::optional(Pane::C));
    QVERIFY(!cards[0]->isExpanded() && !cards[1]->isExpanded() && cards[2]->isExpanded());
    QVERIFY(!cards[0]->content());

    cards[2]->header()->click();
    syncAll();
    QCOMPARE(selection.value, std::nullopt);
    for (SettingsAccordionCard *card : cards)
        QVERIFY(!card->isExpanded());
}

void TestAccordionCard::falseWriteLeavesAnotherSelectionAlone()
{
    Selection selection;
    selection.value = Pane::B;
    const Binding<bool> a = SettingsAccordionCard::binding(selection.binding(), Pane::A);
    a.set(false);
    QCOMPARE(selection.value, std::optional(Pane::B));
    QCOMPARE(selection.writes, 0);
    selection.value.reset();
    a.set(false);
    QCOMPARE(selection.writes, 0);
}

void TestAccordionCard::glassLayoutChoice_data()
{
    QTest::addColumn<SettingsCardStyle>("style");
    QTest::addColumn<bool>("osSupportsGlass");
    QTest::addColumn<bool>("glass");
    QTest::newRow("legacy on a glass system") << SettingsCardStyle::Legacy << true << false;
    QTest::newRow("glass on an older system") << SettingsCardStyle::Glass << false << false;
    QTest::newRow("auto on an older system") << SettingsCardStyle::Auto << false << false;
    QTest::newRow("auto on a glass system") << SettingsCardStyle::Auto << true << true;
    QTest::newRow("glass on a glass system") << SettingsCardStyle::Glass << true << true;
    QTest::newRow("legacy on an older system") << SettingsCardStyle::Legacy << false << false;
}

void TestAccordionCard::glassLayoutChoice()
{
    QFETCH(SettingsCardStyle, style);
    QFETCH(bool, osSupportsGlass);
    QFETCH(bool, glass);
    QCOMPARE(SettingsCardStyles::usesGlassLayout(style, osSupportsGlass), glass);
    // This system has no glass: every card here is legacy.
    SettingsAccordionCard card(QStringLiteral("X"), std::nullopt, style, std::nullopt,
                               SettingsAccordionCard::ContentBuilder());
    QVERIFY(!card.usesGlassLayout());
}

void TestAccordionCard::contentIsBuiltOnlyWhileOpen()
{
    int builds = 0;
    QPointer<QLabel> built;
    SettingsAccordionCard card(QStringLiteral("Allgemein"), QStringLiteral("gearshape.fill"), SettingsCardStyle::Auto,
                               std::nullopt, SettingsAccordionCard::SingleContentBuilder([&] {
                                   ++builds;
                                   built = new QLabel(QStringLiteral("Inhalt"));
                                   return built.data();
                               }));
    QCOMPARE(builds, 0);
    QVERIFY(!card.content());

    card.header()->click();
    QCOMPARE(builds, 1);
    QVERIFY(card.content());
    QVERIFY(built && card.content()->isAncestorOf(built));

    card.header()->click();
    QVERIFY(!card.content());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!built);
    QCOMPARE(builds, 1);

    card.header()->click();
    QCOMPARE(builds, 2);
}

void TestAccordionCard::hapticRunsOncePerTapBeforeTheFlip()
{
    QWidget root;
    auto *layout = new QVBoxLayout(&root);
    SettingsAccordionCard *card = nullptr;
    QList<bool> stateAtHaptic;
    SettingsTheme theme;
    theme.hapticTap = [&] { stateAtHaptic.append(card->isExpanded()); };
    SettingsTheme::install(&root, theme);
    card = new SettingsAccordionCard(QStringLiteral("X"), std::nullopt, SettingsCardStyle::Auto, std::nullopt,
                                     SettingsAccordionCard::ContentBuilder());
    layout->addWidget(card);

    card->header()->click();
    QCOMPARE(stateAtHaptic, QList<bool>{false}); // before the flip to open
    QVERIFY(card->isExpanded());
    card->header()->click();
    QCOMPARE(stateAtHaptic, (QList<bool>{false, true}));
    QVERIFY(!card->isExpanded());
    // The owner changing the binding is no tap.
    card->syncFromBinding();
    QCOMPARE(stateAtHaptic.size(), 2);
}

void TestAccordionCard::ownStateStartsCollapsed()
{
    SettingsAccordionCard card(QStringLiteral("X"), std::nullopt, SettingsCardStyle::Legacy, std::nullopt,
                               SettingsAccordionCard::ContentBuilder());
    QVERIFY(!card.isExpanded());
    QSignalSpy spy(&card, &SettingsAccordionCard::expandedChanged);
    card.toggle();
    QVERIFY(card.isExpanded());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
}

void TestAccordionCard::externalBindingDecidesTheInitialState()
{
    bool open = true;
    SettingsAccordionCard card(QStringLiteral("X"), std::nullopt, SettingsCardStyle::Auto,
                               Binding<bool>{[&] { return open; }, [&](const bool &v) { open = v; }},
                               SettingsAccordionCard::SingleContentBuilder([] { return new QLabel; }));
    QVERIFY(card.isExpanded());
    QVERIFY(card.content());
    card.header()->click();
    QVERIFY(!open);
    QVERIFY(!card.content());
    // The owner opens it again.
    open = true;
    card.syncFromBinding();
    QVERIFY(card.content());
}

void TestAccordionCard::cardWithoutIconHasNoIconFrame()
{
    SettingsAccordionCard with(QStringLiteral("Mit"), QStringLiteral("camera.fill"), SettingsCardStyle::Auto, std::nullopt,
                               SettingsAccordionCard::ContentBuilder());
    SettingsAccordionCard without(QStringLiteral("Ohne"), std::nullopt, SettingsCardStyle::Auto, std::nullopt,
                                  SettingsAccordionCard::ContentBuilder());
    for (SettingsAccordionCard *card : {&with, &without}) {
        card->show();
        card->resize(500, card->heightForWidth(500));
        card->header()->layout()->activate();
    }
    QVERIFY(with.findChild<QLabel *>(QStringLiteral("accordionIcon")));
    QCOMPARE(with.findChild<QLabel *>(QStringLiteral("accordionIcon"))->width(), 24);
    QVERIFY(!without.findChild<QLabel *>(QStringLiteral("accordionIcon")));
    // The title starts at the header's leading padding.
    QCOMPARE(without.findChild<QLabel *>(QStringLiteral("accordionTitle"))->x(), 20);
    QCOMPARE(with.findChild<QLabel *>(QStringLiteral("accordionTitle"))->x(), 20 + 24 + 12);
}

void TestAccordionCard::collapsedBodyTakesNoInput()
{
    SettingsAccordionCard card(QStringLiteral("X"), std::nullopt, SettingsCardStyle::Auto, std::nullopt,
                               SettingsAccordionCard::SingleContentBuilder([] { return new QPushButton; }));
    auto *body = card.findChild<QWidget *>(QStringLiteral("accordionBody"));
    QVERIFY(body);
    QVERIFY(body->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(card.bubbleOpacity(), 0.0);
    card.toggle();
    QVERIFY(!body->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(card.bubbleOpacity(), 1.0);
}

void TestAccordionCard::metricsScale_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<qreal>("horizontal");
    QTest::addColumn<qreal>("vertical");
    QTest::addColumn<qreal>("iconFrame");
    QTest::newRow("1.0") << 1.0 << 20.0 << 16.0 << 24.0;
    QTest::newRow("1.5") << 1.5 << 30.0 << 24.0 << 36.0;
}

void TestAccordionCard::metricsScale()
{
    QFETCH(qreal, scale);
    QFETCH(qreal, horizontal);
    QFETCH(qreal, vertical);
    QFETCH(qreal, iconFrame);

    QWidget root;
    SettingsTheme theme;
    theme.metricScale = scale;
    SettingsTheme::install(&root, theme);
    auto *layout = new QVBoxLayout(&root);
    auto *card = new SettingsAccordionCard(QStringLiteral("Titel"), QStringLiteral("gearshape.fill"),
                                           SettingsCardStyle::Auto, std::nullopt,
                                           SettingsAccordionCard::SingleContentBuilder([] { return new QLabel; }));
    layout->addWidget(card);
    card->toggle();

    for (bool open : {true, false}) {
        const AccordionMetrics m = AccordionMetrics::compute(theme, false, open);
        QCOMPARE(m.headerPadding, QMarginsF(horizontal, vertical, horizontal, vertical));
        QCOMPARE(m.contentPadding, QMarginsF(horizontal, vertical, horizontal, vertical));
        QCOMPARE(m.iconFrameWidth, iconFrame);
        QCOMPARE(m.headerSpacing, 12 * scale);
        QCOMPARE(m.contentSpacing, 20 * scale);
        QCOMPARE(m.iconPixelSize, 16 * scale);
        // Outer paddings never scale.
        QCOMPARE(m.outerPadding, QMarginsF(16, open ? 10 : 4, 16, open ? 10 : 4));
    }
    // The widgets follow the numbers.
    QCOMPARE(card->header()->layout()->contentsMargins(),
             QMargins(qRound(horizontal), qRound(vertical), qRound(horizontal), qRound(vertical)));
    QCOMPARE(card->content()->layout()->contentsMargins(),
             QMargins(qRound(horizontal), qRound(vertical), qRound(horizontal), qRound(vertical)));
    QCOMPARE(card->findChild<QLabel *>(QStringLiteral("accordionIcon"))->width(), qRound(iconFrame));
    const QFont title = card->findChild<QLabel *>(QStringLiteral("accordionTitle"))->font();
    QCOMPARE(title.weight(), QFont::DemiBold);
    if (scale == 1.0)
        QCOMPARE(title.pixelSize(), TextStyles::pixelSize(TextStyle::Headline));
    else
        QCOMPARE(title.pixelSize(), qRound(17 * scale));
}

void TestAccordionCard::openAndCollapsedMetrics()
{
    const SettingsTheme theme;
    const AccordionMetrics open = AccordionMetrics::compute(theme, false, true);
    const AccordionMetrics closed = AccordionMetrics::compute(theme, false, false);
    QCOMPARE(open.stackSpacing, 20.0);
    QCOMPARE(closed.stackSpacing, 0.0);
    QCOMPARE(open.bubbleCornerRadius, 10.0);
    QCOMPARE(closed.bubbleCornerRadius, 50.0);
    QCOMPARE(open.bubbleOffset, QPointF(0, 0));
    QCOMPARE(closed.bubbleOffset, QPointF(95, -45));
    QCOMPARE(open.bubbleOpacity, 1.0);
    QCOMPARE(closed.bubbleOpacity, 0.0);
    QCOMPARE(open.chevronRotation, 0.0);
    QCOMPARE(closed.chevronRotation, M_PI);
    QCOMPARE(open.headerCornerRadius, 50.0);

    const AccordionMetrics glassOpen = AccordionMetrics::compute(theme, true, true);
    const AccordionMetrics glassClosed = AccordionMetrics::compute(theme, true, false);
    QCOMPARE(glassOpen.stackSpacing, 15.0);
    QCOMPARE(glassOpen.bubbleCornerRadius, 26.0);
    QCOMPARE(glassClosed.bubbleOpacity, 1.0);

    // Laid out collapsed, the body is a zero-high bubble up and to the right of centre.
    SettingsAccordionCard card(QStringLiteral("X"), std::nullopt, SettingsCardStyle::Legacy, std::nullopt,
                               SettingsAccordionCard::SingleContentBuilder([] { return new QLabel(QStringLiteral("a")); }));
    card.show();
    card.resize(600, card.heightForWidth(600));
    QCOMPARE(card.bubbleRect().height(), 0.0);
    QCOMPARE(card.bubbleRect().width(), 150.0);
    QCOMPARE(card.bubbleRect().center().x(), 300.0 + 95.0);
    QCOMPARE(card.bubbleRect().top(), card.headerRect().bottom() - 45.0);
    QCOMPARE(card.headerRect().top(), 4.0);
    QCOMPARE(card.height(), qCeil(card.headerRect().height() + 8));

    card.toggle();
    card.resize(600, card.heightForWidth(600));
    QCOMPARE(card.headerRect().top(), 10.0);
    QCOMPARE(card.bubbleRect().top(), card.headerRect().bottom() + 20.0);
    QCOMPARE(card.bubbleRect().left(), 16.0);
    QCOMPARE(card.bubbleRect().width(), 600.0 - 32.0);
    QCOMPARE(card.bubbleCornerRadius(), 10.0);
}

void TestAccordionCard::springsOfTheTwoLayouts()
{
    const Spring tapLegacy = AccordionMetrics::tapSpring(false);
    const Spring expected = Spring::interpolating(1, 100, 20);
    QCOMPARE(tapLegacy.response, expected.response);
    QCOMPARE(tapLegacy.dampingFraction, expected.dampingFraction);
    QCOMPARE(AccordionMetrics::morphSpring(false).dampingFraction, Spring::interpolating(1, 90, 14).dampingFraction);
    QCOMPARE(AccordionMetrics::tapSpring(true).dampingFraction, Spring::interpolating(1, 90, 15).dampingFraction);
    QCOMPARE(AccordionMetrics::morphSpring(true).dampingFraction, Spring::interpolating(1, 90, 15).dampingFraction);
}

void TestAccordionCard::contentItemsAreStackedAndPadded()
{
    SettingsAccordionCard card(QStringLiteral("X"), std::nullopt, SettingsCardStyle::Auto, std::nullopt,
                               SettingsAccordionCard::ContentBuilder([]() -> QWidgetList {
                                   return {new QLabel(QStringLiteral("eins")), nullptr, new QLabel(QStringLiteral("zwei"))};
                               }));
    card.show();
    card.toggle();
    card.resize(500, card.heightForWidth(500));
    QWidget *content = card.content();
    QVERIFY(content);
    auto *stack = qobject_cast<QVBoxLayout *>(content->layout());
    QCOMPARE(stack->count(), 2); // a null item is skipped
    QCOMPARE(stack->spacing(), 20);
    content->layout()->activate();
    const auto labels = content->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels[1]->y() - labels[0]->geometry().bottom() - 1, 20);
    QCOMPARE(labels[0]->x(), 20);
    QCOMPARE(labels[0]->width(), 500 - 32 - 40); // full width inside the paddings
}

void TestAccordionCard::animatedTogglesSettle()
{
    Motion::setAnimationsEnabled(true);
    int builds = 0;
    SettingsAccordionCard card(QStringLiteral("X"), QStringLiteral("globe"), SettingsCardStyle::Auto, std::nullopt,
                               SettingsAccordionCard::SingleContentBuilder([&] {
                                   ++builds;
                                   return new QLabel(QStringLiteral("Inhalt"));
                               }));
    card.resize(400, 80);
    card.show();
    const int collapsedHeight = card.heightForWidth(400);

    // Open, close while unfolding, open again while folding: the content is kept, not rebuilt.
    card.header()->click();
    QTest::qWait(50);
    card.header()->click();
    QTest::qWait(30);
    card.header()->click();
    QVERIFY(card.content());
    QTRY_VERIFY_WITH_TIMEOUT(card.content()->isVisible(), 3000);
    QCOMPARE(builds, 1);
    QTest::qWait(1500);
    QCOMPARE(card.bubbleOpacity(), 1.0);
    QVERIFY(card.heightForWidth(400) > collapsedHeight);

    card.header()->click();
    QVERIFY(card.content()); // fading out while the body folds
    QTRY_VERIFY_WITH_TIMEOUT(!card.content(), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(card.heightForWidth(400), collapsedHeight, 3000);
    Motion::setAnimationsEnabled(false);
}

void TestAccordionCard::unanimatedSyncStandsAtOnce()
{
    // With animations on, an owner that resets its selection without animation (a screen
    // shown anew) finds every card in its final shape right away, even one still moving.
    Motion::setAnimationsEnabled(true);
    Selection selection;
    selection.value = Pane::A;
    const auto label = [] { return new QLabel(QStringLiteral("Inhalt")); };
    SettingsAccordionCard a(QStringLiteral("A"), std::nullopt, SettingsCardStyle::Legacy,
                            SettingsAccordionCard::binding(selection.binding(), Pane::A),
                            SettingsAccordionCard::SingleContentBuilder(label));
    SettingsAccordionCard b(QStringLiteral("B"), std::nullopt, SettingsCardStyle::Legacy,
                            SettingsAccordionCard::binding(selection.binding(), Pane::B),
                            SettingsAccordionCard::SingleContentBuilder(label));
    a.resize(400, 200);
    b.resize(400, 200);
    a.show();
    b.show();
    const int openHeight = a.heightForWidth(400);
    const int closedHeight = b.heightForWidth(400);

    b.header()->click(); // B starts unfolding, A folding
    QTest::qWait(30);
    selection.value = Pane::A;
    a.syncFromBinding(false);
    b.syncFromBinding(false);
    QVERIFY(a.isExpanded());
    QVERIFY(a.content() && a.content()->isVisible());
    QCOMPARE(a.bubbleOpacity(), 1.0);
    QCOMPARE(a.heightForWidth(400), openHeight);
    QVERIFY(!b.content());
    QCOMPARE(b.heightForWidth(400), closedHeight);
    QTest::qWait(100);
    QCOMPARE(a.heightForWidth(400), openHeight);
    Motion::setAnimationsEnabled(false);
}

QTEST_MAIN(TestAccordionCard)
#include "tst_accordioncard.moc"
