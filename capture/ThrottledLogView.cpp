#include "ThrottledLogView.h"

#include <TextStyle.h>

#include <QScrollBar>
#include <QScopedValueRollback>

#include <algorithm>

ThrottledLogView::ThrottledLogView(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("throttledLogView"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setFont(TextStyles::monospaced(TextStyle::Caption2));
    setFrameShape(QFrame::NoFrame);
    // Keeps memory flat however long a run talks; owners hand over at most a few hundred lines.
    setMaximumBlockCount(2000);
    document()->setDocumentMargin(8);
    setStyleSheet(QStringLiteral("QPlainTextEdit { background-color: rgba(0,0,0,10); border: none; }"));

    m_timer.setSingleShot(true);
    m_timer.setInterval(frameIntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ThrottledLogView::apply);

    QScrollBar *bar = verticalScrollBar();
    // Only a move the user can see tells whether they left the newest line: while hidden or
    // without height the bar's range is meaningless.
    connect(bar, &QScrollBar::valueChanged, this, [this](int value) {
        if (m_scrolling || !isVisible() || viewport()->height() <= 0)
            return;
        m_followNewest = value >= verticalScrollBar()->maximum();
    });
    // New lines, a wider or taller view: the range moves, the anchor stays.
    connect(bar, &QScrollBar::rangeChanged, this, [this] {
        if (m_followNewest)
            scrollToNewest();
    });
}

void ThrottledLogView::setLines(const QStringList &lines)
{
    m_pending = lines;
    if (!m_timer.isActive())
        m_timer.start();
}

void ThrottledLogView::flush()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    apply();
}

void ThrottledLogView::apply()
{
    if (m_pending == m_shown)
        return;

    QScrollBar *bar = verticalScrollBar();
    const int keptValue = bar->value();
    {
        const QScopedValueRollback<bool> guard(m_scrolling, true);
        const bool extendsShown = !m_shown.isEmpty() && m_pending.size() > m_shown.size()
            && std::equal(m_shown.cbegin(), m_shown.cend(), m_pending.cbegin());
        if (extendsShown) {
            // The common case while a run writes: only new lines at the end.
            const QStringList added = m_pending.mid(m_shown.size());
            appendPlainText(added.join(QLatin1Char('\n')));
        } else {
            setPlainText(m_pending.join(QLatin1Char('\n')));
        }
        if (!m_followNewest)
            bar->setValue(std::min(keptValue, bar->maximum()));
    }
    m_shown = m_pending;
    ++m_appliedUpdates;
    if (m_followNewest)
        scrollToNewest();
}

void ThrottledLogView::showEvent(QShowEvent *event)
{
    // The base class shows the text cursor on first show, which sits at the oldest line.
    QPlainTextEdit::showEvent(event);
    flush();
    m_followNewest = true;
    scrollToNewest();
}

void ThrottledLogView::scrollToNewest()
{
    const QScopedValueRollback<bool> guard(m_scrolling, true);
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}
