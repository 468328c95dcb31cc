#include "LibcGerman.h"
#include "TimeBudget.h"

#include <RecorderListener.h>
#include <SocketErrorText.h>

#include <QDir>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>

#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {
QByteArray tap(const char *identifier, double nx, double ny)
{
    return QStringLiteral(R"({"kind":"tap","selector":"%1","identifier":"%1","label":"L %1","type":"UIButton","x":10,"y":20,"nx":%2,"ny":%3})")
               .arg(QLatin1String(identifier))
               .arg(nx)
               .arg(ny)
               .toUtf8()
        + '\n';
}

std::unique_ptr<QTcpSocket> connectTo(const RecorderListener &listener)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, *listener.boundPort());
    if (!socket->waitForConnected(5000))
        return nullptr;
    return socket;
}

// Clients that connect and then say nothing. Each knows it is connected before the listener
// looks, as the recorder library does (a Qt socket reset while it still waits for its connection
// never notices).
std::vector<std::unique_ptr<QTcpSocket>> silentClients(const RecorderListener &listener, int count)
{
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < count; ++i) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, *listener.boundPort());
        socket->waitForConnected(5000);
        clients.push_back(std::move(socket));
    }
    return clients;
}

// A blocking connection to the listener on the loopback interface, as a client outside Qt makes
// it; -1 when it fails. With `timeoutMs`, connecting and each send give up after that long.
int rawConnect(quint16 port, int timeoutMs = 0)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (timeoutMs > 0) {
        const timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The recorder library's socket (recorder.swift) as the listener meets it: a blocking
// connection made on first use; before each send it looks whether the listener has closed the
// connection, and then connects anew; a send that fails is made once more on a new connection.
// Without `looksFirst` it only resends, as the library did before it looked.
class RecorderLibraryClient final
{
public:
    explicit RecorderLibraryClient(quint16 port, bool looksFirst = true)
        : m_port(port)
        , m_looksFirst(looksFirst)
    {
    }
    ~RecorderLibraryClient() { disconnect(); }
    RecorderLibraryClient(const RecorderLibraryClient &) = delete;
    RecorderLibraryClient &operator=(const RecorderLibraryClient &) = delete;

    // True when the line was handed to the system on some connection.
    bool send(const QByteArray &line)
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (m_looksFirst && m_fd >= 0 && peerClosed())
                disconnect();
            if (!connect())
                return false;
            if (::send(m_fd, line.constData(), std::size_t(line.size()), MSG_NOSIGNAL) == line.size())
                return true;
            disconnect();
        }
        return false;
    }

    // The listener's end or its reset has arrived; looks without taking anything.
    bool closedByListener() const
    {
        pollfd watched{m_fd, POLLIN, 0};
        return m_fd >= 0 && ::poll(&watched, 1, 0) > 0;
    }
    int connections() const { return m_connections; }

private:
    bool peerClosed() const
    {
        char byte = 0;
        const ssize_t got = ::recv(m_fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        return got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
    }

    bool connect()
    {
        if (m_fd >= 0)
            return true;
        m_fd = rawConnect(m_port);
        if (m_fd < 0)
            return false;
        ++m_connections;
        return true;
    }

    void disconnect()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    quint16 m_port;
    bool m_looksFirst;
    int m_fd = -1;
    int m_connections = 0;
};

// Another local process that writes `line` over and over without pause, from its own thread,
// and connects again whenever the listener closes it, for `durationMs` or until destroyed.
class FloodingClient final
{
public:
    FloodingClient(quint16 port, const QByteArray &line, int durationMs)
        : m_thread([this, port, line, durationMs] { run(port, line, durationMs); })
    {
    }
    ~FloodingClient()
    {
        m_stop = true;
        m_thread.join();
    }
    FloodingClient(const FloodingClient &) = delete;
    FloodingClient &operator=(const FloodingClient &) = delete;

    int connections() const { return m_connections; }
    qint64 bytesSent() const { return m_bytesSent; }

private:
    void run(quint16 port, const QByteArray &line, int durationMs)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        const auto done = [&] { return m_stop || elapsed.hasExpired(durationMs); };
        QByteArray lines;
        while (lines.size() < 64 * 1024)
            lines += line;
        while (!done()) {
            // Short timeouts, so that a listener that stops reading does not keep the thread.
            const int fd = rawConnect(port, 50);
            if (fd < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            ++m_connections;
            qsizetype offset = 0; // lines are written whole, one after the other
            while (!done()) {
                const ssize_t sent = ::send(fd, lines.constData() + offset, std::size_t(lines.size() - offset), MSG_NOSIGNAL);
                if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                    continue;
                if (sent <= 0)
                    break;
                m_bytesSent += sent;
                offset = (offset + sent) % lines.size();
            }
            ::close(fd);
        }
    }

    std::atomic<bool> m_stop = false;
    std::atomic<int> m_connections = 0;
    std::atomic<qint64> m_bytesSent = 0;
    std::thread m_thread; // last: starts once the rest is set up
};

// The longest time between two timeouts of a timer on this thread that asks every 10 ms.
class PauseMeter final
{
public:
    PauseMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            m_longest = std::max(m_longest, m_sinceLast.restart());
        });
        m_sinceLast.start();
        m_timer.start();
    }
    qint64 longestMs() const { return std::max(m_longest, m_sinceLast.elapsed()); }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceLast;
    qint64 m_longest = 0;
};

qsizetype openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
} // namespace

class TestRecorderListener : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newListenerIsIdle()
    {
        RecorderListener listener;
        QCOMPARE(listener.status(), RecorderListener::Status::idle());
        QVERIFY((listener.eventCount() == 0));
        QVERIFY(!listener.isConnected());
        QVERIFY(!listener.boundPort());
        QVERIFY(!listener.hasEngine());
    }

    void decodesEvents_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("decodes");

        QTest::newRow("full") << QByteArray(R"({"kind":"tap","selector":"s","identifier":"i","label":"l","type":"t","x":1,"y":2,"nx":0.5,"ny":0.25})") << true;
        QTest::newRow("only point") << QByteArray(R"({"kind":"tap","nx":0,"ny":1})") << true;
        QTest::newRow("other kind") << QByteArray(R"({"kind":"swipe","nx":0.5,"ny":0.5})") << false;
        QTest::newRow("no kind") << QByteArray(R"({"nx":0.5,"ny":0.5})") << false;
        QTest::newRow("point as text") << QByteArray(R"({"kind":"tap","nx":"0.5","ny":0.5})") << false;
        QTest::newRow("no ny") << QByteArray(R"({"kind":"tap","nx":0.5})") << false;
        QTest::newRow("array") << QByteArray(R"([1,2])") << false;
        QTest::newRow("broken") << QByteArray(R"({"kind":"tap",)") << false;
    }
    void decodesEvents()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, decodes);
        const QDateTime when = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        const auto event = RecorderTapEvent::decode(line, when);
        QCOMPARE(event.has_value(), decodes);
        if (event) {
            QVERIFY(!event->id.isNull());
            QCOMPARE(event->receivedAt, when);
        }
    }

    void receivesTwoEventsInOnePacket()
    {
        RecorderListener listener;
        const QDateTime fixed = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        listener.setClock([fixed] { return fixed; });
        QSignalSpy status(&listener, &RecorderListener::statusChanged);
        listener.start();
        QCOMPARE(listener.status(), RecorderListener::Status::listening());
        QVERIFY(listener.boundPort().has_value());
        QVERIFY(*listener.boundPort() != 0);
        QCOMPARE(status.count(), 1);

        auto socket = connectTo(listener);
        QVERIFY(socket);
        QTRY_VERIFY(listener.isConnected());
        socket->write(tap("first", 0.25, 0.5) + tap("second", 0.75, 0.125));
        socket->flush();
        QTRY_COMPARE(listener.eventCount(), 2);
        const RecorderTapEvent &first = listener.pendingEvents().at(0);
        QCOMPARE(first.identifier, QStringLiteral("first"));
        QCOMPARE(first.selector, QStringLiteral("first"));
        QCOMPARE(first.label, QStringLiteral("L first"));
        QCOMPARE(first.type, QStringLiteral("UIButton"));
        QCOMPARE(first.x, 10.0);
        QCOMPARE(first.y, 20.0);
        QCOMPARE(first.nx, 0.25);
        QCOMPARE(first.ny, 0.5);
        QCOMPARE(first.receivedAt, fixed);
        QCOMPARE(listener.pendingEvents().at(1).identifier, QStringLiteral("second"));
        QVERIFY(first.id != listener.pendingEvents().at(1).id);
    }

    void dropsUndecodableLineAndJoinsSplitLines()
    {
        RecorderListener listener;
        listener.start();
        auto socket = connectTo(listener);
        QVERIFY(socket);
        const QByteArray second = tap("b", 0.5, 0.5);
        socket->write(tap("a", 0.1, 0.1) + "not json at all\n" + second.left(10));
        socket->flush();
        QTRY_COMPARE(listener.eventCount(), 1);
        socket->write(second.mid(10));
        socket->flush();
        QTRY_COMPARE(listener.eventCount(), 2);
        QCOMPARE(listener.pendingEvents().at(0).identifier, QStringLiteral("a"));
        QCOMPARE(listener.pendingEvents().at(1).identifier, QStringLiteral("b"));
    }

    void connectionClosedAndReopened()
    {
        RecorderListener listener;
        listener.start();
        QSignalSpy connected(&listener, &RecorderListener::isConnectedChanged);
        auto first = connectTo(listener);
        QVERIFY(first);
        QTRY_VERIFY(listener.isConnected());
        first->write(tap("one", 0.1, 0.1));
        first->flush();
        QTRY_COMPARE(listener.eventCount(), 1);
        first->disconnectFromHost();
        QTRY_VERIFY(!listener.isConnected());

        auto second = connectTo(listener);
        QVERIFY(second);
        QTRY_VERIFY(listener.isConnected());
        second->write(tap("two", 0.2, 0.2));
        second->flush();
        QTRY_COMPARE(listener.eventCount(), 2);
        QCOMPARE(connected.count(), 3);
        QCOMPARE(listener.status(), RecorderListener::Status::listening());
    }

    void overlongLineClosesTheConnection()
    {
        RecorderListener listener;
        listener.start();
        auto socket = connectTo(listener);
        QVERIFY(socket);
        QTRY_VERIFY(listener.isConnected());
        socket->write(tap("before", 0.1, 0.1));
        const QByteArray endless(RecorderListener::maxLineLength + 1024, 'x');
        socket->write(endless);
        socket->flush();
        QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QAbstractSocket::UnconnectedState, 5000);
        QTRY_VERIFY(!listener.isConnected());
        QCOMPARE(listener.eventCount(), 1);
        // The listener still serves new connections.
        auto next = connectTo(listener);
        QVERIFY(next);
        next->write(tap("after", 0.2, 0.2));
        next->flush();
        QTRY_COMPARE(listener.eventCount(), 2);
    }

    // The recorder library sends only taps; a connection that keeps sending other lines is
    // another local process and is closed. What it sent before is kept.
    void strayLinesPastTheLimitCloseTheConnection_data()
    {
        QTest::addColumn<QByteArray>("stray");
        QTest::addColumn<qsizetype>("count");
        QTest::addColumn<bool>("closes");
        QTest::newRow("up to the limit") << QByteArray("not json\n") << RecorderListener::maxStrayLines << false;
        QTest::newRow("one past the limit") << QByteArray("not json\n") << RecorderListener::maxStrayLines + 1 << true;
        QTest::newRow("empty lines") << QByteArray("\n") << RecorderListener::maxStrayLines + 1 << true;
        QTest::newRow("other kinds") << QByteArray(R"({"kind":"swipe","nx":0.5,"ny":0.5})" "\n")
                                     << RecorderListener::maxStrayLines + 1 << true;
    }
    void strayLinesPastTheLimitCloseTheConnection()
    {
        QFETCH(QByteArray, stray);
        QFETCH(qsizetype, count);
        QFETCH(bool, closes);
        RecorderListener listener;
        listener.start();
        auto socket = connectTo(listener);
        QVERIFY(socket);
        QTRY_VERIFY(listener.isConnected());
        socket->write(tap("before", 0.1, 0.1) + stray.repeated(count) + tap("after", 0.2, 0.2));
        socket->flush();
        if (closes) {
            QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QAbstractSocket::UnconnectedState, 5000);
            QTRY_VERIFY(!listener.isConnected());
            QCOMPARE(listener.eventCount(), 1);
        } else {
            QTRY_COMPARE(listener.eventCount(), 2);
            QTest::qWait(50);
            QCOMPARE(socket->state(), QAbstractSocket::ConnectedState);
        }
        QCOMPARE(listener.pendingEvents().first().identifier, QStringLiteral("before"));
    }

    void secondStartDoesNothingAndStopKeepsEvents()
    {
        RecorderListener listener;
        listener.start();
        const auto port = listener.boundPort();
        QSignalSpy status(&listener, &RecorderListener::statusChanged);
        listener.start();
        QCOMPARE(listener.boundPort(), port);
        QCOMPARE(status.count(), 0);

        auto socket = connectTo(listener);
        QVERIFY(socket);
        socket->write(tap("kept", 0.3, 0.3));
        socket->flush();
        QTRY_COMPARE(listener.eventCount(), 1);
        QTRY_VERIFY(listener.isConnected());

        listener.stop();
        QCOMPARE(listener.status(), RecorderListener::Status::idle());
        QVERIFY(!listener.isConnected());
        QVERIFY(!listener.boundPort());
        QVERIFY(!listener.hasEngine());
        QCOMPARE(listener.eventCount(), 1);
        QTRY_COMPARE(socket->state(), QAbstractSocket::UnconnectedState);

        listener.start();
        QCOMPARE(listener.status(), RecorderListener::Status::listening());
        QCOMPARE(listener.eventCount(), 1);
    }

    void stopFromAnEventHandler()
    {
        RecorderListener listener;
        listener.start();
        connect(&listener, &RecorderListener::eventReceived, &listener, [&] { listener.stop(); });
        auto socket = connectTo(listener);
        QVERIFY(socket);
        socket->write(tap("a", 0.1, 0.1) + tap("b", 0.2, 0.2));
        socket->flush();
        QTRY_COMPARE(listener.eventCount(), 1);
        QTest::qWait(50);
        QCOMPARE(listener.eventCount(), 1);
        QCOMPARE(listener.status(), RecorderListener::Status::idle());
    }

    // The recorder takes events as they come; the listener keeps only those not yet taken.
    void keepsOnlyEventsNotYetConsumed()
    {
        RecorderListener listener;
        listener.start();
        auto socket = connectTo(listener);
        QVERIFY(socket);
        socket->write(tap("a", 0.1, 0.1) + tap("b", 0.2, 0.2) + tap("c", 0.3, 0.3));
        socket->flush();
        QTRY_COMPARE(listener.eventCount(), 3);

        listener.releaseEventsBefore(2);
        QCOMPARE(listener.consumedCount(), 2);
        QCOMPARE(listener.eventCount(), 3);
        QCOMPARE(listener.pendingEvents().size(), 1);
        QCOMPARE(listener.pendingEvents().first().identifier, QStringLiteral("c"));
        listener.releaseEventsBefore(1);   // already released: nothing changes
        QCOMPARE(listener.pendingEvents().size(), 1);

        socket->write(tap("d", 0.4, 0.4));
        socket->flush();
        QTRY_COMPARE(listener.eventCount(), 4);
        listener.releaseEventsBefore(100);
        QVERIFY(listener.pendingEvents().isEmpty());
        QCOMPARE(listener.eventCount(), 4);
        QCOMPARE(listener.consumedCount(), 4);
    }

    // Nobody consuming (a stalled window) must not grow memory either: the oldest go.
    void pendingEventsAreCapped()
    {
        RecorderListener listener;
        listener.start();
        auto socket = connectTo(listener);
        QVERIFY(socket);
        const qsizetype total = RecorderListener::maxPendingEvents + 5;
        QByteArray lines;
        for (qsizetype i = 0; i < total; ++i)
            lines += tap(i == 5 ? "sixth" : "x", 0.5, 0.5);
        socket->write(lines);
        socket->flush();
        QTRY_COMPARE_WITH_TIMEOUT(listener.eventCount(), total, 10000);
        QCOMPARE(listener.pendingEvents().size(), RecorderListener::maxPendingEvents);
        QCOMPARE(listener.consumedCount(), 5);
        QCOMPARE(listener.pendingEvents().first().identifier, QStringLiteral("sixth"));
    }

    // Silent connections must not lock the recorder out: at most eight are open, silent ones
    // are closed after the idle time, and one that delivered taps stays open beyond it.
    void silentConnectionsAreCappedAndClosed()
    {
        RecorderListener listener;
        listener.setIdleTimeoutMs(300);
        listener.start();
        const auto silent = silentClients(listener, 20);
        QTRY_COMPARE(listener.connectionCount(), RecorderListener::maxConnections);
        QTest::qWait(100);
        QCOMPARE(listener.connectionCount(), RecorderListener::maxConnections);

        auto recorder = connectTo(listener);
        QVERIFY(recorder);
        recorder->write(tap("first", 0.1, 0.1));
        recorder->flush();
        QTRY_COMPARE_WITH_TIMEOUT(listener.eventCount(), 1, 10000);
        for (const auto &client : silent)
            QTRY_COMPARE_WITH_TIMEOUT(client->state(), QAbstractSocket::UnconnectedState, 10000);

        QTest::qWait(600);
        QCOMPARE(recorder->state(), QAbstractSocket::ConnectedState);
        QCOMPARE(listener.connectionCount(), 1);
        recorder->write(tap("second", 0.2, 0.2));
        recorder->flush();
        QTRY_COMPARE(listener.eventCount(), 2);
    }

    // Eight connections that each delivered a tap (stale ones from earlier launches, or a local
    // process) must not lock the recorder out: a new client takes the place of the one silent
    // longest.
    void newClientTakesThePlaceOfTheLongestSilent()
    {
        RecorderListener listener;
        listener.setRecentTapMs(300);
        listener.start();
        std::vector<std::unique_ptr<QTcpSocket>> stale;
        for (qsizetype i = 0; i < RecorderListener::maxConnections; ++i) {
            auto socket = connectTo(listener);
            QVERIFY(socket);
            socket->write(tap("stale", 0.1, 0.1));
            socket->flush();
            QTRY_COMPARE(listener.eventCount(), i + 1); // one after the other: silent longest first
            stale.push_back(std::move(socket));
        }
        QTest::qWait(400); // none of them tapped recently any more
        stale.front()->write(tap("again", 0.2, 0.2)); // the oldest spoke again: now the second is silent longest
        stale.front()->flush();
        QTRY_COMPARE(listener.eventCount(), RecorderListener::maxConnections + 1);

        auto recorder = connectTo(listener);
        QVERIFY(recorder);
        recorder->write(tap("recorder", 0.5, 0.5));
        recorder->flush();
        QTRY_COMPARE_WITH_TIMEOUT(listener.eventCount(), RecorderListener::maxConnections + 2, 5000);
        QCOMPARE(listener.pendingEvents().last().identifier, QStringLiteral("recorder"));
        QTRY_COMPARE(stale.at(1)->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(listener.connectionCount(), RecorderListener::maxConnections);
        for (std::size_t i = 0; i < stale.size(); ++i) {
            if (i != 1)
                QVERIFY2(stale.at(i)->state() == QAbstractSocket::ConnectedState, qPrintable(QString::number(i)));
        }
    }

    // A connection that tapped within the last few seconds is never the one closed, even when
    // it has been silent longest; while all places are held by such, a new client waits.
    void recentTapperKeepsItsPlace()
    {
        RecorderListener listener;
        listener.setRecentTapMs(1500);
        listener.start();
        auto recorder = connectTo(listener);
        QVERIFY(recorder);
        recorder->write(tap("recorder", 0.1, 0.1));
        recorder->flush();
        QTRY_COMPARE(listener.eventCount(), 1);
        const auto silent = silentClients(listener, int(RecorderListener::maxConnections) - 1);
        QTRY_COMPARE(listener.connectionCount(), RecorderListener::maxConnections);

        // Each newcomer closes a silent one, oldest first; the recorder stays.
        const qsizetype descriptors = openDescriptors();
        auto newcomers = silentClients(listener, 3);
        QTRY_COMPARE(silent.at(2)->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(silent.at(0)->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(silent.at(1)->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(recorder->state(), QAbstractSocket::ConnectedState);
        QCOMPARE(listener.connectionCount(), RecorderListener::maxConnections);
        // Many more, gone again: no descriptor stays behind.
        for (int round = 0; round < 10; ++round) {
            auto burst = silentClients(listener, 20);
            QTRY_VERIFY(std::all_of(burst.cbegin(), burst.cend() - 8, [](const auto &client) {
                return client->state() == QAbstractSocket::UnconnectedState;
            }));
        }
        QCOMPARE(recorder->state(), QAbstractSocket::ConnectedState);
        newcomers.clear();
        QTRY_VERIFY(openDescriptors() <= descriptors);

        // All places held by recent tappers: the next client waits until one stops being one.
        std::vector<std::unique_ptr<QTcpSocket>> tappers;
        tappers.push_back(std::move(recorder));
        for (qsizetype i = 1; i < RecorderListener::maxConnections; ++i) {
            auto socket = connectTo(listener);
            QVERIFY(socket);
            tappers.push_back(std::move(socket));
        }
        for (const auto &socket : tappers) {
            socket->write(tap("tapper", 0.3, 0.3));
            socket->flush();
        }
        QTRY_COMPARE(listener.eventCount(), 1 + RecorderListener::maxConnections);
        QTRY_COMPARE(listener.connectionCount(), RecorderListener::maxConnections);
        auto waiting = connectTo(listener);
        QVERIFY(waiting);
        waiting->write(tap("waiting", 0.4, 0.4));
        waiting->flush();
        QTest::qWait(300);
        QCOMPARE(listener.eventCount(), 1 + RecorderListener::maxConnections);
        for (const auto &socket : tappers)
            QCOMPARE(socket->state(), QAbstractSocket::ConnectedState);
        QTRY_COMPARE_WITH_TIMEOUT(listener.eventCount(), 2 + RecorderListener::maxConnections, 5000);
        QCOMPARE(listener.pendingEvents().last().identifier, QStringLiteral("waiting"));
        QCOMPARE(listener.connectionCount(), RecorderListener::maxConnections);
    }

    // The recorder, silent past the limit, loses its place to newcomers; its next tap still
    // arrives: the reset makes even a send that does not look first fail, so it is made again
    // on a new connection.
    void tapAfterLosingThePlaceArrives_data()
    {
        QTest::addColumn<bool>("looksFirst");
        QTest::newRow("looks before sending") << true;
        QTest::newRow("only resends") << false;
    }
    void tapAfterLosingThePlaceArrives()
    {
        QFETCH(bool, looksFirst);
        RecorderListener listener;
        listener.setRecentTapMs(200);
        listener.start();
        RecorderLibraryClient recorder(*listener.boundPort(), looksFirst);
        QVERIFY(recorder.send(tap("first", 0.1, 0.1)));
        QTRY_COMPARE(listener.eventCount(), 1);
        QTest::qWait(300);

        const auto newcomers = silentClients(listener, int(RecorderListener::maxConnections));
        QTRY_VERIFY(recorder.closedByListener());
        QVERIFY(recorder.send(tap("second", 0.2, 0.2)));
        QTRY_COMPARE_WITH_TIMEOUT(listener.eventCount(), 2, 5000);
        QCOMPARE(listener.pendingEvents().last().identifier, QStringLiteral("second"));
        QCOMPARE(recorder.connections(), 2);
        QCOMPARE(listener.connectionCount(), RecorderListener::maxConnections);
    }

    // Taps sent before the listener got round to reading them, by clients arriving in one
    // batch with others that push the count over the limit: every one arrives, round after round.
    void tapsOfABatchOverTheLimitArrive_data()
    {
        QTest::addColumn<int>("tappers");
        QTest::newRow("a fresh tapper, then eight silent clients") << 1;
        QTest::newRow("nine tappers") << 9;
    }
    void tapsOfABatchOverTheLimitArrive()
    {
        QFETCH(int, tappers);
        constexpr int rounds = 100;
        int lost = 0;
        for (int round = 0; round < rounds; ++round) {
            RecorderListener listener;
            listener.start();
            std::vector<std::unique_ptr<RecorderLibraryClient>> senders;
            for (int i = 0; i < tappers; ++i) {
                senders.push_back(std::make_unique<RecorderLibraryClient>(*listener.boundPort()));
                QVERIFY(senders.back()->send(tap("tapper", 0.5, 0.5)));
            }
            const auto silent = silentClients(listener, int(RecorderListener::maxConnections) + 1 - tappers);
            // Settled: every tap is in, or a sender was closed with its tap unread.
            QTRY_VERIFY(listener.eventCount() == tappers
                        || std::any_of(senders.cbegin(), senders.cend(), [](const auto &sender) { return sender->closedByListener(); }));
            lost += tappers - int(listener.eventCount());
        }
        qInfo("%d of %d taps lost", lost, rounds * tappers);
        QCOMPARE(lost, 0);
    }

    // Local processes that write without pause (one lines that are not taps, one taps) must not
    // hold the event loop, also not while clients come and go past the limit or time out; a
    // recorder that connects meanwhile gets its tap through.
    void floodingClientsDoNotHoldTheEventLoop()
    {
        RecorderListener listener;
        listener.setIdleTimeoutMs(1000);
        listener.start();
        const quint16 port = *listener.boundPort();
        QElapsedTimer sinceStart;
        sinceStart.start();
        qint64 recorderTapAtMs = -1;
        connect(&listener, &RecorderListener::eventReceived, &listener, [&](const RecorderTapEvent &event) {
            if (event.identifier == QLatin1String("recorder") && recorderTapAtMs < 0)
                recorderTapAtMs = sinceStart.elapsed();
        });

        constexpr int floodMs = 5000;
        PauseMeter meter;
        std::atomic<bool> recorderSent = false;
        std::vector<int> others;
        qint64 longestPauseMs = 0;
        {
            FloodingClient junk(port, "x\n", floodMs);
            FloodingClient taps(port, R"({"kind":"tap","nx":0.5,"ny":0.5})" "\n", floodMs);
            // Nine others, one after the other, the last one the recorder with its tap.
            std::thread arrivals([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                for (int i = 0; i < 8; ++i) {
                    others.push_back(rawConnect(port, 1000));
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
                RecorderLibraryClient recorder(port);
                recorderSent = recorder.send(tap("recorder", 0.5, 0.5));
                std::this_thread::sleep_for(std::chrono::milliseconds(floodMs - 1000));
            });
            QTest::qWait(floodMs);
            longestPauseMs = meter.longestMs();
            arrivals.join();
            qInfo("longest pause of the event loop: %lld ms; flooders connected %d and %d times, sent %lld and %lld bytes",
                  longestPauseMs, junk.connections(), taps.connections(), junk.bytesSent(), taps.bytesSent());
        }
        for (const int fd : others) {
            if (fd >= 0)
                ::close(fd);
        }
        QVERIFY(recorderSent);
        QVERIFY2(longestPauseMs < TimeBudget::scaled(100), qPrintable(QString::number(longestPauseMs)));
        QVERIFY2(recorderTapAtMs >= 0 && recorderTapAtMs < floodMs, qPrintable(QString::number(recorderTapAtMs)));
    }

    // Out of file descriptors: accepting pauses without spinning and resumes afterwards.
    void acceptErrorPausesAndRetries()
    {
        RecorderListener listener;
        listener.setIdleTimeoutMs(300);
        listener.start();
        // Connected by the system but not yet accepted: the event loop has not run.
        auto silent = silentClients(listener, 6);
        for (const auto &client : silent)
            QVERIFY(client->waitForConnected(5000));

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_NOFILE, &saved), 0);
        const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_NOFILE, &saved); });
        rlimit low = saved;
        low.rlim_cur = rlim_t(openDescriptors() + 2);
        QCOMPARE(setrlimit(RLIMIT_NOFILE, &low), 0);

        const double before = cpuSeconds();
        QTest::qWait(500);
        const double busy = cpuSeconds() - before;
        QVERIFY2(busy < 0.25, qPrintable(QString::number(busy)));
        QVERIFY(listener.connectionCount() < 6);
        QCOMPARE(setrlimit(RLIMIT_NOFILE, &saved), 0);

        auto recorder = connectTo(listener);
        QVERIFY(recorder);
        recorder->write(tap("after", 0.5, 0.5));
        recorder->flush();
        QTRY_COMPARE_WITH_TIMEOUT(listener.eventCount(), 1, 10000);
        QCOMPARE(listener.status(), RecorderListener::Status::listening());
    }

    // In German whatever the locale: Qt's own text would be English.
    void bindingFailureIsReported()
    {
        const QString german = libcGerman("Address already in use");
        QVERIFY2(!german.isEmpty(), "libc-l10n's German catalogue is missing: run scripts/setup.sh");
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const auto restore = qScopeGuard([&] { QLocale::setDefault(saved); });
        RecorderListener listener;
        listener.setRequestedPort(taken.serverPort());
        listener.start();
        QCOMPARE(listener.status().kind, RecorderListener::Status::Kind::Failed);
        QCOMPARE(listener.status().message, german);
        QVERIFY(!listener.boundPort());
        listener.stop();
        QCOMPARE(listener.status(), RecorderListener::Status::idle());
    }

    // Socket errors that stand for one error number take the C library's German text of it.
    void socketErrorsWithAnErrorNumber_data()
    {
        QTest::addColumn<QAbstractSocket::SocketError>("error");
        QTest::addColumn<QString>("german");
        QTest::newRow("address in use") << QAbstractSocket::AddressInUseError << libcGerman("Address already in use");
        QTest::newRow("access") << QAbstractSocket::SocketAccessError << libcGerman("Permission denied");
        QTest::newRow("address not available") << QAbstractSocket::SocketAddressNotAvailableError
                                               << libcGerman("Cannot assign requested address");
    }
    void socketErrorsWithAnErrorNumber()
    {
        QFETCH(QAbstractSocket::SocketError, error);
        QFETCH(QString, german);
        QVERIFY2(!german.isEmpty(), "libc-l10n's German catalogue is missing: run scripts/setup.sh");
        QCOMPARE(SocketErrorText::of(error), german);
    }
};

QTEST_GUILESS_MAIN(TestRecorderListener)
#include "tst_recorderlistener.moc"
