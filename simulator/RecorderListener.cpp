#include "RecorderListener.h"

#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// The TCP side: one server and the partial line of each open connection.
class RecorderListener::Engine
{
public:
    QTcpServer &server = *new QTcpServer;
    QHash<QTcpSocket *, QByteArray> pending;   // per connection: bytes after the last newline

    ~Engine()
    {
        // Tear down quietly: nothing may reach the owner while it drops the engine. The engine
        // may be dropped from one of its own signals, so the objects go later.
        server.disconnect();
        server.close();
        for (QTcpSocket *socket : pending.keys()) {
            socket->disconnect();
            socket->abort();
            socket->setParent(nullptr);
            socket->deleteLater();
        }
        pending.clear();
        server.deleteLater();
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

void RecorderListener::start()
{
    if (m_engine)
        return;
    m_engine = std::make_unique<Engine>();
    Engine *engine = m_engine.get();

    connect(&engine->server, &QTcpServer::newConnection, this, [this, engine] {
        while (QTcpSocket *socket = engine->server.nextPendingConnection()) {
            // A bounded read buffer keeps a flooding sender from growing our memory.
            socket->setReadBufferSize(maxLineLength * 2);
            engine->pending.insert(socket, QByteArray());

            connect(socket, &QTcpSocket::readyRead, this, [this, engine, socket] {
                const QPointer<RecorderListener> self(this);
                QList<RecorderTapEvent> decoded;
                bool overlong = false;
                QByteArray &buffer = engine->pending[socket];
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
                if (overlong) {
                    engine->pending.remove(socket);
                    socket->disconnect();
                    socket->abort();
                    socket->deleteLater();
                }
                for (const RecorderTapEvent &event : std::as_const(decoded)) {
                    // A handler may stop the listener; then the rest is dropped with the engine.
                    if (!self || m_engine.get() != engine)
                        return;
                    appendEvent(event);
                }
                if (self && m_engine.get() == engine)
                    setConnected(!engine->pending.isEmpty());
            });
            connect(socket, &QTcpSocket::disconnected, this, [this, engine, socket] {
                engine->pending.remove(socket);
                socket->disconnect();
                socket->deleteLater();
                setConnected(!engine->pending.isEmpty());
            });
            // Bytes may already wait in the socket before the first readyRead connection.
            if (socket->bytesAvailable() > 0)
                QMetaObject::invokeMethod(socket, "readyRead", Qt::QueuedConnection);
        }
        setConnected(!engine->pending.isEmpty());
    });

    if (engine->server.listen(QHostAddress::LocalHost, m_requestedPort)) {
        setBoundPort(engine->server.serverPort());
        setStatus(Status::listening());
    } else {
        setStatus(Status::failed(engine->server.errorString()));
    }
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
    m_events.append(event);
    Q_EMIT eventReceived(event);
    Q_EMIT eventsChanged();
}
