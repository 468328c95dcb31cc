#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Sets or clears the location of the booted simulator through "xcrun simctl location".
// The call runs off the GUI thread; the outcome arrives on the GUI thread.
namespace SimulatorLocation {

struct Outcome
{
    bool ok = false;
    QString message;
    bool operator==(const Outcome &) const = default;
};

using Completion = std::function<void(const Outcome &)>;

// Runs "<xcrun> simctl location booted set <lat>,<lon>". `context` guards the completion:
// when it is destroyed before the call ends, the completion is dropped (the call itself runs on).
void set(double latitude, double longitude, QObject *context, Completion completion);
// Runs "<xcrun> simctl location booted clear".
void clear(QObject *context, Completion completion);

// The coordinate pair as the command receives it: shortest round-trip decimals, a whole
// number keeping ".0" ("37.3349,-122.0").
QString coordinateArgument(double latitude, double longitude);

// Default "/usr/bin/xcrun"; tests and the demo inject another program.
void setXcrunPath(const QString &path);
QString xcrunPath();

} // namespace SimulatorLocation
