#pragma once

#include <ShotStep.h>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class DriverSession;

// Replaces the selectors of coordinate taps and swipes by the accessibility identifiers of
// the elements under their points, found by replaying the steps through the interactive
// XCUITest driver in a simulator.
class StepResolver final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepResolver)

public:
    struct Status
    {
        enum class Kind { Idle, Running, Done, Failed };
        Kind kind = Kind::Idle;
        QString message;    // Running and Failed
        int steps = 0;      // Done: number of steps returned
        int upgraded = 0;   // Done: number of selectors replaced
        bool operator==(const Status &) const = default;
    };

    using Completion = std::function<void(std::optional<QList<ShotStepItem>>)>;

    explicit StepResolver(QObject *parent = nullptr);
    ~StepResolver() override;

    const Status &status() const { return m_status; }
    bool isRunning() const { return m_status.kind == Status::Kind::Running; }

    // Default: the simulator location setter's xcrun. Tests point it at a stand-in.
    void setXcrunPath(const QString &path) { m_xcrunPath = path; }
    void setReadyTimeoutMs(int ms) { m_readyTimeoutMs = ms; }
    void setCommandTimeoutMs(int ms) { m_commandTimeoutMs = ms; }

    // Asynchronous: `completion` gets the steps with upgraded selectors, or nothing when no
    // device was found or the driver did not get ready. A call while one runs gets nothing.
    void resolve(const QList<ShotStepItem> &steps, const QString &bundleID, Completion completion);

    // The device to drive, from the text of "xcrun simctl list devices available": a booted
    // iOS device first, else the last iPhone of the newest iOS runtime, else any iOS device.
    static std::optional<QString> pickDevice(const QString &listing);

Q_SIGNALS:
    void statusChanged();

private:
    void setStatus(const Status &status);
    QString deviceListing() const;
    void replayNext();
    void sendThenContinue(const QString &verb, const QString &argument);
    void finishDone();
    void finishFailed(const QString &message);

    Status m_status;
    QString m_xcrunPath;
    int m_readyTimeoutMs = 180000;
    int m_commandTimeoutMs = 60000;

    QList<ShotStepItem> m_steps;
    qsizetype m_next = 0;
    int m_upgraded = 0;
    Completion m_completion;
    QPointer<DriverSession> m_driver;
};
