#include <AboutView.h>
#include <AppPalette.h>
#include <BundleInfo.h>
#include <GlassCard.h>
#include <IconActionButton.h>
#include <PlaceholderPane.h>
#include <Spring.h>
#include <StepTargetBadges.h>
#include <SymbolLabel.h>

#include <QEnterEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<NormPoint>)

class ComponentsTest final : public QObject
{
    Q_OBJECT

private:
    static QString badgeText(const StepTargetBadges &badges, const char *badgeName)
    {
        auto *badge = badges.findChild<QWidget *>(QLatin1String(badgeName));
        auto *label = badge ? badge->findChild<QLabel *>(QStringLiteral("badgeText")) : nullptr;
        return label ? label->text() : QStringLiteral("<missing>");
    }

    static bool shown(const StepTargetBadges &badges, const char *name)
    {
        auto *child = badges.findChild<QWidget *>(QLatin1String(name));
        return child && child->isVisibleTo(&badges);
    }

private Q_SLOTS:
    void initTestCase()
    {
        Motion::setAnimationsEnabled(false);
    }

    void cleanup()
    {
        BundleInfo::setMain(BundleInfo::fromBuild());
    }

    void placeholderShowsIconTitleAndLinesInOrder()
    {
        PlaceholderPane pane(QStringLiteral("camera.viewfinder"), QStringLiteral("Aufnahme"),
                             {QStringLiteral("Erste Zeile"), QStringLiteral("Zweite Zeile")});
        QCOMPARE(pane.findChild<SymbolLabel *>(QStringLiteral("placeholderIcon"))->symbolName(), QStringLiteral("camera.viewfinder"));
        QCOMPARE(pane.findChild<QLabel *>(QStringLiteral("placeholderTitle"))->text(), QStringLiteral("Aufnahme"));
        auto lineTexts = [&pane] {
            QStringList texts;
            for (QLabel *label : pane.findChildren<QLabel *>(QStringLiteral("placeholderLine")))
                texts << label->text();
            return texts;
        };
        QCOMPARE(lineTexts(), (QStringList{QStringLiteral("Erste Zeile"), QStringLiteral("Zweite Zeile")}));

        // Fewer lines reuse the first label and drop the rest.
        QLabel *first = pane.findChildren<QLabel *>(QStringLiteral("placeholderLine")).first();
        pane.setLines({QStringLiteral("Nur eine")});
        QCOMPARE(lineTexts(), QStringList{QStringLiteral("Nur eine")});
        QCOMPARE(pane.findChildren<QLabel *>(QStringLiteral("placeholderLine")).first(), first);
    }

    void glassCardHoldsTitleSymbolAndContent()
    {
        auto *content = new QLabel(QStringLiteral("Inhalt"));
        GlassCard card(QStringLiteral("Sprachen"), QStringLiteral("character.bubble"), content);
        QCOMPARE(card.findChild<QLabel *>(QStringLiteral("glassCardTitle"))->text(), QStringLiteral("Sprachen"));
        QCOMPARE(card.findChild<SymbolLabel *>(QStringLiteral("glassCardIcon"))->symbolName(), QStringLiteral("character.bubble"));
        QCOMPARE(card.content(), content);
        QCOMPARE(content->parentWidget(), &card);

        QPointer<QLabel> old = content;
        card.setContent(new QLabel(QStringLiteral("Neu")));
        QVERIFY(old.isNull());
    }

    void iconActionButtonTextsAndRoles_data()
    {
        QTest::addColumn<std::optional<ButtonRole>>("role");
        QTest::addColumn<QColor>("labelColor");
        QTest::newRow("no role") << std::optional<ButtonRole>() << AppPalette::primaryText();
        QTest::newRow("cancel") << std::optional<ButtonRole>(ButtonRole::Cancel) << AppPalette::primaryText();
        QTest::newRow("destructive") << std::optional<ButtonRole>(ButtonRole::Destructive) << AppPalette::destructive();
    }

    void iconActionButtonTextsAndRoles()
    {
        QFETCH(std::optional<ButtonRole>, role);
        QFETCH(QColor, labelColor);
        int calls = 0;
        IconActionButton button(QStringLiteral("Shot löschen"), QStringLiteral("trash"), role, [&calls] { ++calls; });
        QCOMPARE(button.title(), QStringLiteral("Shot löschen"));
        QCOMPARE(button.toolTip(), QStringLiteral("Shot löschen"));
        QCOMPARE(button.systemImage(), QStringLiteral("trash"));
        QCOMPARE(button.labelColor(), labelColor);

        button.resize(button.sizeHint());
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(calls, 1);

        button.setTitle(QStringLiteral("Entfernen"));
        QCOMPARE(button.toolTip(), QStringLiteral("Entfernen"));
    }

    void iconActionButtonGrowsWhileHovered()
    {
        IconActionButton button(QStringLiteral("Aufnehmen"), QStringLiteral("record.circle"));
        QCOMPARE(button.scale(), 1.0);
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(&button, &enter);
        QVERIFY(button.isHovered());
        QCOMPARE(button.scale(), 1.05);
        // The grown capsule still fits the space the button asks for.
        const QSize hint = button.sizeHint();
        QVERIFY(hint.width() > 0 && hint.height() > 0);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QVERIFY(!button.isHovered());
        QCOMPARE(button.scale(), 1.0);
    }

    // The symbol is drawn as the symbols draw it: "location" as the outline of "location.fill".
    void iconActionButtonDrawsUnfilledForms()
    {
        IconActionButton plain(QStringLiteral("Standort"), QStringLiteral("location"));
        IconActionButton filled(QStringLiteral("Standort"), QStringLiteral("location.fill"));
        plain.resize(plain.sizeHint());
        filled.resize(filled.sizeHint());
        QVERIFY(plain.grab().toImage() != filled.grab().toImage());
    }

    void stepTargetBadges_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<std::optional<NormPoint>>("point");
        QTest::addColumn<bool>("labelBadge");
        QTest::addColumn<bool>("pointBadge");
        QTest::addColumn<QString>("pointText");

        QTest::newRow("label only") << QStringLiteral("Anmelden") << std::optional<NormPoint>() << true << false << QString();
        QTest::newRow("point only") << QString() << std::optional<NormPoint>(NormPoint{0.5, 0.25}) << false << true << QStringLiteral("50% · 25%");
        QTest::newRow("both") << QStringLiteral("Karte") << std::optional<NormPoint>(NormPoint{0.123, 0.987}) << true << true << QStringLiteral("12% · 99%");
        QTest::newRow("neither") << QString() << std::optional<NormPoint>() << false << false << QString();
        QTest::newRow("corners") << QString() << std::optional<NormPoint>(NormPoint{0.0, 1.0}) << false << true << QStringLiteral("0% · 100%");
        // Exact halves round to even, as C's printf does.
        QTest::newRow("halves") << QString() << std::optional<NormPoint>(NormPoint{0.845, 0.125}) << false << true << QStringLiteral("84% · 12%");
    }

    void stepTargetBadges()
    {
        QFETCH(QString, label);
        QFETCH(std::optional<NormPoint>, point);
        QFETCH(bool, labelBadge);
        QFETCH(bool, pointBadge);
        QFETCH(QString, pointText);

        StepTargetBadges badges(label, point);
        QCOMPARE(shown(badges, "labelBadge"), labelBadge);
        QCOMPARE(shown(badges, "pointBadge"), pointBadge);
        QCOMPARE(shown(badges, "noTargetLabel"), !labelBadge && !pointBadge);
        QCOMPARE(badges.findChild<QLabel *>(QStringLiteral("noTargetLabel"))->text(), QStringLiteral("kein Ziel erfasst"));
        if (labelBadge)
            QCOMPARE(badgeText(badges, "labelBadge"), label);
        if (pointBadge)
            QCOMPARE(badgeText(badges, "pointBadge"), pointText);
    }

    void stepTargetBadgesUpdateInPlace()
    {
        StepTargetBadges badges;
        QVERIFY(shown(badges, "noTargetLabel"));
        QWidget *labelBadge = badges.findChild<QWidget *>(QStringLiteral("labelBadge"));
        QWidget *pointBadge = badges.findChild<QWidget *>(QStringLiteral("pointBadge"));

        badges.setLabel(QStringLiteral("Suchen"));
        badges.setPoint(NormPoint{0.3, 0.7});
        QVERIFY(!shown(badges, "noTargetLabel"));
        QCOMPARE(badgeText(badges, "labelBadge"), QStringLiteral("Suchen"));
        QCOMPARE(badgeText(badges, "pointBadge"), QStringLiteral("30% · 70%"));

        badges.setTarget(QString(), std::nullopt);
        QVERIFY(shown(badges, "noTargetLabel"));
        QCOMPARE(badges.findChild<QWidget *>(QStringLiteral("labelBadge")), labelBadge);
        QCOMPARE(badges.findChild<QWidget *>(QStringLiteral("pointBadge")), pointBadge);
    }

    // The badge and the step's one-line summary never disagree about a point.
    void stepTargetBadgesMatchTheSummary()
    {
        const QList<NormPoint> points{{0.845, 0.155}, {0.125, 0.875}, {0.005, 0.995}, {0.335, 0.665},
                                      {-0.025, 1.005}, {0.4999, 0.5001}};
        for (const NormPoint &point : points) {
            StepTargetBadges badges(QString(), point);
            const QStringList badge = badgeText(badges, "pointBadge").split(QStringLiteral(" · "));
            const QString summary = ShotStep::tap(QString(), QString(), point).summary();
            QCOMPARE(summary, QStringLiteral("Position %1, %2").arg(badge.value(0), badge.value(1)));
        }
    }

    void aboutViewFallsBackWhenBundleInfoIsMissing()
    {
        BundleInfo::setMain(BundleInfo::empty());
        QCOMPARE(AboutView::appName(), QStringLiteral("Velorance Studio"));
        QCOMPARE(AboutView::versionString(), QStringLiteral("0.2.0"));
        QCOMPARE(AboutView::buildNumber(), QStringLiteral("2"));
        QVERIFY(!AboutView::rightsNotice().isEmpty());

        AboutView view;
        QCOMPARE(view.findChild<QLabel *>(QStringLiteral("aboutName"))->text(), QStringLiteral("Velorance Studio"));
        QCOMPARE(view.findChild<QLabel *>(QStringLiteral("aboutVersion"))->text(), QStringLiteral("Version 0.2.0 (2)"));
    }

    void aboutViewReadsTheBundle()
    {
        BundleInfo info;
        info.name = QStringLiteral("Studio X");
        info.shortVersion = QStringLiteral("3.1");
        info.version = QStringLiteral("77");
        info.copyright = QStringLiteral("© Beispiel");
        BundleInfo::setMain(info);
        AboutView view;
        QCOMPARE(view.findChild<QLabel *>(QStringLiteral("aboutName"))->text(), QStringLiteral("Studio X"));
        QCOMPARE(view.findChild<QLabel *>(QStringLiteral("aboutVersion"))->text(), QStringLiteral("Version 3.1 (77)"));
        QCOMPARE(view.findChild<QLabel *>(QStringLiteral("aboutRights"))->text(), QStringLiteral("© Beispiel"));
    }
};

QTEST_MAIN(ComponentsTest)
#include "tst_components.moc"
