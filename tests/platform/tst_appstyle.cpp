#include "ScrollBarProbe.h"

#include <AppPalette.h>
#include <AppStyle.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

// Every scroll view of the program gets the slim dark bar, whoever builds it.
class TestAppStyle final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { AppStyle::install(); }

    void everyScrollViewIsSlim();
    void handleFollowsTheContent();
    void pagesByClickAndDrawsOnlyTheHandle();
};

void TestAppStyle::everyScrollViewIsSlim()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);

    auto *area = new QScrollArea(&window);
    auto *content = new QWidget;
    content->setMinimumSize(900, 900);
    area->setWidget(content);
    layout->addWidget(area);

    // A style sheet of its own, as the logs have, must not bring the stock bar back.
    auto *log = new QPlainTextEdit(&window);
    log->setStyleSheet(QStringLiteral("QPlainTextEdit { background-color: rgba(0,0,0,10); border: none; }"));
    log->setLineWrapMode(QPlainTextEdit::NoWrap);
    for (int i = 0; i < 200; ++i)
        log->appendPlainText(QStringLiteral("line %1 ").arg(i) + QString(120, u'x'));
    layout->addWidget(log);

    auto *list = new QListWidget(&window);
    for (int i = 0; i < 100; ++i)
        list->addItem(QStringLiteral("item %1").arg(i));
    layout->addWidget(list);

    window.resize(300, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QList<QScrollBar *> bars{area->verticalScrollBar(), area->horizontalScrollBar(), log->verticalScrollBar(),
                                   log->horizontalScrollBar(), list->verticalScrollBar()};
    for (QScrollBar *bar : bars) {
        QVERIFY(bar->isVisible());
        QVERIFY(isSlimBar(bar, AppStyle::scrollBarExtent));
    }
}

void TestAppStyle::handleFollowsTheContent()
{
    QScrollBar bar(Qt::Vertical);
    bar.resize(AppStyle::scrollBarExtent, 400);
    bar.setRange(0, 300);
    bar.setPageStep(100);
    const QRect groove = scrollBarPart(&bar, QStyle::SC_ScrollBarGroove);
    QCOMPARE(groove.height(), 400 - 2 * AppStyle::scrollBarMargin);

    // A quarter of the content is in view: the handle is a quarter of the groove.
    QRect handle = scrollBarPart(&bar, QStyle::SC_ScrollBarSlider);
    QCOMPARE(handle.height(), groove.height() / 4);
    QCOMPARE(handle.top(), groove.top());
    bar.setValue(300);
    handle = scrollBarPart(&bar, QStyle::SC_ScrollBarSlider);
    QCOMPARE(handle.bottom(), groove.bottom());
    QCOMPARE(scrollBarPart(&bar, QStyle::SC_ScrollBarSubPage).height() + handle.height(), groove.height());

    // Long content: the handle keeps a length one can grab.
    bar.setRange(0, 1000000);
    QCOMPARE(scrollBarPart(&bar, QStyle::SC_ScrollBarSlider).height(), AppStyle::scrollBarHandleMinimum);

    QScrollBar sideways(Qt::Horizontal);
    sideways.resize(400, AppStyle::scrollBarExtent);
    sideways.setRange(0, 100);
    sideways.setPageStep(100);
    QCOMPARE(scrollBarPart(&sideways, QStyle::SC_ScrollBarSlider).width(), groove.height() / 2);
}

void TestAppStyle::pagesByClickAndDrawsOnlyTheHandle()
{
    QWidget backdrop;
    backdrop.setAutoFillBackground(true);
    backdrop.resize(AppStyle::scrollBarExtent, 400);
    auto *bar = new QScrollBar(Qt::Vertical, &backdrop);
    bar->setGeometry(backdrop.rect());
    bar->setRange(0, 300);
    bar->setPageStep(100);
    backdrop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&backdrop));

    // Where stock bars have their arrow buttons there is track: a click pages.
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(5, 395));
    QTRY_COMPARE(bar->value(), 100);

    const QImage image = bar->grab().toImage();
    const QRect handle = scrollBarPart(bar, QStyle::SC_ScrollBarSlider);
    const QColor track = image.pixelColor(5, 395);
    const QColor grip = image.pixelColor(handle.center());
    QCOMPARE(track.rgb(), AppPalette::window().rgb());
    QVERIFY(grip.lightness() > track.lightness() + 30);
}

QTEST_MAIN(TestAppStyle)
#include "tst_appstyle.moc"
