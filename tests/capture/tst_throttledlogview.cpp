#include "LogViewProbe.h"

#include <ThrottledLogView.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {
QStringList numbered(int count, int first = 0)
{
    QStringList lines;
    for (int i = first; i < first + count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines;
}
} // namespace

// The log pane of the recorder's banner and of the run sheet: whenever it becomes visible
// and whenever lines arrive while it sits at the end, the newest line is in view.
class TestThrottledLogView final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        m_log = new ThrottledLogView(m_window.get());
        m_log->setFixedHeight(150);
        layout->addWidget(m_log);
        m_window->resize(420, 220);
    }
    void cleanup() { m_window.reset(); }

    void fedWhileHiddenShowsNewestWhenShown();
    void followsNewLinesAtTheEnd();
    void userScrolledUpStaysUntilBackAtTheEnd();
    void becomingVisibleAgainShowsNewest();
    void widthChangeKeepsTheAnchor();

private:
    void showWindow()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void feed(const QStringList &lines)
    {
        m_log->setLines(lines);
        QTRY_VERIFY(!m_log->hasPendingLines());
    }

    std::unique_ptr<QWidget> m_window;
    ThrottledLogView *m_log = nullptr;
};

void TestThrottledLogView::fedWhileHiddenShowsNewestWhenShown()
{
    // Fed while hidden, the way the banner feeds its closed log, then opened.
    m_log->hide();
    showWindow();
    feed(numbered(80));
    m_log->setLines(numbered(120));   // still pending when it opens
    m_log->show();
    QApplication::processEvents();
    QVERIFY(overflows(*m_log));
    QCOMPARE(bottomVisibleLine(*m_log), QStringLiteral("line 119"));
    QVERIFY(topVisibleLine(*m_log) != QStringLiteral("line 0"));

    // Shown for the first time with its window.
    init();
    feed(numbered(60));
    showWindow();
    QApplication::processEvents();
    QCOMPARE(bottomVisibleLine(*m_log), QStringLiteral("line 59"));
}

void TestThrottledLogView::followsNewLinesAtTheEnd()
{
    showWindow();
    QStringList lines;
    for (int batch = 0; batch < 6; ++batch) {
        lines += numbered(15, int(lines.size()));
        feed(lines);
        QCOMPARE(bottomVisibleLine(*m_log), lines.last());
    }
    QVERIFY(overflows(*m_log));
    // A run's window of recent lines moves on: the text is replaced, the anchor stays.
    lines = numbered(90, 400);
    feed(lines);
    QCOMPARE(bottomVisibleLine(*m_log), QStringLiteral("line 489"));
}

void TestThrottledLogView::userScrolledUpStaysUntilBackAtTheEnd()
{
    showWindow();
    QStringList lines = numbered(100);
    feed(lines);
    QScrollBar *bar = m_log->verticalScrollBar();
    bar->setValue(10);
    QVERIFY(!m_log->followsNewest());
    const QString top = topVisibleLine(*m_log);

    lines += numbered(20, 100);
    feed(lines);
    QCOMPARE(topVisibleLine(*m_log), top);
    QCOMPARE(bar->value(), 10);

    bar->setValue(bar->maximum());
    QVERIFY(m_log->followsNewest());
    lines += numbered(20, 120);
    feed(lines);
    QCOMPARE(bottomVisibleLine(*m_log), QStringLiteral("line 139"));
}

void TestThrottledLogView::becomingVisibleAgainShowsNewest()
{
    showWindow();
    QStringList lines = numbered(100);
    feed(lines);
    m_log->verticalScrollBar()->setValue(0);
    m_log->hide();
    lines += numbered(30, 100);
    feed(lines);
    m_log->show();
    QApplication::processEvents();
    QCOMPARE(bottomVisibleLine(*m_log), QStringLiteral("line 129"));
    QVERIFY(m_log->followsNewest());
}

void TestThrottledLogView::widthChangeKeepsTheAnchor()
{
    showWindow();
    // Long lines wrap: a narrower view has more rows below the same top line.
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines << QStringLiteral("line %1 ").arg(i) + QString(60, u'x');
    feed(lines);
    m_window->resize(260, 220);
    QApplication::processEvents();
    QCOMPARE(bottomVisibleLine(*m_log), lines.last());
    m_window->resize(700, 220);
    QApplication::processEvents();
    QCOMPARE(bottomVisibleLine(*m_log), lines.last());
}

QTEST_MAIN(TestThrottledLogView)
#include "tst_throttledlogview.moc"
