#include "ProjectScanner.h"

#include "FastlaneAppfile.h"

#include <RepositoryTop.h>
#include <XcodeProjectInspector.h>
#include <XcodeWorkspace.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace ProjectScanner {
namespace {

constexpr auto projectSuffix = ".xcodeproj";

// The subfolders of a folder, read once: links to folders are told apart, since they may lead
// to a place the scan reaches another way.
struct Listing
{
    QStringList folders; // by name
    QSet<QString> links;

    explicit Listing(const QString &folder)
    {
        // An unreadable folder lists nothing, which is exactly "skip it".
        QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            folders.append(it.fileName());
            if (it.fileInfo().isSymLink())
                links.insert(it.fileName());
        }
        folders.sort();
    }

    // The ".xcodeproj" of the folder: the one named like the folder when there are several.
    std::optional<QString> projectBundle(const QString &folderName) const
    {
        const QString preferred = folderName + QLatin1String(projectSuffix);
        std::optional<QString> first;
        for (const QString &name : folders) {
            if (name == preferred)
                return name;
            if (!first && name.endsWith(QLatin1String(projectSuffix)))
                first = name;
        }
        return first;
    }
};

struct Found
{
    XcodeProject project;
    bool hasApplication = false; // whether the project file names an application target
};

bool liesUnder(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

// Whether `path` is `folder` or lies inside it.
bool isWithin(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

QString parentOf(const QString &path)
{
    return QFileInfo(path).path();
}

Found inspect(const QString &folder, const QString &bundle, const QString &repositoryTop, XcodeWorkspace::Finder &workspaces)
{
    const QString folderPath = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString bundlePath = QDir(folderPath).filePath(bundle);
    Found found;
    XcodeProject &project = found.project;
    project.id = folderPath;
    project.url = folderPath;
    project.name = QFileInfo(bundle).completeBaseName();
    project.xcodeprojPath = bundlePath;

    const QString fastlane = QDir(folderPath).filePath(QStringLiteral("fastlane"));
    if (QFileInfo(fastlane).isDir()) {
        project.fastlaneDirectory = fastlane;
        project.hasFastlane = true;
    }

    // Reads only a regular file: opening a FIFO of that name would block the scan for good.
    const QString pbxproj = XcodeProjectInspector::readProjectFile(bundlePath);
    // Settings files may lie anywhere in the repository: up to the nearest ".git" above, or,
    // in a repository without one, up to the folder directly below the projects folder.
    QString readingTop = RepositoryTop::of(folderPath);
    if (readingTop == folderPath && !QFileInfo::exists(folderPath + QStringLiteral("/.git")))
        readingTop = repositoryTop;
    if (const auto build = XcodeProjectInspector::applicationBuild(pbxproj, folderPath, QStringLiteral("Release"), readingTop)) {
        project.bundleIdentifier = build->bundleIdentifier;
        project.marketingVersion = build->marketingVersion;
        found.hasApplication = true;
    }
    project.workspacePath = workspaces.find(folderPath, bundlePath, repositoryTop);
    return found;
}

// One scan of a projects folder. Folders are walked without following links first; the links
// met on the way are entered afterwards, and only where they lead somewhere not yet looked at,
// so a repository and a link to it give one project, and a link back up ends at once.
class Scan
{
public:
    Scan(const QString &root, XcodeWorkspace::Finder &workspaces)
        : m_root(QDir::cleanPath(QFileInfo(root).absoluteFilePath()))
        , m_workspaces(workspaces)
    {
    }

    QList<Found> run()
    {
        const QString real = QFileInfo(m_root).canonicalFilePath();
        m_visited.insert(real);
        enter(m_root, real, Listing(m_root), 1);
        for (qsizetype i = 0; i < m_links.size(); ++i) {
            const Link link = m_links.at(i);
            const QString target = QFileInfo(link.path).canonicalFilePath();
            if (!target.isEmpty() && (link.depth == 1 || leadsToOurs(link.path, target, real)))
                visit(link.path, target, link.depth);
        }
        return std::move(m_found);
    }

    // The folder directly below the root on the way to `folder`.
    QString repositoryTop(const QString &folder) const
    {
        const QString prefix = m_root.endsWith(QLatin1Char('/')) ? m_root : m_root + QLatin1Char('/');
        return prefix + folder.mid(prefix.size()).section(QLatin1Char('/'), 0, 0);
    }

private:
    struct Link
    {
        QString path;
        int depth;
    };

    // A link in the projects folder itself is the user's own. One inside a repository came
    // with the clone and may point anywhere ("/", "/proc"), so it is only followed to a place
    // inside the projects folder, or inside the repository when the user linked that in.
    bool leadsToOurs(const QString &link, const QString &target, const QString &realRoot) const
    {
        if (isWithin(target, realRoot))
            return true;
        const QString top = QFileInfo(repositoryTop(link)).canonicalFilePath();
        return !top.isEmpty() && isWithin(target, top);
    }

    // The subfolders of `folder`, `depth` levels below the root.
    void enter(const QString &folder, const QString &real, const Listing &listing, int depth)
    {
        for (const QString &name : listing.folders) {
            if (isSkippedFolder(name) || name.endsWith(QLatin1String(projectSuffix)))
                continue;
            const QString path = folder + QLatin1Char('/') + name;
            if (listing.links.contains(name))
                m_links.append({path, depth});
            else
                visit(path, real + QLatin1Char('/') + name, depth);
        }
    }

    void visit(const QString &folder, const QString &real, int depth)
    {
        if (m_visited.contains(real))
            return;
        m_visited.insert(real);
        const Listing listing(folder);
        if (const auto bundle = listing.projectBundle(QFileInfo(folder).fileName())) {
            m_found.append(inspect(folder, *bundle, repositoryTop(folder), m_workspaces));
            return; // a project's own subfolders are its business, not more projects
        }
        if (depth < maximumDepth)
            enter(folder, real, listing, depth + 1);
    }

    QString m_root;
    QSet<QString> m_visited; // real paths of the folders looked at
    QList<Link> m_links;     // links met on the way, entered after all else
    QList<Found> m_found;
    XcodeWorkspace::Finder &m_workspaces;
};

// A repository's top: the folder directly below the root, or one holding ".git" (a repository
// kept inside a grouping folder). Folders in between only group.
bool isRepositoryTop(const QString &folder, const QString &root)
{
    return parentOf(folder) == root || QFileInfo::exists(folder + QStringLiteral("/.git"));
}

// Exactly one of `projects` that `matches` holds for; nothing for none or several.
template <typename Predicate>
const Found *onlyOne(const QList<const Found *> &projects, Predicate matches)
{
    const Found *chosen = nullptr;
    for (const Found *project : projects) {
        if (!matches(*project))
            continue;
        if (chosen)
            return nullptr;
        chosen = project;
    }
    return chosen;
}

// Of several applications under the fastlane folder of the repository top `top`, the one its
// lanes are for: the one whose Release identifier the Appfile names, else the one named like a
// workspace at the top that lists it (the repository's own way to say which app it builds).
const Found *chosenApplication(const QString &top, const QList<const Found *> &applications,
                               XcodeWorkspace::Finder &workspaces)
{
    if (const auto identifier = FastlaneAppfile::readAppIdentifier(top + QStringLiteral("/fastlane"), top)) {
        if (const Found *named = onlyOne(applications, [&](const Found &app) { return app.project.bundleIdentifier == identifier; }))
            return named;
    }
    return onlyOne(applications, [&](const Found &app) {
        // Looked for at the top alone, the workspace named like the project first: that one
        // is found when it lists the project.
        const QString workspace = top + QLatin1Char('/') + app.project.name + QStringLiteral(".xcworkspace");
        return workspaces.find(top, *app.project.xcodeprojPath, top) == workspace;
    });
}

// Who takes the fastlane folder of `folder`, a repository's top above projects: nobody when
// the folder is a project's own; the one project under it, else the one with an application
// among them; of several applications, the one chosenApplication names.
const Found *fastlaneOwner(const QString &folder, const QList<Found> &found, XcodeWorkspace::Finder &workspaces)
{
    QList<const Found *> under;
    QList<const Found *> applications;
    for (const Found &other : found) {
        if (other.project.url == folder)
            return nullptr;
        if (liesUnder(other.project.url, folder)) {
            under.append(&other);
            if (other.hasApplication)
                applications.append(&other);
        }
    }
    if (under.size() == 1)
        return under.first();
    if (applications.size() > 1)
        return chosenApplication(folder, applications, workspaces);
    return applications.isEmpty() ? nullptr : applications.first();
}

void adoptEnclosingFastlane(QList<Found> &found, const QString &root, XcodeWorkspace::Finder &workspaces)
{
    QHash<QString, const Found *> owners; // repository top → who takes its fastlane folder
    for (Found &candidate : found) {
        XcodeProject &project = candidate.project;
        if (project.fastlaneDirectory)
            continue;
        for (QString folder = parentOf(project.url); liesUnder(folder, root); folder = parentOf(folder)) {
            const QString fastlane = folder + QStringLiteral("/fastlane");
            if (!isRepositoryTop(folder, root) || !QFileInfo(fastlane).isDir())
                continue;
            auto owner = owners.constFind(folder);
            if (owner == owners.constEnd())
                owner = owners.insert(folder, fastlaneOwner(folder, found, workspaces));
            if (*owner == &candidate) {
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
    static const QStringList skipped{QStringLiteral("build"),    QStringLiteral("DerivedData"),
                                     QStringLiteral("Pods"),     QStringLiteral("node_modules"),
                                     QStringLiteral("Carthage"), QStringLiteral("SourcePackages"),
                                     QStringLiteral("vendor")};
    return name.startsWith(QLatin1Char('.')) || skipped.contains(name);
}

std::optional<XcodeProject> inspectFolder(const QString &folder)
{
    const auto bundle = Listing(folder).projectBundle(QFileInfo(folder).fileName());
    if (!bundle)
        return std::nullopt;
    XcodeWorkspace::Finder workspaces;
    return inspect(folder, *bundle, QString(), workspaces).project;
}

QList<XcodeProject> scan(const QString &root)
{
    const QString expanded = expandTilde(root);
    if (expanded.isEmpty() || !QFileInfo(expanded).isDir())
        return {};
    XcodeWorkspace::Finder workspaces;
    QList<Found> found = Scan(expanded, workspaces).run();
    adoptEnclosingFastlane(found, QDir::cleanPath(QFileInfo(expanded).absoluteFilePath()), workspaces);
    QList<XcodeProject> projects;
    projects.reserve(found.size());
    for (Found &each : found)
        projects.append(std::move(each.project));
    std::sort(projects.begin(), projects.end(), [](const XcodeProject &a, const XcodeProject &b) {
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.id < b.id;
    });
    return projects;
}

} // namespace ProjectScanner
