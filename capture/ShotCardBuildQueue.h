#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class ShotCard;

// Builds the step rows of shot cards that one update of the page made in great number
// (opening a large plan) a few cards at a time on the event loop, so the page shows at once
// and stays responsive. The cards of an update are built at once until they hold a
// screenful or two of step rows.
class ShotCardBuildQueue final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShotCardBuildQueue)

public:
    explicit ShotCardBuildQueue(int immediateRows, QObject *parent = nullptr);

    // Starts one update of the page: its new cards are built at once until they hold
    // `immediateRows` step rows.
    void beginUpdate() { m_allowance = m_immediateRows; }
    // Whether a new card with `rows` step rows builds them at once; when not, queue it.
    bool buildNow(int rows);
    void enqueue(ShotCard *card);

    bool isIdle() const { return m_queue.isEmpty(); }
    // Builds every queued card now.
    void finish();

Q_SIGNALS:
    void idle();

private:
    void buildSome();

    int m_immediateRows = 0;
    int m_allowance = 0;
    QList<QPointer<ShotCard>> m_queue;
    QTimer m_timer;
};
