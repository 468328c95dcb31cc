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
#include <cerrno>
#include <optional>

#include <sys/socket.h>

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

    RecorderListener &owner;
    QTcpServer &server = *new QTcpServer;
    QTimer &retryTimer = *new QTimer(&server);
    // Runs while every place is held by a recent tapper, until the first of them stops being one.
    QTimer &roomTimer = *new QTimer(&server);
    QHash<QTcpSocket *, Connection> connections;
    QElapsedTimer clock;
    quint64 heardCount = 0; // orders openings and taps, also within one millisecond
    const int recentTapMs;

    Engine(RecorderListener &owner, int recentTapMs)
        : owner(owner)
        , recentTapMs(recentTapMs)
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
        // A reset, not an orderly close: after an orderly one the peer's next send still
        // succeeds locally and its bytes are lost; after a reset it fails at once.
        if (const qintptr descriptor = socket->socketDescriptor(); descriptor >= 0) {
            const linger reset{1, 0};
            ::setsockopt(int(descriptor), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        }
        socket->disconnect();
        socket->abort();
        socket->setParent(nullptr);
        socket->deleteLater();
    }

    // Decodes the complete lines among the connection's partial line and `bytes` into
    // `decoded`. False when a line grows beyond maxLineLength.
    bool take(Connection &connection, QByteArrayView bytes, QList<RecorderTapEvent> &decoded) const
    {
        QByteArray &buffer = connection.partial;
        buffer += bytes;
        qsizetype from = 0;
        qsizetype newline;
        while ((newline = buffer.indexOf('\n', from)) >= 0) {
            const QByteArrayView line = QByteArrayView(buffer).sliced(from, newline - from);
            if (line.size() > maxLineLength)
                return false;
            if (auto event = RecorderTapEvent::decode(line, owner.now()))
                decoded.append(*event);
            from = newline + 1;
        }
        buffer.remove(0, from);
        return buffer.size() <= maxLineLength;
    }

    // Reads what the connection has: what its socket holds and, with `fromSystem`, also what
    // still waits in the system's receive queue, which the socket would only read on its next
    // notification. False when a line grew too long.
    bool read(QTcpSocket *socket, Connection &connection, bool fromSystem, QList<RecorderTapEvent> &decoded)
    {
        const qsizetype before = decoded.size();
        bool fits = true;
        while (fits && socket->bytesAvailable() > 0)
            fits = take(connection, socket->read(maxLineLength), decoded);
        const qintptr descriptor = socket->socketDescriptor();
        if (fromSystem && descriptor >= 0) {
            QByteArray chunk(maxLineLength, Qt::Uninitialized);
            while (fits) {
                const ssize_t got = ::recv(int(descriptor), chunk.data(), std::size_t(chunk.size()), MSG_DONTWAIT);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0)
                    break; // nothing more for now, or the peer's end, which the socket sees itself
                fits = take(connection, QByteArrayView(chunk.constData(), got), decoded);
            }
        }
        if (decoded.size() > before) {
            connection.idleTimer->stop();
            connection.heard = ++heardCount;
            connection.tappedAtMs = clock.elapsed();
        }
        return fits;
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

    // `newcomer` took the place over the limit. Everyone's pending bytes are read first, so
    // that a tap not yet read counts as recent and is never closed away unread; then the
    // connection silent longest goes, or the newcomer when every other one tapped recently.
    void makeRoom(QTcpSocket *newcomer, QList<RecorderTapEvent> &decoded)
    {
        for (auto it = connections.begin(); it != connections.end();) {
            if (read(it.key(), it.value(), true, decoded)) {
                ++it;
                continue;
            }
            closeQuietly(it.key());
            it = connections.erase(it);
        }
        if (connections.size() <= maxConnections)
            return;
        QTcpSocket *silent = silentLongest();
        drop(silent ? silent : newcomer);
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
    m_engine = std::make_unique<Engine>(*this, m_recentTapMs);
    Engine *engine = m_engine.get();

    connect(&engine->server, &QTcpServer::newConnection, this, [this, engine] {
        QList<RecorderTapEvent> decoded;
        while (QTcpSocket *socket = engine->server.nextPendingConnection()) {
            adoptConnection(engine, socket);
            if (engine->connections.size() > maxConnections)
                engine->makeRoom(socket, decoded);
        }
        // Taking connections turns accepting back on; the cap may say otherwise.
        engine->updateAccepting();
        deliver(engine, decoded);
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
        const auto found = engine->connections.find(socket);
        if (found == engine->connections.end())
            return;
        QList<RecorderTapEvent> decoded;
        // A tap that came in just now keeps it open.
        if (!engine->read(socket, *found, true, decoded) || !found->tappedAtMs)
            engine->drop(socket);
        deliver(engine, decoded);
    });
    connection.idleTimer->start(m_idleTimeoutMs);
    connection.heard = ++engine->heardCount;
    engine->connections.insert(socket, connection);

    connect(socket, &QTcpSocket::readyRead, this, [this, engine, socket] {
        const auto found = engine->connections.find(socket);
        if (found == engine->connections.end())
            return;
        QList<RecorderTapEvent> decoded;
        if (!engine->read(socket, *found, false, decoded))
            engine->drop(socket);
        else if (!decoded.isEmpty())
            engine->updateAccepting(); // it may have been the last one that could make room
        deliver(engine, decoded);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, engine, socket] {
        const auto found = engine->connections.find(socket);
        if (found == engine->connections.end())
            return;
        QList<RecorderTapEvent> decoded;
        engine->read(socket, *found, false, decoded);
        engine->drop(socket);
        deliver(engine, decoded);
    });
    // Bytes may already wait in the socket before the first readyRead connection.
    if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(socket, "readyRead", Qt::QueuedConnection);
}

void RecorderListener::deliver(Engine *engine, const QList<RecorderTapEvent> &events)
{
    const QPointer<RecorderListener> self(this);
    for (const RecorderTapEvent &event : events) {
        // A handler may stop the listener; then the rest is dropped with the engine.
        if (!self || m_engine.get() != engine)
            return;
        appendEvent(event);
    }
    if (self && m_engine.get() == engine)
        setConnected(!engine->connections.isEmpty());
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
