#include "ShotCardBuildQueue.h"

#include "ShotCard.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {
// A slice of building per event-loop turn: well under one frame.
constexpr qint64 kSliceMs = 8;
}

ShotCardBuildQueue::ShotCardBuildQueue(int immediateRows, QObject *parent)
    : QObject(parent)
    , m_immediateRows(immediateRows)
    , m_allowance(immediateRows)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ShotCardBuildQueue::buildSome);
}

bool ShotCardBuildQueue::buildNow(int rows)
{
    if (m_allowance <= 0)
        return false;
    m_allowance -= qMax(1, rows);
    return true;
}

void ShotCardBuildQueue::enqueue(ShotCard *card)
{
    m_queue.append(card);
    if (!m_timer.isActive())
        m_timer.start();
}

void ShotCardBuildQueue::finish()
{
    m_timer.stop();
    while (!m_queue.isEmpty()) {
        if (ShotCard *card = m_queue.takeFirst())
            card->buildRows();
        // Each new widget posts a polish request and each later layout request walks the
        // whole posted-event list: delivering them per card keeps this linear.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::PolishRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    Q_EMIT idle();
}

void ShotCardBuildQueue::buildSome()
{
    QElapsedTimer slice;
    slice.start();
    while (!m_queue.isEmpty() && slice.elapsed() < kSliceMs) {
        if (ShotCard *card = m_queue.takeFirst())
            card->buildRows(); // a card deleted meanwhile is skipped
    }
    if (m_queue.isEmpty())
        Q_EMIT idle();
    else
        m_timer.start();
}
