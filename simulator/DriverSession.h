#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class ChildProcessRun;

// The interactive XCUITest driver: its generated project in "<work>/SimDriver/project", its
// `xcodebuild test` process (output to "driver.log") and the file protocol in the runner's
// Documents folder: "cmd.txt" ("<seq>|<VERB>|<arg>"), "state.txt" ("SEQ <seq>" and the
// element tree) and "ready.txt". State files are polled.
class DriverSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DriverSession)

public:
    using StateHandler = std::function<void(std::optional<QString> tree)>;

    explicit DriverSession(QObject *parent = nullptr);
    // Ends the driver process if it still runs.
    ~DriverSession() override;

    void setReadyTimeoutMs(int ms) { m_readyTimeoutMs = ms; }
    void setCommandTimeoutMs(int ms) { m_commandTimeoutMs = ms; }
    void setPollIntervalMs(int ms) { m_poll.setInterval(ms); }

    QString workFolder() const { return m_workFolder; }
    QString projectFolder() const;
    QString derivedDataFolder() const;
    QString logPath() const;
    // Known once the driver printed it to its log.
    QString documentsPath() const { return m_documentsPath; }

    // Writes the driver project and starts it on the device for the app. Reports `ready` once
    // "ready.txt" appears, or `failed` when the project cannot be written, the process ends
    // first or the ready timeout passes.
    void start(const QString &deviceID, const QString &bundleID);
    // Writes the next command and hands the element tree of the matching state to `handler`,
    // or nothing when no answer came in time.
    void send(const QString &verb, const QString &argument, StateHandler handler);
    // Ends the driver process (and everything it started); a pending handler is dropped.
    void stop();

    // "/usr/bin:/bin:/usr/sbin:/sbin:" followed by the inherited search path, if any.
    static QString searchPath(const QString &inherited);

Q_SIGNALS:
    void ready();
    // The driver could not start, ended early or did not get ready in time.
    void failed();

private:
    void poll();
    void pollReady();
    void pollState();
    void fail();

    enum class Stage { Idle, Starting, Ready, Ended };

    QString m_workFolder;
    QString m_documentsPath;
    Stage m_stage = Stage::Idle;
    std::unique_ptr<ChildProcessRun> m_process;
    QTimer m_poll;
    QElapsedTimer m_clock;
    int m_readyTimeoutMs = 180000;
    int m_commandTimeoutMs = 60000;
    int m_sequence = 0;
    StateHandler m_pending;
};
