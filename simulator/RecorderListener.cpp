#include "RecorderListener.h"

#include "SocketErrorText.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <utility>

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
        qsizetype strayLines = 0;     // lines so far that were not taps
    };

    RecorderListener &owner;
    QTcpServer &server = *new QTcpServer;
    QTimer &retryTimer = *new QTimer(&server);
    // Runs while every place is held by a recent tapper, until the first of them stops being one.
    QTimer &roomTimer = *new QTimer(&server);
    // Connections whose socket still held bytes at the end of a pass; the next pass reads on.
    QSet<QTcpSocket *> unfinished;
    QTimer &resumeTimer = *new QTimer(&server);
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
        resumeTimer.setSingleShot(true);
        resumeTimer.setInterval(0);
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
        resumeTimer.disconnect();
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
    // `decoded`. False when a line grows beyond maxLineLength or too many lines were not taps.
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
            else if (++connection.strayLines > maxStrayLines)
                return false;
            from = newline + 1;
        }
        buffer.remove(0, from);
        return buffer.size() <= maxLineLength;
    }

    // Reads up to `budget` bytes of what the connection has: first what its socket holds, then,
    // with `fromSystem`, what still waits in the system's receive queue, which the socket would
    // only read on its next notification. What the socket still holds afterwards is read in the
    // next pass; what stays in the system's queue comes with the socket's next notification.
    // False when the connection sent more than a recorder would.
    bool read(QTcpSocket *socket, Connection &connection, qsizetype budget, bool fromSystem,
              QList<RecorderTapEvent> &decoded)
    {
        const qsizetype before = decoded.size();
        bool fits = true;
        while (fits && budget > 0 && socket->bytesAvailable() > 0) {
            const QByteArray bytes = socket->read(budget);
            if (bytes.isEmpty())
                break;
            budget -= bytes.size();
            fits = take(connection, bytes, decoded);
        }
        const qintptr descriptor = socket->socketDescriptor();
        if (fits && socket->bytesAvailable() > 0) {
            // Nothing new may come to say so: the socket's buffer may be full, or the peer done.
            unfinished.insert(socket);
            resumeTimer.start();
        } else if (fromSystem && descriptor >= 0) {
            // Only behind what the socket held, so that the bytes stay in order.
            std::array<char, readBudget> chunk;
            while (fits && budget > 0) {
                const std::size_t wanted = std::size_t(std::min<qsizetype>(budget, qsizetype(chunk.size())));
                const ssize_t got = ::recv(int(descriptor), chunk.data(), wanted, MSG_DONTWAIT);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0)
                    break; // nothing more for now, or the peer's end, which the socket sees itself
                budget -= got;
                fits = take(connection, QByteArrayView(chunk.data(), got), decoded);
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
        unfinished.remove(socket);
        closeQuietly(socket);
        updateAccepting();
    }

    // One pass over what the connection's socket holds.
    void readSocket(QTcpSocket *socket, QList<RecorderTapEvent> &decoded)
    {
        const auto found = connections.find(socket);
        if (found == connections.end())
            return;
        const qsizetype before = decoded.size();
        if (!read(socket, *found, readBudget, false, decoded))
            drop(socket);
        else if (decoded.size() > before)
            updateAccepting(); // it may have been the last one that could make room
    }

    // `newcomer` took the place over the limit. Everyone's pending bytes are read first (once
    // per pass, as `readInPass` keeps count), so that a tap not yet read counts as recent and is
    // never closed away unread; then the connection silent longest goes, or the newcomer when
    // every other one tapped recently.
    void makeRoom(QTcpSocket *newcomer, QSet<QTcpSocket *> &readInPass, QList<RecorderTapEvent> &decoded)
    {
        for (auto it = connections.begin(); it != connections.end();) {
            if (readInPass.contains(it.key())) {
                ++it;
                continue;
            }
            readInPass.insert(it.key());
            if (read(it.key(), it.value(), readBudget, true, decoded)) {
                ++it;
                continue;
            }
            unfinished.remove(it.key());
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
        QSet<QTcpSocket *> readInPass;
        while (QTcpSocket *socket = engine->server.nextPendingConnection()) {
            adoptConnection(engine, socket);
            if (engine->connections.size() > maxConnections)
                engine->makeRoom(socket, readInPass, decoded);
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
    connect(&engine->resumeTimer, &QTimer::timeout, this, [this, engine] {
        QList<RecorderTapEvent> decoded;
        for (QTcpSocket *socket : std::exchange(engine->unfinished, {}))
            engine->readSocket(socket, decoded);
        deliver(engine, decoded);
    });

    if (engine->server.listen(QHostAddress::LocalHost, m_requestedPort)) {
        setBoundPort(engine->server.serverPort());
        setStatus(Status::listening());
    } else {
        setStatus(Status::failed(SocketErrorText::of(engine->server.serverError())));
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
        if (!engine->read(socket, *found, readBudget, true, decoded) || !found->tappedAtMs)
            engine->drop(socket);
        deliver(engine, decoded);
    });
    connection.idleTimer->start(m_idleTimeoutMs);
    connection.heard = ++engine->heardCount;
    engine->connections.insert(socket, connection);

    connect(socket, &QTcpSocket::readyRead, this, [this, engine, socket] {
        QList<RecorderTapEvent> decoded;
        engine->readSocket(socket, decoded);
        deliver(engine, decoded);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, engine, socket] {
        const auto found = engine->connections.find(socket);
        if (found == engine->connections.end())
            return;
        // What it sent last is read whole: its socket holds no more than its read buffer.
        QList<RecorderTapEvent> decoded;
        engine->read(socket, *found, socket->bytesAvailable(), false, decoded);
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
