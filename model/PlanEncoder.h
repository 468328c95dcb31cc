#pragma once

#include "ScreenshotPlan.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QUuid>

#include <string>

// Writes a plan's "shots.json" text (the bytes of ScreenshotPlan::encode) and keeps each
// shot's text with the shot value it was written from: the next encode writes afresh only
// the shots whose value changed. Autosave encodes the whole plan after every edit, and an
// edit touches one shot.
class PlanEncoder final
{
public:
    QByteArray encode(const ScreenshotPlan &plan);
    // The same bytes without keeping anything (ScreenshotPlan::encode).
    static QByteArray encodeOnce(const ScreenshotPlan &plan);

    // How many shots the last encode had to write afresh.
    int shotsWrittenLastTime() const { return m_shotsWritten; }

private:
    struct CachedShot
    {
        Shot shot;       // the value the text was written from
        QByteArray text; // the shot's object, indented for its place in "shots"
        quint64 round = 0; // the encode that last used it
    };

    QHash<QUuid, CachedShot> m_shots;
    QList<QByteArray> m_repeated; // texts of shots that repeat an identifier, for one encode
    std::string m_buffer;
    quint64 m_round = 0;
    int m_shotsWritten = 0;
};
