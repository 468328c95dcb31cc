#include "ThrottledLogView.h"

#include <TextStyle.h>

#include <QScrollBar>

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
    // Anchored unless the user moved away from the newest line.
    const bool atBottom = bar->value() >= bar->maximum() - 2;
    const int keptValue = bar->value();

    const bool extendsShown = !m_shown.isEmpty() && m_pending.size() > m_shown.size()
        && std::equal(m_shown.cbegin(), m_shown.cend(), m_pending.cbegin());
    if (extendsShown) {
        // The common case while a run writes: only new lines at the end.
        const QStringList added = m_pending.mid(m_shown.size());
        appendPlainText(added.join(QLatin1Char('\n')));
    } else {
        setPlainText(m_pending.join(QLatin1Char('\n')));
    }
    m_shown = m_pending;
    ++m_appliedUpdates;

    if (atBottom)
        bar->setValue(bar->maximum());
    else
        bar->setValue(std::min(keptValue, bar->maximum()));
}
