#pragma once

#include <ThrottledLogView.h>

#include <QScrollBar>
#include <QTextBlock>

// The lines a user sees at the top and at the bottom of a log view.
inline QString bottomVisibleLine(const ThrottledLogView &log)
{
    const int margin = int(log.document()->documentMargin()) + 3;
    return log.cursorForPosition(QPoint(margin, log.viewport()->height() - margin)).block().text();
}

inline QString topVisibleLine(const ThrottledLogView &log)
{
    const int margin = int(log.document()->documentMargin()) + 3;
    return log.cursorForPosition(QPoint(margin, margin)).block().text();
}

// More lines than fit: only then does "in view" say anything.
inline bool overflows(const ThrottledLogView &log)
{
    return log.verticalScrollBar()->maximum() > 0;
}
