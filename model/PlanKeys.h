#pragma once

#include <QString>

// Keys of the plan's objects in "shots.json", shared by its Qt-tree form and its direct writer.
namespace PlanKeys {

inline const QString languagesKey = QStringLiteral("languages");
inline const QString shotsKey = QStringLiteral("shots");
inline const QString lanesKey = QStringLiteral("lanes");
inline const QString launchVariablesKey = QStringLiteral("launchVariables");
inline const QString launchArgumentsKey = QStringLiteral("launchArguments");
inline const QString flagSelectionsKey = QStringLiteral("flagSelections");
inline const QString locationKey = QStringLiteral("location");
inline const QString idKey = QStringLiteral("id");
inline const QString nameKey = QStringLiteral("name");

} // namespace PlanKeys
