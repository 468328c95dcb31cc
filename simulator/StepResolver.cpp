#include "StepResolver.h"

#include "DriverSession.h"
#include "ScreenElement.h"
#include "SimulatorLocation.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QVersionNumber>

namespace {
const QString driverNotReady = QStringLiteral("XCUITest-Treiber wurde nicht bereit");
// A recorded wait is replayed, but never holds the driver longer than this.
constexpr int longestWaitMs = 30000;

QString pointArgument(const NormPoint &point)
{
    return QString::number(point.x) + u',' + QString::number(point.y);
}
} // namespace

StepResolver::StepResolver(QObject *parent)
    : QObject(parent)
    , m_xcrunPath(SimulatorLocation::xcrunPath())
{
}

StepResolver::~StepResolver() = default;

void StepResolver::setStatus(const Status &status)
{
    if (m_status == status)
        return;
    m_status = status;
    Q_EMIT statusChanged();
}

std::optional<QString> StepResolver::pickDevice(const QString &listing)
{
    static const QRegularExpression section(QStringLiteral(R"(^-- (\S+) ([0-9][0-9.]*) --\s*$)"));
    static const QRegularExpression device(
        QStringLiteral(R"(^\s+(.+?) \(([0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})\) \(([^)]*)\))"));

    std::optional<QString> booted;
    std::optional<QString> newestPhone;
    QVersionNumber newestPhoneVersion;
    std::optional<QString> anyDevice;
    bool inIOS = false;
    QVersionNumber version;
    for (const QString &line : listing.split(u'\n')) {
        if (line.startsWith(QStringLiteral("--"))) {
            const auto match = section.match(line);
            inIOS = match.hasMatch() && match.captured(1) == u"iOS";
            version = inIOS ? QVersionNumber::fromString(match.captured(2)) : QVersionNumber();
            continue;
        }
        if (!inIOS)
            continue;
        const auto match = device.match(line);
        if (!match.hasMatch())
            continue;
        const QString id = match.captured(2);
        if (match.captured(3) == u"Booted" && !booted)
            booted = id;
        if (match.captured(1).startsWith(QStringLiteral("iPhone")) && version >= newestPhoneVersion) {
            newestPhone = id;
            newestPhoneVersion = version;
        }
        if (!anyDevice)
            anyDevice = id;
    }
    if (booted)
        return booted;
    if (newestPhone)
        return newestPhone;
    return anyDevice;
}

// A short child process, waited for in place.
QString StepResolver::deviceListing() const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(m_xcrunPath, {QStringLiteral("simctl"), QStringLiteral("list"), QStringLiteral("devices"),
                                QStringLiteral("available")});
    if (!process.waitForStarted(5000))
        return {};
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

void StepResolver::resolve(const QList<ShotStepItem> &steps, const QString &bundleID, Completion completion)
{
    if (isRunning()) {
        QTimer::singleShot(0, this, [completion = std::move(completion)] {
            if (completion)
                completion(std::nullopt);
        });
        return;
    }
    m_completion = std::move(completion);
    setStatus({Status::Kind::Running, QStringLiteral("Gerät wählen…"), 0, 0});

    const std::optional<QString> device = pickDevice(deviceListing());
    if (!device) {
        QTimer::singleShot(0, this, [this] { finishFailed(QStringLiteral("Kein passendes Simulator-Gerät gefunden")); });
        return;
    }

    m_steps = steps;
    m_next = 0;
    m_upgraded = 0;
    setStatus({Status::Kind::Running, QStringLiteral("XCUITest-Treiber startet (erster Lauf kann dauern)…"), 0, 0});

    auto *driver = new DriverSession(this);
    driver->setReadyTimeoutMs(m_readyTimeoutMs);
    driver->setCommandTimeoutMs(m_commandTimeoutMs);
    connect(driver, &DriverSession::ready, this, &StepResolver::replayNext);
    connect(driver, &DriverSession::failed, this, [this] { finishFailed(driverNotReady); });
    m_driver = driver;
    driver->start(*device, bundleID);
}

// Takes the steps in order. A coordinate tap or swipe (no selector, a point) first asks for a
// fresh element tree and takes the identifier under its point; taps are then performed so
// that later steps meet the screen they were recorded on.
void StepResolver::replayNext()
{
    while (m_next < m_steps.size()) {
        ShotStepItem &item = m_steps[m_next];
        if (const auto *wait = item.step.as<ShotStep::Wait>()) {
            ++m_next;
            const int ms = int(qBound(0.0, wait->seconds * 1000.0, double(longestWaitMs)));
            QTimer::singleShot(ms, m_driver, [this] { replayNext(); });
            return;
        }
        const auto *tap = item.step.as<ShotStep::Tap>();
        const auto *swipe = item.step.as<ShotStep::Swipe>();
        if (!tap && !swipe) {
            ++m_next;   // typed text has no driver verb
            continue;
        }
        const QString selector = tap ? tap->selector : swipe->selector;
        const std::optional<NormPoint> at = tap ? tap->at : swipe->at;
        if (selector.isEmpty() && at) {
            m_driver->send(QStringLiteral("DUMP"), {}, [this, at](std::optional<QString> tree) {
                if (!tree) {
                    finishFailed(driverNotReady);
                    return;
                }
                ShotStepItem &current = m_steps[m_next];
                const auto element = ScreenElementTree::identifiedElementAt(ScreenElementTree::parse(*tree), at->x, at->y);
                if (element) {
                    ++m_upgraded;
                    if (auto *t = current.step.as<ShotStep::Tap>())
                        current.step = ShotStep::tap(element->identifier, t->label, t->at);
                    else if (auto *s = current.step.as<ShotStep::Swipe>())
                        current.step = ShotStep::swipe(element->identifier, s->label, s->at, s->direction);
                }
                const auto *resolved = current.step.as<ShotStep::Tap>();
                ++m_next;
                if (!resolved) {
                    replayNext();
                    return;
                }
                if (!resolved->selector.isEmpty())
                    sendThenContinue(QStringLiteral("TAP"), resolved->selector);
                else
                    sendThenContinue(QStringLiteral("TAPXY"), pointArgument(*at));
            });
            return;
        }
        ++m_next;
        if (tap && !selector.isEmpty()) {
            sendThenContinue(QStringLiteral("TAP"), selector);
            return;
        }
        if (tap && at) {
            sendThenContinue(QStringLiteral("TAPXY"), pointArgument(*at));
            return;
        }
    }
    m_driver->send(QStringLiteral("STOP"), {}, [this](std::optional<QString>) { finishDone(); });
}

void StepResolver::sendThenContinue(const QString &verb, const QString &argument)
{
    m_driver->send(verb, argument, [this](std::optional<QString> tree) {
        if (!tree) {
            finishFailed(driverNotReady);
            return;
        }
        replayNext();
    });
}

void StepResolver::finishDone()
{
    if (m_driver) {
        m_driver->stop();
        m_driver->deleteLater();
        m_driver = nullptr;
    }
    setStatus({Status::Kind::Done, {}, int(m_steps.size()), m_upgraded});
    Completion completion = std::move(m_completion);
    m_completion = nullptr;
    const QList<ShotStepItem> steps = std::move(m_steps);
    m_steps.clear();
    if (completion)
        completion(steps);
}

void StepResolver::finishFailed(const QString &message)
{
    if (m_driver) {
        m_driver->stop();
        m_driver->deleteLater();
        m_driver = nullptr;
    }
    setStatus({Status::Kind::Failed, message, 0, 0});
    Completion completion = std::move(m_completion);
    m_completion = nullptr;
    m_steps.clear();
    if (completion)
        completion(std::nullopt);
}
