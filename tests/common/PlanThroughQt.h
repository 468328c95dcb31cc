#pragma once

// What Qt's reader makes of a plan file: the meaning the direct plan reader must match.
// Shared by the plan reader's tests and the plan decoder's fuzz harness.

#include <ScreenshotPlan.h>
#include <Uuid.h>

#include <QJsonDocument>

#include <optional>

namespace PlanThroughQt {

inline std::optional<ScreenshotPlan> throughQt(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return ScreenshotPlan::fromJson(document.object());
}

// Identifiers the bytes do not hold are made anew on each side; the rest must agree.
inline void adoptMadeIdentifiers(ScreenshotPlan &qt, const ScreenshotPlan &direct, const QByteArray &bytes)
{
    const auto adopt = [&](QUuid &id, const QUuid &made) {
        if (!bytes.toUpper().contains(Uuid::text(id).toLatin1()))
            id = made;
    };
    if (qt.lanes.size() == direct.lanes.size()) {
        for (qsizetype i = 0; i < qt.lanes.size(); ++i)
            adopt(qt.lanes[i].id, direct.lanes[i].id);
    }
    if (qt.launchVariables.size() == direct.launchVariables.size()) {
        for (qsizetype i = 0; i < qt.launchVariables.size(); ++i)
            adopt(qt.launchVariables[i].id, direct.launchVariables[i].id);
    }
    if (qt.shots.size() == direct.shots.size()) {
        for (qsizetype i = 0; i < qt.shots.size(); ++i) {
            adopt(qt.shots[i].id, direct.shots[i].id);
            if (qt.shots[i].steps.size() != direct.shots[i].steps.size())
                continue;
            for (qsizetype j = 0; j < qt.shots[i].steps.size(); ++j)
                adopt(qt.shots[i].steps[j].id, direct.shots[i].steps[j].id);
        }
    }
}

} // namespace PlanThroughQt
