#include "RecorderListener.h"

#include <SystemErrorText.h>

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <optional>

// The TCP side: one server and the open connections with their partial lines.
class RecorderListener::Engine
{
public:
    struct Connection
    {
        QByteArray partial;           // bytes after the last newline
        QTimer *idleTimer = nullptr;  // a child of the socket; stopped once a tap arrived
        quint64 heard = 0;            // when it opened or last delivered a tap, in `heardCount`s
        std::optional<qint64> tappedAtMs; // on `clock`
    };

    QTcpServer &server = *new QTcpServer;
    QTimer &retryTimer = *new QTimer(&server);
    // Runs while every place is held by a recent tapper, until the first of them stops being one.
    QTimer &roomTimer = *new QTimer(&server);
    QHash<QTcpSocket *, Connection> connections;
    QElapsedTimer clock;
    quint64 heardCount = 0; // orders openings and taps, also within one millisecond
    const int recentTapMs;

    explicit Engine(int recentTapMs)
        : recentTapMs(recentTapMs)
    {
        clock.start();
        retryTimer.setSingleShot(true);
        retryTimer.setInterval(acceptRetryMs);
        roomTimer.setSingleShot(true);
        // A burst of connections is accepted at most this far before anyone looks at them.
        server.setMaxPendingConnections(int(maxConnections));
    }

    ~Engine()
    {
        // Tear down quietly: nothing may reach the owner while it drops the engine. The engine
        // may be dropped from one of its own signals, so the objects go later.
        server.disconnect();
        retryTimer.disconnect();
        roomTimer.disconnect();
        server.close();
        for (QTcpSocket *socket : connections.keys())
            closeQuietly(socket);
        connections.clear();
        server.deleteLater();
    }

    static void closeQuietly(QTcpSocket *socket)
    {
        socket->disconnect();
        socket->abort();
        socket->setParent(nullptr);
        socket->deleteLater();
    }

    bool tappedRecently(const Connection &connection, qint64 now) const
    {
        return connection.tappedAtMs && now - *connection.tappedAtMs < recentTapMs;
    }

    // The connection silent longest that may be closed to make room; null when every one
    // delivered a tap recently.
    QTcpSocket *silentLongest() const
    {
        const qint64 now = clock.elapsed();
        QTcpSocket *found = nullptr;
        quint64 heard = 0;
        for (auto it = connections.cbegin(); it != connections.cend(); ++it) {
            if (tappedRecently(it.value(), now))
                continue;
            if (!found || it->heard < heard) {
                found = it.key();
                heard = it->heard;
            }
        }
        return found;
    }

    // Accepting runs while a connection can be taken in (a free place, or one to close for it)
    // and no accept error is waited out. Otherwise clients wait in the backlog.
    void updateAccepting()
    {
        roomTimer.stop();
        if (retryTimer.isActive()) {
            server.pauseAccepting();
            return;
        }
        if (connections.size() < maxConnections || silentLongest()) {
            server.resumeAccepting();
            return;
        }
        server.pauseAccepting();
        const qint64 now = clock.elapsed();
        qint64 wait = recentTapMs;
        for (const Connection &connection : std::as_const(connections)) {
            if (connection.tappedAtMs)
                wait = std::min(wait, *connection.tappedAtMs + recentTapMs - now);
        }
        roomTimer.start(int(std::max<qint64>(wait, 1)));
    }

    void drop(QTcpSocket *socket)
    {
        connections.remove(socket);
        closeQuietly(socket);
        updateAccepting();
    }
};

RecorderListener::RecorderListener(QObject *parent)
    : QObject(parent)
{
}

RecorderListener::~RecorderListener() = default;

bool RecorderListener::hasEngine() const
{
    return m_engine != nullptr;
}

void RecorderListener::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QDateTime RecorderListener::now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTimeUtc();
}

qsizetype RecorderListener::connectionCount() const
{
    return m_engine ? m_engine->connections.size() : 0;
}

void RecorderListener::releaseEventsBefore(qsizetype count)
{
    const qsizetype released = qBound<qsizetype>(0, count - m_consumedCount, m_pendingEvents.size());
    m_pendingEvents.remove(0, released);
    m_consumedCount += released;
}

void RecorderListener::start()
{
    if (m_engine)
        return;
    m_engine = std::make_unique<Engine>(m_recentTapMs);
    Engine *engine = m_engine.get();

    connect(&engine->server, &QTcpServer::newConnection, this, [this, engine] {
        while (QTcpSocket *socket = engine->server.nextPendingConnection()) {
            if (engine->connections.size() >= maxConnections) {
                QTcpSocket *silent = engine->silentLongest();
                if (!silent) {
                    // Accepted in the same burst as the ones that took the last free places.
                    Engine::closeQuietly(socket);
                    continue;
                }
                engine->drop(silent);
            }
            adoptConnection(engine, socket);
        }
        // Taking connections turns accepting back on; the cap may say otherwise.
        engine->updateAccepting();
        setConnected(!engine->connections.isEmpty());
    });
    // Out of file descriptors, or a client gone before it was accepted: the server pauses
    // itself; it resumes after a short wait rather than never, or at once in a busy loop.
    connect(&engine->server, &QTcpServer::acceptError, this, [engine] {
        engine->retryTimer.start();
        engine->updateAccepting();
    });
    connect(&engine->retryTimer, &QTimer::timeout, this, [engine] { engine->updateAccepting(); });
    connect(&engine->roomTimer, &QTimer::timeout, this, [engine] { engine->updateAccepting(); });

    if (engine->server.listen(QHostAddress::LocalHost, m_requestedPort)) {
        setBoundPort(engine->server.serverPort());
        setStatus(Status::listening());
    } else {
        setStatus(Status::failed(SystemErrorText::localized(engine->server.errorString())));
    }
}

void RecorderListener::adoptConnection(Engine *engine, QTcpSocket *socket)
{
    // A bounded read buffer keeps a flooding sender from growing our memory.
    socket->setReadBufferSize(maxLineLength * 2);
    Engine::Connection connection;
    connection.idleTimer = new QTimer(socket);
    connection.idleTimer->setSingleShot(true);
    connect(connection.idleTimer, &QTimer::timeout, this, [this, engine, socket] {
        engine->drop(socket);
        setConnected(!engine->connections.isEmpty());
    });
    connection.idleTimer->start(m_idleTimeoutMs);
    connection.heard = ++engine->heardCount;
    engine->connections.insert(socket, connection);

    connect(socket, &QTcpSocket::readyRead, this, [this, engine, socket] {
        const auto found = engine->connections.find(socket);
        if (found == engine->connections.end())
            return;
        const QPointer<RecorderListener> self(this);
        QList<RecorderTapEvent> decoded;
        bool overlong = false;
        QByteArray &buffer = found->partial;
        while (socket->bytesAvailable() > 0 && !overlong) {
            buffer += socket->read(maxLineLength);
            qsizetype from = 0;
            qsizetype newline;
            while ((newline = buffer.indexOf('\n', from)) >= 0) {
                const QByteArrayView line = QByteArrayView(buffer).sliced(from, newline - from);
                if (line.size() > maxLineLength) {
                    overlong = true;
                    break;
                }
                if (auto event = RecorderTapEvent::decode(line, now()))
                    decoded.append(*event);
                from = newline + 1;
            }
            buffer.remove(0, from);
            if (buffer.size() > maxLineLength)
                overlong = true;
        }
        if (!decoded.isEmpty()) {
            found->idleTimer->stop();
            found->heard = ++engine->heardCount;
            found->tappedAtMs = engine->clock.elapsed();
        }
        if (overlong)
            engine->drop(socket);
        else if (!decoded.isEmpty())
            engine->updateAccepting(); // it may have been the last one that could make room
        for (const RecorderTapEvent &event : std::as_const(decoded)) {
            // A handler may stop the listener; then the rest is dropped with the engine.
            if (!self || m_engine.get() != engine)
                return;
            appendEvent(event);
        }
        if (self && m_engine.get() == engine)
            setConnected(!engine->connections.isEmpty());
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, engine, socket] {
        engine->drop(socket);
        setConnected(!engine->connections.isEmpty());
    });
    // Bytes may already wait in the socket before the first readyRead connection.
    if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(socket, "readyRead", Qt::QueuedConnection);
}

void RecorderListener::stop()
{
    m_engine.reset();
    setStatus(Status::idle());
    setConnected(false);
    setBoundPort(std::nullopt);
}

void RecorderListener::setStatus(const Status &status)
{
    if (m_status == status)
        return;
    m_status = status;
    Q_EMIT statusChanged();
}

void RecorderListener::setBoundPort(std::optional<quint16> port)
{
    if (m_boundPort == port)
        return;
    m_boundPort = port;
    Q_EMIT boundPortChanged();
}

void RecorderListener::setConnected(bool connected)
{
    if (m_isConnected == connected)
        return;
    m_isConnected = connected;
    Q_EMIT isConnectedChanged(connected);
}

void RecorderListener::appendEvent(const RecorderTapEvent &event)
{
    m_pendingEvents.append(event);
    if (m_pendingEvents.size() > maxPendingEvents)
        releaseEventsBefore(m_consumedCount + 1);
    Q_EMIT eventReceived(event);
    Q_EMIT eventsChanged();
}
