#pragma once

#include "RecorderTapEvent.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

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
        QString message;   // the platform's error text when failed

        static Status idle() { return {}; }
        static Status listening() { return {Kind::Listening, {}}; }
        static Status failed(const QString &message) { return {Kind::Failed, message}; }
        bool operator==(const Status &) const = default;
    };

    // A connection whose current line grows beyond this without a newline is closed.
    static constexpr qsizetype maxLineLength = 64 * 1024;

    explicit RecorderListener(QObject *parent = nullptr);
    ~RecorderListener() override;

    Status status() const { return m_status; }
    const QList<RecorderTapEvent> &events() const { return m_events; }
    bool isConnected() const { return m_isConnected; }
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

Q_SIGNALS:
    void statusChanged();
    void boundPortChanged();
    void isConnectedChanged(bool connected);
    void eventReceived(const RecorderTapEvent &event);
    void eventsChanged();

private:
    class Engine;

    void setStatus(const Status &status);
    void setBoundPort(std::optional<quint16> port);
    void setConnected(bool connected);
    void appendEvent(const RecorderTapEvent &event);
    QDateTime now() const;

    Status m_status;
    QList<RecorderTapEvent> m_events;
    bool m_isConnected = false;
    std::optional<quint16> m_boundPort;
    quint16 m_requestedPort = 0;
    std::function<QDateTime()> m_clock;
    std::unique_ptr<Engine> m_engine;
};
