#include "XcodeProjectInspector.h"

#include "BuildSettingsResolver.h"
#include "InfoPlistReader.h"
#include "RepositoryTop.h"
#include "XcconfigReader.h"

#include <ProjectFile.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QVariant>

#include <algorithm>
#include <map>
#include <memory>

namespace XcodeProjectInspector {
namespace {

// Reads the old-style property list a project.pbxproj is written in: dictionaries
// "{ key = value; }", arrays "( a, b, )", quoted and bare strings, and comments.
class PropertyListReader
{
public:
    explicit PropertyListReader(const QString &text) : m_text(text) {}

    std::optional<QVariant> read()
    {
        skipSpaceAndComments();
        auto value = readValue(0);
        return m_failed ? std::nullopt : value;
    }

private:
    // Deeper nesting than any real project file has; keeps hostile input off the stack.
    static constexpr int maximumDepth = 64;

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }

    std::optional<QVariant> failure()
    {
        m_failed = true;
        return std::nullopt;
    }

    void skipSpaceAndComments()
    {
        while (!atEnd()) {
            const QChar c = peek();
            if (c.isSpace() || c == QChar::ByteOrderMark) {
                ++m_pos;
            } else if (QStringView(m_text).mid(m_pos, 2) == QLatin1String("/*")) {
                const qsizetype end = m_text.indexOf(QLatin1String("*/"), m_pos + 2);
                m_pos = end < 0 ? m_text.size() : end + 2;
            } else if (QStringView(m_text).mid(m_pos, 2) == QLatin1String("//")) {
                const qsizetype end = m_text.indexOf(QLatin1Char('\n'), m_pos);
                m_pos = end < 0 ? m_text.size() : end + 1;
            } else {
                return;
            }
        }
    }

    static bool isBareChar(QChar c)
    {
        if (c.isSpace())
            return false;
        switch (c.unicode()) {
        case '{': case '}': case '(': case ')': case '=': case ';': case ',': case '"':
            return false;
        default:
            return true;
        }
    }

    std::optional<QVariant> readValue(int depth)
    {
        if (depth > maximumDepth || ++m_values > maximumValues || atEnd())
            return failure();
        const QChar c = peek();
        if (c == QLatin1Char('{'))
            return readDictionary(depth);
        if (c == QLatin1Char('('))
            return readArray(depth);
        if (c == QLatin1Char('"'))
            return readQuoted();
        return readBare();
    }

    std::optional<QVariant> readQuoted()
    {
        ++m_pos; // opening quote
        QString text;
        while (!atEnd()) {
            const QChar c = m_text.at(m_pos++);
            if (c == QLatin1Char('"'))
                return QVariant(text);
            if (c == QLatin1Char('\\') && !atEnd()) {
                const QChar escaped = m_text.at(m_pos++);
                switch (escaped.unicode()) {
                case 'n': text += QLatin1Char('\n'); break;
                case 't': text += QLatin1Char('\t'); break;
                case 'r': text += QLatin1Char('\r'); break;
                default: text += escaped; break;
                }
            } else {
                text += c;
            }
        }
        return failure();
    }

    std::optional<QVariant> readBare()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && isBareChar(peek())) {
            if (QStringView(m_text).mid(m_pos, 2) == QLatin1String("/*") || QStringView(m_text).mid(m_pos, 2) == QLatin1String("//"))
                break;
            ++m_pos;
        }
        if (m_pos == start)
            return failure();
        return QVariant(m_text.mid(start, m_pos - start));
    }

    std::optional<QVariant> readDictionary(int depth)
    {
        ++m_pos; // {
        QVariantMap map;
        while (true) {
            skipSpaceAndComments();
            if (atEnd())
                return failure();
            if (peek() == QLatin1Char('}')) {
                ++m_pos;
                return QVariant(map);
            }
            const auto key = peek() == QLatin1Char('"') ? readQuoted() : readBare();
            if (!key)
                return failure();
            skipSpaceAndComments();
            if (peek() != QLatin1Char('='))
                return failure();
            ++m_pos;
            skipSpaceAndComments();
            const auto value = readValue(depth + 1);
            if (!value)
                return failure();
            skipSpaceAndComments();
            if (peek() != QLatin1Char(';'))
                return failure();
            ++m_pos;
            map.insert(key->toString(), *value);
        }
    }

    std::optional<QVariant> readArray(int depth)
    {
        ++m_pos; // (
        QVariantList list;
        while (true) {
            skipSpaceAndComments();
            if (atEnd())
                return failure();
            if (peek() == QLatin1Char(')')) {
                ++m_pos;
                return QVariant(list);
            }
            const auto value = readValue(depth + 1);
            if (!value)
                return failure();
            list.append(*value);
            skipSpaceAndComments();
            if (peek() == QLatin1Char(','))
                ++m_pos;
            else if (peek() != QLatin1Char(')'))
                return failure();
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    qsizetype m_values = 0;
    bool m_failed = false;
};

const QString applicationProductType = QStringLiteral("com.apple.product-type.application");
const QString bundleIdentifierKey = QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER");
const QString marketingVersionKey = QStringLiteral("MARKETING_VERSION");
const QString releaseName = QStringLiteral("Release");

std::optional<SimPlatform> platformForSdk(const QString &sdk)
{
    const QString name = sdk.trimmed().toLower();
    if (name.startsWith(QLatin1String("iphoneos")) || name.startsWith(QLatin1String("iphonesimulator")))
        return SimPlatform::iOS;
    if (name.startsWith(QLatin1String("xros")) || name.startsWith(QLatin1String("xrsimulator")))
        return SimPlatform::visionOS;
    if (name.startsWith(QLatin1String("appletvos")) || name.startsWith(QLatin1String("appletvsimulator")))
        return SimPlatform::tvOS;
    if (name.startsWith(QLatin1String("watchos")) || name.startsWith(QLatin1String("watchsimulator")))
        return SimPlatform::watchOS;
    return std::nullopt;
}

bool isMacSdk(const QString &sdk)
{
    return sdk.trimmed().toLower().startsWith(QLatin1String("macosx"));
}

// SUPPORTED_PLATFORMS lists several SDKs: iOS wins when listed, else the first known one.
std::optional<SimPlatform> platformForSupportedPlatforms(const QString &list)
{
    std::optional<SimPlatform> first;
    for (const QString &sdk : list.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const auto platform = platformForSdk(sdk);
        if (platform == SimPlatform::iOS)
            return platform;
        if (!first)
            first = platform;
    }
    return first;
}

bool listsMac(const QString &list)
{
    const QStringList sdks = list.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return std::any_of(sdks.cbegin(), sdks.cend(), isMacSdk);
}

// What a target is built for: a simulator platform, or macOS alone.
struct TargetPlatform
{
    SimPlatform platform = SimPlatform::iOS;
    bool macOSOnly = false;
};

// "base/path", where either may be empty and an absolute path stands for itself.
QString joinedPath(const QString &base, const QString &path)
{
    if (path.isEmpty())
        return base;
    if (base.isEmpty() || path.startsWith(QLatin1Char('/')))
        return path;
    return base + QLatin1Char('/') + path;
}

struct Configuration
{
    QString id;
    QVariantMap object;

    QString name() const { return object.value(QStringLiteral("name")).toString(); }
};

// The parts of a project file the application target is looked up in.
struct ProjectObjects
{
    // Deeper group nesting than any real project has; a group that contains itself ends here.
    static constexpr int maximumGroupDepth = 64;

    QVariantMap objects;
    QVariantMap project; // the root PBXProject
    QHash<QString, QString> parents; // an element of a group → that group

    QVariantMap object(const QVariant &id) const { return objects.value(id.toString()).toMap(); }

    QVariantList targetIDs() const
    {
        QVariantList ids = project.value(QStringLiteral("targets")).toList();
        if (ids.isEmpty()) {
            for (auto it = objects.cbegin(); it != objects.cend(); ++it)
                ids.append(it.key());
        }
        return ids;
    }

    QVariant projectList() const { return project.value(QStringLiteral("buildConfigurationList")); }
    static QVariant targetList(const QVariantMap &target) { return target.value(QStringLiteral("buildConfigurationList")); }

    // The configurations of a list, in its order.
    QList<Configuration> configurations(const QVariant &listID) const
    {
        QList<Configuration> result;
        for (const QVariant &id : object(listID).value(QStringLiteral("buildConfigurations")).toList())
            result.append({id.toString(), object(id)});
        return result;
    }

    // The configuration of a list with that name, else the list's default one, else its
    // first; none when the list has none.
    std::optional<Configuration> configuration(const QVariant &listID, const QString &name) const
    {
        const QList<Configuration> all = configurations(listID);
        const QString fallback = object(listID).value(QStringLiteral("defaultConfigurationName")).toString();
        for (const QString &wanted : {name, fallback}) {
            for (const Configuration &configuration : all) {
                if (configuration.name() == wanted)
                    return configuration;
            }
        }
        return all.isEmpty() ? std::nullopt : std::optional<Configuration>(all.first());
    }

    // The configuration a build asked for `name` builds: that one when the project has it,
    // else the project's default one.
    QString builtConfiguration(const QString &name) const
    {
        const auto built = configuration(projectList(), name);
        return built ? built->name() : name;
    }

    // A list's configurations with Release first, then the others in their order.
    QList<Configuration> releaseFirst(const QVariant &listID) const
    {
        QList<Configuration> all = configurations(listID);
        std::stable_partition(all.begin(), all.end(), [](const Configuration &c) { return c.name() == releaseName; });
        return all;
    }

    // The first of the settings of a list's configurations, Release first, that sets the key.
    std::optional<QString> setting(const QVariant &listID, const QString &key) const
    {
        for (const Configuration &configuration : releaseFirst(listID)) {
            const QVariantMap settings = configuration.object.value(QStringLiteral("buildSettings")).toMap();
            const auto it = settings.constFind(key);
            if (it != settings.constEnd() && it->typeId() == QMetaType::QString)
                return it->toString();
        }
        return std::nullopt;
    }

    QString targetName(const QVariantMap &target) const
    {
        const QString name = target.value(QStringLiteral("name")).toString();
        return name.isEmpty() ? target.value(QStringLiteral("productName")).toString() : name;
    }

    bool isApplication(const QVariantMap &target) const
    {
        return target.value(QStringLiteral("isa")).toString() == QLatin1String("PBXNativeTarget")
            && target.value(QStringLiteral("productType")).toString() == applicationProductType;
    }

    // Where a file or group lies, relative to the project's folder (absolute when the project
    // says so); nothing for locations outside the source tree (SDK, built products).
    std::optional<QString> location(const QString &id, int depth = 0) const
    {
        const QVariantMap element = objects.value(id).toMap();
        if (element.isEmpty() || depth > maximumGroupDepth)
            return std::nullopt;
        const QString path = element.value(QStringLiteral("path")).toString();
        const QString tree = element.value(QStringLiteral("sourceTree")).toString();
        if (tree == QLatin1String("<absolute>"))
            return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
        const QString sourceRoot = project.value(QStringLiteral("projectDirPath")).toString();
        if (tree == QLatin1String("SOURCE_ROOT"))
            return joinedPath(sourceRoot, path);
        if (tree != QLatin1String("<group>"))
            return std::nullopt;
        const QString parent = parents.value(id);
        const auto base = parent.isEmpty() ? std::optional<QString>(sourceRoot) : location(parent, depth + 1);
        return base ? std::optional<QString>(joinedPath(*base, path)) : std::nullopt;
    }

    // The .xcconfig a configuration is based on, relative to the project's folder.
    std::optional<QString> baseConfiguration(const QVariantMap &configuration) const
    {
        const QString reference = configuration.value(QStringLiteral("baseConfigurationReference")).toString();
        if (!reference.isEmpty())
            return location(reference);
        // Files in a folder the project follows on disk are named from that folder.
        const QString anchor = configuration.value(QStringLiteral("baseConfigurationReferenceAnchor")).toString();
        const QString relative = configuration.value(QStringLiteral("baseConfigurationReferenceRelativePath")).toString();
        if (anchor.isEmpty() || relative.isEmpty())
            return std::nullopt;
        const auto folder = location(anchor);
        return folder ? std::optional<QString>(joinedPath(*folder, relative)) : std::nullopt;
    }
};

std::optional<ProjectObjects> readProject(const QString &pbxproj)
{
    if (pbxproj.trimmed().isEmpty())
        return std::nullopt;
    const auto root = PropertyListReader(pbxproj).read();
    if (!root)
        return std::nullopt;
    const QVariantMap rootMap = root->toMap();
    ProjectObjects project;
    project.objects = rootMap.value(QStringLiteral("objects")).toMap();
    project.project = project.object(rootMap.value(QStringLiteral("rootObject")));
    for (auto it = project.objects.cbegin(); it != project.objects.cend(); ++it) {
        for (const QVariant &child : it->toMap().value(QStringLiteral("children")).toList())
            project.parents.insert(child.toString(), it.key());
    }
    return project;
}

// The build settings of a project's targets, configuration by configuration: the project's
// .xcconfig, the project's settings, the target's .xcconfig and the target's settings, from
// lowest to highest precedence. Each .xcconfig is read once for all of them.
class BuildSettings
{
public:
    // Files the project names are read inside `root`, or inside its folder when that is empty.
    BuildSettings(const ProjectObjects &project, const QString &projectFolder, const QString &root = QString())
        : m_project(project)
        , m_folder(projectFolder)
        , m_root(root.isEmpty() ? projectFolder : root)
    {
        if (!projectFolder.isEmpty()) {
            m_files.emplace(m_root);
            const QString sourceRoot =
                QDir::cleanPath(QDir(projectFolder).filePath(project.project.value(QStringLiteral("projectDirPath")).toString()));
            for (const char *key : {"SRCROOT", "SOURCE_ROOT", "PROJECT_DIR"})
                m_folderSettings.append({QLatin1String(key), sourceRoot});
        }
        for (const Configuration &configuration : project.configurations(project.projectList())) {
            if (!m_projectConfigurations.contains(configuration.name()))
                m_projectConfigurations.insert(configuration.name(), configuration);
        }
        m_projectDefault = project.configuration(project.projectList(), QString());
    }

    // The settings of the target in its configuration (none: the project's alone), made once:
    // what one lookup works out serves the next.
    const BuildSettingsResolver &resolver(const QVariantMap &target, const std::optional<Configuration> &configuration)
    {
        const QString name = configuration ? configuration->name() : QString();
        const QString key = m_project.targetName(target) + QLatin1Char('\n')
            + ProjectObjects::targetList(target).toString() + QLatin1Char('\n')
            + (configuration ? configuration->id : QString());
        std::unique_ptr<BuildSettingsResolver> &made = m_resolvers[key];
        if (made)
            return *made;
        QList<BuildSettingsResolver::Definition> defaults = m_folderSettings;
        if (!name.isEmpty())
            defaults.append({QStringLiteral("CONFIGURATION"), name});
        made = std::make_unique<BuildSettingsResolver>(m_project.targetName(target), defaults);
        if (const auto named = m_projectConfigurations.constFind(name); named != m_projectConfigurations.cend())
            addLevels(*made, *named);
        else if (m_projectDefault)
            addLevels(*made, *m_projectDefault);
        if (configuration)
            addLevels(*made, *configuration);
        return *made;
    }

    // The target's configuration of that name (else its default one); none when it has none.
    std::optional<Configuration> configuration(const QVariantMap &target, const QString &name) const
    {
        return m_project.configuration(ProjectObjects::targetList(target), name);
    }

    // The configuration asked for first, then the others, Release first: a key that the one
    // asked for leaves undefined is taken from the first that defines it.
    QList<std::optional<Configuration>> candidates(const QVariantMap &target, const QString &name) const
    {
        const auto asked = configuration(target, name);
        if (!asked)
            return {std::nullopt};
        QList<std::optional<Configuration>> result{asked};
        for (const Configuration &other : m_project.releaseFirst(ProjectObjects::targetList(target))) {
            if (other.id != asked->id)
                result.append(other);
        }
        return result;
    }

    // The settings of the first candidate configuration that defines the key; none when no
    // configuration does.
    const BuildSettingsResolver *defining(const QVariantMap &target, const QString &name, const QString &key)
    {
        for (const auto &candidate : candidates(target, name)) {
            const BuildSettingsResolver &settings = resolver(target, candidate);
            if (settings.defines(key))
                return &settings;
        }
        return nullptr;
    }

    // The SDK, else the supported platforms, of the highest level that sets either; iOS when
    // none names one. An SDK or platform list of macOS alone is macOS, not a reason to look
    // further down.
    TargetPlatform platform(const QVariantMap &target, const QString &name)
    {
        const QString sdkRootKey = QStringLiteral("SDKROOT");
        const QString supportedKey = QStringLiteral("SUPPORTED_PLATFORMS");
        const BuildSettingsResolver &settings = resolver(target, configuration(target, name));
        for (qsizetype level = settings.levelCount() - 1; level > 0; --level) {
            const auto sdk = settings.levelDefines(level, sdkRootKey) ? settings.value(sdkRootKey, level) : std::nullopt;
            if (sdk) {
                if (const auto platform = platformForSdk(*sdk))
                    return {*platform, false};
            }
            const auto supported = settings.levelDefines(level, supportedKey) ? settings.value(supportedKey, level)
                                                                               : std::nullopt;
            if (supported) {
                if (const auto platform = platformForSupportedPlatforms(*supported))
                    return {*platform, false};
            }
            if ((sdk && isMacSdk(*sdk)) || (supported && listsMac(*supported)))
                return {SimPlatform::iOS, true};
        }
        return {};
    }

    // The application target: among the native targets whose product is an application, in
    // the project's target order, the first built for iOS, else the first built for another
    // simulator platform, else the first built for macOS alone.
    std::optional<QVariantMap> applicationTarget(const QString &name)
    {
        std::optional<QVariantMap> otherSimulator;
        std::optional<QVariantMap> macOS;
        for (const QVariant &id : m_project.targetIDs()) {
            const QVariantMap target = m_project.object(id);
            if (!m_project.isApplication(target))
                continue;
            const TargetPlatform built = platform(target, name);
            if (built.macOSOnly) {
                if (!macOS)
                    macOS = target;
            } else if (built.platform == SimPlatform::iOS) {
                return target;
            } else if (!otherSimulator) {
                otherSimulator = target;
            }
        }
        return otherSimulator ? otherSimulator : macOS;
    }

    // CFBundleShortVersionString of the Info.plist the target's settings name, resolved.
    std::optional<QString> infoPlistVersion(const QVariantMap &target, const QString &name)
    {
        if (m_folder.isEmpty())
            return std::nullopt;
        const BuildSettingsResolver &settings = resolver(target, configuration(target, name));
        const auto file = settings.value(QStringLiteral("INFOPLIST_FILE"));
        if (!file || file->trimmed().isEmpty())
            return std::nullopt;
        const auto version = InfoPlistReader::readString(QDir(m_folder).filePath(*file), m_root,
                                                         QStringLiteral("CFBundleShortVersionString"));
        return version ? settings.expanded(*version) : std::nullopt;
    }

private:
    void addLevels(BuildSettingsResolver &resolver, const Configuration &configuration)
    {
        if (m_files) {
            if (const auto base = m_project.baseConfiguration(configuration.object))
                resolver.add(m_files->level(QDir(m_folder).filePath(*base)));
        }
        auto known = m_settings.constFind(configuration.id);
        if (known == m_settings.cend()) {
            known = m_settings.insert(configuration.id, std::make_shared<const BuildSettingsResolver::Level>(
                                                            configuration.object.value(QStringLiteral("buildSettings")).toMap()));
        }
        resolver.add(*known);
    }

    const ProjectObjects &m_project;
    QString m_folder;
    QString m_root; // the repository's top
    QList<BuildSettingsResolver::Definition> m_folderSettings; // where the project lies
    std::optional<XcconfigReader::Files> m_files;
    QHash<QString, BuildSettingsResolver::SharedLevel> m_settings; // by configuration
    std::map<QString, std::unique_ptr<BuildSettingsResolver>> m_resolvers; // by target and configuration
    QHash<QString, Configuration> m_projectConfigurations; // by name
    std::optional<Configuration> m_projectDefault;          // for names the project lacks
};

// A project file's objects with its application target, chosen from the project file alone.
struct Application
{
    ProjectObjects project;
    QVariantMap target;
};

std::optional<Application> readApplication(const QString &pbxproj)
{
    auto project = readProject(pbxproj);
    if (!project)
        return std::nullopt;
    auto target = BuildSettings(*project, QString()).applicationTarget(project->builtConfiguration(releaseName));
    if (!target)
        return std::nullopt;
    return Application{std::move(*project), std::move(*target)};
}

bool isRegionTrimChar(QChar c)
{
    return c.isSpace() || c == QLatin1Char('"') || c == QLatin1Char(',');
}

} // namespace

QStringList knownRegions(const QString &pbxproj)
{
    const QString marker = QStringLiteral("knownRegions = (");
    const qsizetype start = pbxproj.indexOf(marker);
    if (start < 0)
        return {};
    const qsizetype contentStart = start + marker.size();
    const qsizetype end = pbxproj.indexOf(QLatin1Char(')'), contentStart);
    if (end < 0)
        return {};

    const QStringView content = QStringView(pbxproj).sliced(contentStart, end - contentStart);
    QStringList regions;
    QSet<QStringView> seen; // views into `pbxproj`: repeats are found in constant time
    qsizetype from = 0;
    while (from <= content.size() && regions.size() < maxKnownRegions) {
        qsizetype comma = content.indexOf(QLatin1Char(','), from);
        if (comma < 0)
            comma = content.size();
        qsizetype begin = from;
        qsizetype stop = comma;
        from = comma + 1;
        while (begin < stop && isRegionTrimChar(content.at(begin)))
            ++begin;
        while (stop > begin && isRegionTrimChar(content.at(stop - 1)))
            --stop;
        const QStringView region = content.sliced(begin, stop - begin);
        if (region.isEmpty() || region == QLatin1String("Base") || seen.contains(region))
            continue;
        seen.insert(region);
        regions.append(region.toString());
    }
    return regions;
}

bool isBundleIdentifier(const QString &text)
{
    if (text.isEmpty() || text.startsWith(QLatin1Char('.')) || text.endsWith(QLatin1Char('.'))
        || text.contains(QLatin1String("..")))
        return false;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' || u == '.';
    });
}

std::optional<ApplicationBuild> applicationBuild(const QString &pbxproj, const QString &projectFolder,
                                                 const QString &configuration, const QString &repositoryTop)
{
    const auto project = readProject(pbxproj);
    if (!project)
        return std::nullopt;
    BuildSettings settings(*project, projectFolder,
                           projectFolder.isEmpty() ? QString() : RepositoryTop::of(projectFolder, repositoryTop));
    const QString built = project->builtConfiguration(configuration);
    const auto target = settings.applicationTarget(built);
    if (!target)
        return std::nullopt;

    ApplicationBuild result;
    result.configuration = built;
    const TargetPlatform platform = settings.platform(*target, built);
    result.target = {project->targetName(*target), platform.platform, platform.macOSOnly};
    if (const auto defining = settings.defining(*target, built, bundleIdentifierKey)) {
        const auto identifier = defining->value(bundleIdentifierKey);
        if (identifier && isBundleIdentifier(*identifier))
            result.bundleIdentifier = identifier;
    }
    const auto defining = settings.defining(*target, built, marketingVersionKey);
    const auto version = defining ? defining->value(marketingVersionKey) : settings.infoPlistVersion(*target, built);
    if (version && !version->isEmpty())
        result.marketingVersion = version;
    return result;
}

std::optional<LaunchTarget> launchTarget(const QString &pbxproj)
{
    const auto build = applicationBuild(pbxproj, QString());
    return build ? std::optional<LaunchTarget>(build->target) : std::nullopt;
}

std::optional<QString> applicationProductFile(const QString &pbxproj)
{
    const auto application = readApplication(pbxproj);
    if (!application)
        return std::nullopt;
    const QString path = application->project.object(application->target.value(QStringLiteral("productReference")))
                             .value(QStringLiteral("path"))
                             .toString();
    if (path.isEmpty())
        return std::nullopt;
    return QFileInfo(path).fileName();
}

std::optional<QString> applicationBundleIdentifier(const QString &pbxproj)
{
    const auto application = readApplication(pbxproj);
    if (!application)
        return std::nullopt;
    const ProjectObjects &project = application->project;
    // A target's own setting first, then the project's, which targets inherit.
    if (auto value = project.setting(ProjectObjects::targetList(application->target), bundleIdentifierKey))
        return value;
    return project.setting(project.projectList(), bundleIdentifierKey);
}

std::optional<QString> resolvedBundleIdentifier(const QString &pbxproj, const QString &projectFolder)
{
    const auto build = applicationBuild(pbxproj, projectFolder);
    return build ? build->bundleIdentifier : std::nullopt;
}

std::optional<QString> marketingVersion(const QString &pbxproj)
{
    const auto build = applicationBuild(pbxproj, QString());
    return build ? build->marketingVersion : std::nullopt;
}

QString readProjectFile(const QString &xcodeprojPath)
{
    const Result<QByteArray> bytes = ProjectFile::read(xcodeprojPath + QStringLiteral("/project.pbxproj"),
                                                       QFileInfo(xcodeprojPath).absolutePath());
    return bytes ? QString::fromUtf8(bytes.value()) : QString();
}

} // namespace XcodeProjectInspector
