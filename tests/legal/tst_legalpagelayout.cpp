// How a legal page's column fits its window: its height follows its width, so a wide
// window has no blank tail below the last part and a page that fits needs no scroll bar.
#include <AppInfoView.h>
#include <ImprintView.h>
#include <LegalBullet.h>
#include <LegalCallout.h>
#include <LegalDataItem.h>
#include <LegalEnvironment.h>
#include <LegalSection.h>
#include <LegalText.h>
#include <PrivacyPolicyView.h>

#include <BundleInfo.h>

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

LegalEntity sampleEntity()
{
    return LegalEntity(QStringLiteral("Beispiel GmbH"), QStringLiteral("Erika Muster"), QStringLiteral("Hauptstraße 5"),
                       QStringLiteral("80331 München"), std::nullopt, QStringLiteral("info@beispiel.example"),
                       std::nullopt, QUrl(QStringLiteral("https://beispiel.example")), QStringLiteral("beispiel.example"),
                       std::nullopt, QStringLiteral("DE123456789"));
}

QWidget *hostSections()
{
    auto *sections = new QWidget;
    auto *layout = new QVBoxLayout(sections);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(24);
    auto *data = new QWidget;
    auto *dataColumn = new QVBoxLayout(data);
    dataColumn->setContentsMargins(0, 0, 0, 0);
    dataColumn->addWidget(new LegalText(QStringLiteral("Alles bleibt lokal, in deinen Projekten und auf diesem Rechner. "
                                                       "Nichts davon verlässt das Gerät ohne dein Zutun.")));
    dataColumn->addWidget(new LegalDataItem(QStringLiteral("Pläne"), QStringLiteral("Schritte und Sprachen deiner Aufnahmen."),
                                            QStringLiteral("shots.json im Projekt")));
    dataColumn->addWidget(new LegalBullet(QStringLiteral("checkmark.circle.fill"), QStringLiteral("Keine Analyse, kein Tracking.")));
    layout->addWidget(new LegalSection(QStringLiteral("iphone"), LocalizedText::verbatim(QStringLiteral("Was gespeichert wird")), data));
    layout->addWidget(new LegalCallout(QStringLiteral("hand.raised.fill"), QStringLiteral("Deine Rechte"),
                                       QStringLiteral("Du kannst jederzeit Auskunft, Berichtigung oder Löschung verlangen."),
                                       QColor(Qt::yellow)));
    return sections;
}

QScrollArea *scrollOf(QWidget *page)
{
    return page->findChild<QScrollArea *>(QStringLiteral("legalPageScroll"));
}

// Lays the page out at `size` the way a shown window would be.
void showAt(LegalPage *page, const QSize &size)
{
    page->resize(size);
    page->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The space between the last part's bottom edge and the column's end, less the column's
// own bottom padding: what a reader scrolls into below the last line.
int blankTail(LegalPage *page)
{
    QWidget *column = scrollOf(page)->widget();
    const QWidget *last = page->parts().last();
    const int lastBottom = last->mapTo(column, QPoint(0, last->height())).y();
    return column->height() - lastBottom - 8;
}

// The vertical space between two parts of a page's column.
int gapBetween(const QWidget *upper, const QWidget *lower)
{
    return lower->geometry().top() - upper->geometry().bottom() - 1;
}

// Host section views that put nothing on screen, and one that does.
QWidget *sectionsView(const QString &kind)
{
    if (kind == QLatin1String("none"))
        return nullptr;
    if (kind == QLatin1String("label"))
        return new QLabel(QStringLiteral("Eigener Abschnitt"));
    if (kind == QLatin1String("empty label"))
        return new QLabel;
    auto *view = new QWidget;
    if (kind == QLatin1String("plain widget"))
        return view;
    auto *layout = new QVBoxLayout(view); // default margins: room without content
    if (kind == QLatin1String("spacing only")) {
        layout->addSpacing(40);
    } else if (kind == QLatin1String("nested and hidden")) {
        auto *inner = new QWidget;
        new QVBoxLayout(inner);
        layout->addWidget(inner);
        auto *hidden = new LegalText(QStringLiteral("Verborgen"));
        hidden->hide();
        layout->addWidget(hidden);
        layout->addWidget(new QLabel);
    }
    return view;
}

} // namespace

class LegalPageLayoutTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { BundleInfo::setMain(BundleInfo::fromBuild()); }

    void columnHeightFollowsWidth_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("language");
        for (const char *page : {"appinfo", "imprint", "privacy"}) {
            for (const char *language : {"de", "en"})
                QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(QLatin1String(page), QLatin1String(language))))
                    << QString::fromLatin1(page) << QString::fromLatin1(language);
        }
    }

    void columnHeightFollowsWidth()
    {
        QFETCH(QString, page);
        QFETCH(QString, language);
        std::unique_ptr<LegalPage> view;
        if (page == QLatin1String("imprint"))
            view = std::make_unique<ImprintView>(sampleEntity(), QDate(2026, 12, 1));
        else if (page == QLatin1String("privacy"))
            view = std::make_unique<PrivacyPolicyView>(sampleEntity(), QDate(2026, 12, 1), hostSections());
        else
            view = std::make_unique<AppInfoView>(QStringLiteral("Velorance Studio"), QStringLiteral("Screenshots, die sich selbst aufnehmen."),
                                                 QStringLiteral("camera.viewfinder"), sampleEntity(), QStringLiteral("1. Dezember 2026"), true);
        LegalEnvironment::setLocale(view.get(), QLocale(language));
        QScrollArea *scroll = scrollOf(view.get());
        QVERIFY(scroll);

        // A short window: the page scrolls, and its end is the last part plus the padding.
        showAt(view.get(), QSize(640, 300));
        const int narrowHeight = scroll->widget()->height();
        QVERIFY(scroll->verticalScrollBar()->isVisible());
        QCOMPARE(blankTail(view.get()), 0);

        showAt(view.get(), QSize(1200, 300));
        const int wideHeight = scroll->widget()->height();
        QVERIFY(scroll->verticalScrollBar()->isVisible());
        QCOMPARE(blankTail(view.get()), 0);
        // Wider lines wrap less: the column gets shorter, never taller.
        QVERIFY2(wideHeight <= narrowHeight, qPrintable(QStringLiteral("%1 > %2").arg(wideHeight).arg(narrowHeight)));

        // A window tall enough for the whole column at this width needs no scroll bar.
        showAt(view.get(), QSize(1200, wideHeight + 40));
        QVERIFY(!scroll->verticalScrollBar()->isVisible());
        QCOMPARE(scroll->widget()->height(), scroll->viewport()->height());
        showAt(view.get(), QSize(640, narrowHeight + 40));
        QVERIFY(!scroll->verticalScrollBar()->isVisible());
    }

    void sectionsThatShowNothingAreAbsent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("shows");
        QTest::newRow("none") << QStringLiteral("none") << false;
        QTest::newRow("plain widget") << QStringLiteral("plain widget") << false;
        QTest::newRow("empty layout") << QStringLiteral("empty layout") << false;
        QTest::newRow("spacing only") << QStringLiteral("spacing only") << false;
        QTest::newRow("nested and hidden") << QStringLiteral("nested and hidden") << false;
        QTest::newRow("empty label") << QStringLiteral("empty label") << false;
        QTest::newRow("label") << QStringLiteral("label") << true;
    }

    void sectionsThatShowNothingAreAbsent()
    {
        QFETCH(QString, kind);
        QFETCH(bool, shows);
        QWidget *sections = sectionsView(kind);
        PrivacyPolicyView page(sampleEntity(), std::nullopt, sections);
        LegalEnvironment::setLocale(&page, QLocale(QLocale::German));
        showAt(&page, QSize(640, 900));
        const QWidget *header = page.parts().first();
        QVERIFY(header->height() > 0);
        if (!shows) {
            // The header is followed directly by the contact section, one spacing apart.
            QCOMPARE(gapBetween(header, page.contactSection()), 24);
            if (!sections)
                return;
            QCOMPARE(sections->height(), 0);
            // Content that arrives later takes its place between them again.
            const QString late = QStringLiteral("Später ergänzt");
            if (auto *label = qobject_cast<QLabel *>(sections)) {
                label->setText(late);
            } else {
                QLayout *layout = sections->layout() ? sections->layout() : new QVBoxLayout(sections);
                layout->addWidget(new QLabel(late));
            }
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        }
        QVERIFY(sections->height() > 0);
        QCOMPARE(gapBetween(header, sections), 24);
        QCOMPARE(gapBetween(sections, page.contactSection()), 24);
    }

    void imprintHasNoBlankTailWhenWide()
    {
        // The imprint wraps a lot at 640 and little at 1200: its height must show that.
        ImprintView view(sampleEntity(), QDate(2026, 12, 1));
        LegalEnvironment::setLocale(&view, QLocale(QLocale::German));
        QScrollArea *scroll = scrollOf(&view);
        showAt(&view, QSize(640, 700));
        const int narrow = scroll->widget()->height();
        showAt(&view, QSize(1200, 700));
        const int wide = scroll->widget()->height();
        QVERIFY2(narrow - wide > 60, qPrintable(QStringLiteral("640: %1, 1200: %2").arg(narrow).arg(wide)));
        QCOMPARE(blankTail(&view), 0);
    }
};

QTEST_MAIN(LegalPageLayoutTest)
#include "tst_legalpagelayout.moc"
