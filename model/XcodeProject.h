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
    std::optional<QString> fastlaneDirectory;   // "<folder>/fastlane", or one above <folder>
    std::optional<QString> xcodeprojPath;       // "<folder>/<Name>.xcodeproj"
    std::optional<QString> workspacePath;       // "<folder>/<Name>.xcworkspace" that builds it
    QMap<QString, int> screenshotCounts;        // per language

    bool operator==(const XcodeProject &) const = default;

    // The folder that files under fastlaneDirectory must stay inside: the project's folder,
    // or the one holding the fastlane folder when that lies above it (a repository's top).
    QString fastlaneRoot() const;

    QJsonObject toJson() const;
    static std::optional<XcodeProject> fromJson(const QJsonObject &json, QString *error = nullptr);
};
