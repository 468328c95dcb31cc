#pragma once

#include "RecorderTapEvent.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QTcpSocket;

// Receives the recorder library's tap events: newline-terminated JSON over TCP on the
// loopback interface. Lives on the GUI thread and reports every change there.
class RecorderListener final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecorderListener)

public:
    struct Status
    {
        enum class Kind { Idle, Listening, Failed };
        Kind kind = Kind::Idle;
        QString message;   // the system's error text, in German, when failed

        static Status idle() { return {}; }
        static Status listening() { return {Kind::Listening, {}}; }
        static Status failed(const QString &message) { return {Kind::Failed, message}; }
        bool operator==(const Status &) const = default;
    };

    // A connection whose current line grows beyond this without a newline is closed.
    static constexpr qsizetype maxLineLength = 64 * 1024;
    // The recorder library sends nothing but taps; a connection that sent more lines than this
    // that are not taps is some other local process, and is closed.
    static constexpr qsizetype maxStrayLines = 100;
    // At most this much of one connection is read before the event loop runs again, so that a
    // client that writes without pause cannot hold the window; the rest is read in later passes.
    static constexpr qsizetype readBudget = 4 * 1024;
    // The recorder needs one connection; at this many open ones, another client that connects
    // takes the place of the one silent longest (stale ones from earlier launches, or a local
    // process, must not lock a relaunched app out). What every connection has sent is read
    // before choosing (up to readBudget each), and a connection is closed with a reset, so that
    // its sender's next send fails at once and the recorder library sends that tap again on a
    // new connection.
    static constexpr qsizetype maxConnections = 8;
    // A connection that delivered a tap this recently is never closed to make room; while all
    // are such, new clients wait in the backlog (one accepted in the same burst is read, then
    // closed).
    static constexpr int defaultRecentTapMs = 5000;
    // Events received and not yet consumed are kept up to this many; older ones are dropped
    // (a consumer takes them on every event-loop pass, so only a stalled one gets here).
    static constexpr qsizetype maxPendingEvents = 10000;
    // A connection that delivered no tap this long after opening is closed. The recorder
    // library connects only to send a tap, so a silent connection is not it; once it has
    // delivered taps it stays open however long the user pauses.
    static constexpr int defaultIdleTimeoutMs = 10000;
    // After an accept error (out of file descriptors) accepting pauses this long.
    static constexpr int acceptRetryMs = 250;

    explicit RecorderListener(QObject *parent = nullptr);
    ~RecorderListener() override;

    Status status() const { return m_status; }
    // The events received and not yet consumed, oldest first. The first of them has the
    // number consumedCount() among all events received (0 for the first one ever).
    const QList<RecorderTapEvent> &pendingEvents() const { return m_pendingEvents; }
    qsizetype consumedCount() const { return m_consumedCount; }
    // The number of events received so far, consumed or not; only ever grows.
    qsizetype eventCount() const { return m_consumedCount + m_pendingEvents.size(); }
    // The consumer is done with the events numbered below `count`: they are dropped.
    void releaseEventsBefore(qsizetype count);
    bool isConnected() const { return m_isConnected; }
    // Open connections.
    qsizetype connectionCount() const;
    std::optional<quint16> boundPort() const { return m_boundPort; }
    bool hasEngine() const;

    // Creates and starts the engine on a free loopback port; does nothing while one exists
    // (also after a failure to bind, until stop()).
    void start();
    // Drops the engine and its connections; the events stay.
    void stop();

    // 0 (the default) asks for any free port; tests ask for a taken one to see a failure.
    void setRequestedPort(quint16 port) { m_requestedPort = port; }
    // The receive-time source; tests pass a fixed clock.
    void setClock(std::function<QDateTime()> clock);
    // Applies to connections opened afterwards; tests shorten it.
    void setIdleTimeoutMs(int ms) { m_idleTimeoutMs = ms; }
    // Applies from the next start(); tests shorten it.
    void setRecentTapMs(int ms) { m_recentTapMs = ms; }

Q_SIGNALS:
    void statusChanged();
    void boundPortChanged();
    void isConnectedChanged(bool connected);
    void eventReceived(const RecorderTapEvent &event);
    // New events arrived (eventCount() grew).
    void eventsChanged();

private:
    class Engine;

    void setStatus(const Status &status);
    void setBoundPort(std::optional<quint16> port);
    void setConnected(bool connected);
    void adoptConnection(Engine *engine, QTcpSocket *socket);
    // Appends `events`, then reports whether a connection is open; stops early when a handler
    // stopped the listener.
    void deliver(Engine *engine, const QList<RecorderTapEvent> &events);
    void appendEvent(const RecorderTapEvent &event);
    QDateTime now() const;

    Status m_status;
    QList<RecorderTapEvent> m_pendingEvents;
    qsizetype m_consumedCount = 0;
    int m_idleTimeoutMs = defaultIdleTimeoutMs;
    int m_recentTapMs = defaultRecentTapMs;
    bool m_isConnected = false;
    std::optional<quint16> m_boundPort;
    quint16 m_requestedPort = 0;
    std::function<QDateTime()> m_clock;
    std::unique_ptr<Engine> m_engine;
};
