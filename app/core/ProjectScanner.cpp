#include "ProjectScanner.h"

#include <XcodeProjectInspector.h>
#include <XcodeWorkspace.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ProjectScanner {
namespace {

constexpr auto projectSuffix = ".xcodeproj";

QStringList subfolders(const QString &folder)
{
    // An unreadable folder lists nothing, which is exactly "skip it".
    const QDir dir(folder);
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
}

// The folder's ".xcodeproj": the one named like the folder when there are several.
std::optional<QString> projectBundle(const QString &folder)
{
    const QDir dir(folder);
    const QStringList bundles = dir.entryList({QStringLiteral("*") + QLatin1String(projectSuffix)},
                                              QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (bundles.isEmpty())
        return std::nullopt;
    const QString preferred = QFileInfo(folder).fileName() + QLatin1String(projectSuffix);
    if (bundles.contains(preferred))
        return dir.filePath(preferred);
    return dir.filePath(bundles.first());
}

void collect(const QString &folder, int depth, QList<XcodeProject> &found)
{
    for (const QString &name : subfolders(folder)) {
        if (isSkippedFolder(name) || name.endsWith(QLatin1String(projectSuffix)))
            continue;
        const QString path = QDir(folder).filePath(name);
        if (auto project = inspectFolder(path)) {
            found.append(*project);
            continue; // a project's own subfolders are its business, not more projects
        }
        if (depth < maximumDepth)
            collect(path, depth + 1, found);
    }
}

bool liesUnder(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

// A repository that keeps its project in a subfolder and fastlane at its top: the nearest
// folder above the project, below the root, with a fastlane folder gives it one, unless
// another project lies under that folder too (two projects never share a plan).
void adoptEnclosingFastlane(QList<XcodeProject> &projects, const QString &root)
{
    const QString top = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    for (XcodeProject &project : projects) {
        if (project.fastlaneDirectory)
            continue;
        for (QString folder = QFileInfo(project.url).path(); liesUnder(folder, top); folder = QFileInfo(folder).path()) {
            const QString fastlane = QDir(folder).filePath(QStringLiteral("fastlane"));
            if (!QFileInfo(fastlane).isDir())
                continue;
            const bool shared = std::any_of(projects.cbegin(), projects.cend(), [&](const XcodeProject &other) {
                return &other != &project && (other.url == folder || liesUnder(other.url, folder));
            });
            if (!shared) {
                project.fastlaneDirectory = fastlane;
                project.hasFastlane = true;
            }
            break;
        }
    }
}

} // namespace

QString expandTilde(const QString &path)
{
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

bool isSkippedFolder(const QString &name)
{
    static const QStringList skipped{QStringLiteral("build"), QStringLiteral("DerivedData"),
                                     QStringLiteral("Pods"), QStringLiteral("node_modules")};
    return name.startsWith(QLatin1Char('.')) || skipped.contains(name);
}

std::optional<XcodeProject> inspectFolder(const QString &folder)
{
    const auto bundle = projectBundle(folder);
    if (!bundle)
        return std::nullopt;

    const QString folderPath = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    XcodeProject project;
    project.id = folderPath;
    project.url = folderPath;
    project.name = QFileInfo(*bundle).completeBaseName();
    project.xcodeprojPath = QDir::cleanPath(QFileInfo(*bundle).absoluteFilePath());

    const QString fastlane = QDir(folderPath).filePath(QStringLiteral("fastlane"));
    if (QFileInfo(fastlane).isDir()) {
        project.fastlaneDirectory = fastlane;
        project.hasFastlane = true;
    }

    // Reads only a regular file: opening a FIFO of that name would block the scan for good.
    const QString pbxproj = XcodeProjectInspector::readProjectFile(*project.xcodeprojPath);
    if (const auto build = XcodeProjectInspector::applicationBuild(pbxproj, folderPath)) {
        project.bundleIdentifier = build->bundleIdentifier;
        project.marketingVersion = build->marketingVersion;
    }
    project.workspacePath = XcodeWorkspace::find(folderPath, *project.xcodeprojPath);
    return project;
}

QList<XcodeProject> scan(const QString &root)
{
    QList<XcodeProject> found;
    const QString expanded = expandTilde(root);
    if (expanded.isEmpty() || !QFileInfo(expanded).isDir())
        return found;
    collect(expanded, 1, found);
    adoptEnclosingFastlane(found, expanded);
    std::sort(found.begin(), found.end(), [](const XcodeProject &a, const XcodeProject &b) {
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.id < b.id;
    });
    return found;
}

} // namespace ProjectScanner
