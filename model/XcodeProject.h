#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// One scanned Xcode project. Paths are absolute file-system paths.
struct XcodeProject
{
    QString id;                                 // the project folder's path
    QString name;
    QString url;                                // the project folder
    std::optional<QString> bundleIdentifier;
    std::optional<QString> marketingVersion;
    bool hasFastlane = false;
    QStringList laneNames;
    std::optional<QString> fastlaneDirectory;   // "<folder>/fastlane" when present
    std::optional<QString> xcodeprojPath;       // "<folder>/<Name>.xcodeproj"
    QMap<QString, int> screenshotCounts;        // per language

    bool operator==(const XcodeProject &) const = default;

    QJsonObject toJson() const;
    static std::optional<XcodeProject> fromJson(const QJsonObject &json, QString *error = nullptr);
};
