#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

// One tap reported by the recorder library inside the app under test.
struct RecorderTapEvent
{
    QUuid id;
    QDateTime receivedAt;
    QString selector;
    QString identifier;
    QString label;
    QString type;      // the element's class, as the library reports it
    double x = 0;      // the tap point in screen points
    double y = 0;
    double nx = 0;     // the tap point normalised to 0…1 of the screen
    double ny = 0;

    bool operator==(const RecorderTapEvent &) const = default;

    // Decodes one line of the event stream: a JSON object with "kind" "tap" and numbers
    // "nx" and "ny"; missing texts are empty, missing "x"/"y" are 0. Anything else gives
    // nothing. The event gets a new id and the given receive time.
    static std::optional<RecorderTapEvent> decode(QByteArrayView line, const QDateTime &receivedAt);
};
