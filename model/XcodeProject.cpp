#include "XcodeProject.h"

#include "JsonFields.h"
#include "XcodeProjectInspector.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include <cmath>
#include <limits>

QJsonObject XcodeProject::toJson() const
{
    QJsonObject counts;
    for (auto it = screenshotCounts.cbegin(); it != screenshotCounts.cend(); ++it)
        counts.insert(it.key(), it.value());
    QJsonObject json{{QStringLiteral("id"), id},
                     {QStringLiteral("name"), name},
                     {QStringLiteral("url"), url},
                     {QStringLiteral("hasFastlane"), hasFastlane},
                     {QStringLiteral("laneNames"), QJsonArray::fromStringList(laneNames)},
                     {QStringLiteral("screenshotCounts"), counts}};
    if (bundleIdentifier)
        json.insert(QStringLiteral("bundleIdentifier"), *bundleIdentifier);
    if (marketingVersion)
        json.insert(QStringLiteral("marketingVersion"), *marketingVersion);
    if (fastlaneDirectory)
        json.insert(QStringLiteral("fastlaneDirectory"), *fastlaneDirectory);
    if (xcodeprojPath)
        json.insert(QStringLiteral("xcodeprojPath"), *xcodeprojPath);
    if (workspacePath)
        json.insert(QStringLiteral("workspacePath"), *workspacePath);
    return json;
}

QString XcodeProject::fastlaneRoot() const
{
    if (!fastlaneDirectory || url.isEmpty())
        return url;
    const QString folder = QDir::cleanPath(url);
    const QString fastlane = QDir::cleanPath(*fastlaneDirectory);
    if (fastlane.startsWith(folder + QLatin1Char('/')))
        return url;
    return QFileInfo(fastlane).path();
}

std::optional<XcodeProject> XcodeProject::fromJson(const QJsonObject &json, QString *error)
{
    XcodeProject project;
    if (!JsonFields::read(json, QStringLiteral("id"), project.id, QString(), error)
        || !JsonFields::read(json, QStringLiteral("name"), project.name, QString(), error)
        || !JsonFields::read(json, QStringLiteral("url"), project.url, QString(), error)
        || !JsonFields::read(json, QStringLiteral("bundleIdentifier"), project.bundleIdentifier, QString(), error)
        || !JsonFields::read(json, QStringLiteral("marketingVersion"), project.marketingVersion, QString(), error)
        || !JsonFields::read(json, QStringLiteral("laneNames"), project.laneNames, QString(), error)
        || !JsonFields::read(json, QStringLiteral("fastlaneDirectory"), project.fastlaneDirectory, QString(), error)
        || !JsonFields::read(json, QStringLiteral("xcodeprojPath"), project.xcodeprojPath, QString(), error)
        || !JsonFields::read(json, QStringLiteral("workspacePath"), project.workspacePath, QString(), error))
        return std::nullopt;
    // A cache from before identifiers were resolved may hold one as written in the project.
    if (project.bundleIdentifier && !XcodeProjectInspector::isBundleIdentifier(*project.bundleIdentifier))
        project.bundleIdentifier.reset();
    if (const auto value = JsonFields::present(json, QStringLiteral("hasFastlane"))) {
        if (!value->isBool()) {
            JsonFields::typeError(QStringLiteral("hasFastlane"), error);
            return std::nullopt;
        }
        project.hasFastlane = value->toBool();
    }
    if (const auto value = JsonFields::present(json, QStringLiteral("screenshotCounts"))) {
        if (!value->isObject()) {
            JsonFields::typeError(QStringLiteral("screenshotCounts"), error);
            return std::nullopt;
        }
        const QJsonObject counts = value->toObject();
        for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
            const double count = it->toDouble(-1);
            if (!it->isDouble() || count < 0 || count > std::numeric_limits<int>::max() || count != std::floor(count)) {
                JsonFields::typeError(JsonFields::path(QStringLiteral("screenshotCounts"), it.key()), error);
                return std::nullopt;
            }
            project.screenshotCounts.insert(it.key(), static_cast<int>(count));
        }
    }
    return project;
}
