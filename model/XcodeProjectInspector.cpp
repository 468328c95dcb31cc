#include "XcodeProjectInspector.h"

#include "BuildSettingsResolver.h"
#include "XcconfigReader.h"

#include <ProjectFile.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QVariant>

#include <algorithm>

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
        if (depth > maximumDepth || atEnd())
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
    bool m_failed = false;
};

const QString applicationProductType = QStringLiteral("com.apple.product-type.application");

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

    // The application target: among the native targets whose product is an application, in
    // the project's target order, the first built for iOS, else the first built for another
    // simulator platform, else the first built for macOS alone.
    std::optional<QVariantMap> applicationTarget() const
    {
        std::optional<QVariantMap> otherSimulator;
        std::optional<QVariantMap> macOS;
        for (const QVariant &id : targetIDs()) {
            const QVariantMap target = object(id);
            if (target.value(QStringLiteral("isa")).toString() != QLatin1String("PBXNativeTarget")
                || target.value(QStringLiteral("productType")).toString() != applicationProductType)
                continue;
            const TargetPlatform built = platform(target);
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

    // The configurations of a list: the Release configuration first, then the others in
    // their order.
    QList<QVariantMap> configurations(const QVariant &configurationListID) const
    {
        QList<QVariantMap> release;
        QList<QVariantMap> others;
        const QVariantList ids = object(configurationListID).value(QStringLiteral("buildConfigurations")).toList();
        for (const QVariant &id : ids) {
            const QVariantMap configuration = object(id);
            if (configuration.value(QStringLiteral("name")).toString() == QLatin1String("Release"))
                release.append(configuration);
            else
                others.append(configuration);
        }
        return release + others;
    }

    // Build settings of a configuration list, in the order of configurations().
    QList<QVariantMap> buildSettings(const QVariant &configurationListID) const
    {
        QList<QVariantMap> settings;
        for (const QVariantMap &configuration : configurations(configurationListID))
            settings.append(configuration.value(QStringLiteral("buildSettings")).toMap());
        return settings;
    }

    static std::optional<QString> setting(const QList<QVariantMap> &settingsList, const QString &key)
    {
        for (const QVariantMap &settings : settingsList) {
            const auto it = settings.constFind(key);
            if (it != settings.constEnd() && it->typeId() == QMetaType::QString)
                return it->toString();
        }
        return std::nullopt;
    }

    QList<QVariantMap> targetSettings(const QVariantMap &target) const
    {
        return buildSettings(target.value(QStringLiteral("buildConfigurationList")));
    }

    QList<QVariantMap> projectSettings() const
    {
        return buildSettings(project.value(QStringLiteral("buildConfigurationList")));
    }

    // A target's own setting first, then the project's, which targets inherit.
    std::optional<QString> inheritedSetting(const QVariantMap &target, const QString &key) const
    {
        if (auto value = setting(targetSettings(target), key))
            return value;
        return setting(projectSettings(), key);
    }

    // The target's SDK, else its supported platforms, else the project's; iOS when neither
    // names one. An SDK or platform list of macOS alone is macOS, not a reason to look further.
    TargetPlatform platform(const QVariantMap &target) const
    {
        const QString sdkRootKey = QStringLiteral("SDKROOT");
        const QString supportedKey = QStringLiteral("SUPPORTED_PLATFORMS");
        const QList<QList<QVariantMap>> levels = {targetSettings(target), projectSettings()};
        for (const auto &settings : levels) {
            const auto sdk = setting(settings, sdkRootKey);
            if (sdk) {
                if (const auto platform = platformForSdk(*sdk))
                    return {*platform, false};
            }
            const auto supported = setting(settings, supportedKey);
            if (supported) {
                if (const auto platform = platformForSupportedPlatforms(*supported))
                    return {*platform, false};
            }
            if ((sdk && isMacSdk(*sdk)) || (supported && listsMac(*supported)))
                return {SimPlatform::iOS, true};
        }
        return {};
    }

    QString targetName(const QVariantMap &target) const
    {
        const QString name = target.value(QStringLiteral("name")).toString();
        return name.isEmpty() ? target.value(QStringLiteral("productName")).toString() : name;
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

// A project file's objects with its application target.
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
    auto target = project->applicationTarget();
    if (!target)
        return std::nullopt;
    return Application{std::move(*project), std::move(*target)};
}

std::optional<QString> applicationSetting(const QString &pbxproj, const QString &key)
{
    const auto application = readApplication(pbxproj);
    if (!application)
        return std::nullopt;
    return application->project.inheritedSetting(application->target, key);
}

// The settings of one configuration level (target or project): its base .xcconfig below its
// own settings.
void addLevel(BuildSettingsResolver &resolver, const ProjectObjects &project, const QVariantMap &configuration,
              const QString &projectFolder)
{
    if (!projectFolder.isEmpty()) {
        if (const auto base = project.baseConfiguration(configuration))
            resolver.add(XcconfigReader::read(QDir(projectFolder).filePath(*base), projectFolder));
    }
    resolver.add(configuration.value(QStringLiteral("buildSettings")).toMap());
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

std::optional<LaunchTarget> launchTarget(const QString &pbxproj)
{
    const auto application = readApplication(pbxproj);
    if (!application)
        return std::nullopt;
    const TargetPlatform built = application->project.platform(application->target);
    return LaunchTarget{application->project.targetName(application->target), built.platform, built.macOSOnly};
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
    return applicationSetting(pbxproj, QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER"));
}

std::optional<QString> resolvedBundleIdentifier(const QString &pbxproj, const QString &projectFolder)
{
    const QString key = QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER");
    const auto application = readApplication(pbxproj);
    if (!application)
        return std::nullopt;
    const ProjectObjects &project = application->project;
    const QVariantMap &target = application->target;

    const QList<QVariantMap> projectConfigurations =
        project.configurations(project.project.value(QStringLiteral("buildConfigurationList")));
    QList<QVariantMap> targetConfigurations = project.configurations(target.value(QStringLiteral("buildConfigurationList")));
    if (targetConfigurations.isEmpty())
        targetConfigurations.append(QVariantMap()); // the project's settings alone
    const auto projectConfiguration = [&](const QString &name) {
        for (const QVariantMap &configuration : projectConfigurations) {
            if (configuration.value(QStringLiteral("name")).toString() == name)
                return configuration;
        }
        return projectConfigurations.value(0); // Release when there is one
    };

    // The Release configuration; another one only when Release defines no identifier at all.
    for (const QVariantMap &configuration : targetConfigurations) {
        BuildSettingsResolver resolver(project.targetName(target));
        addLevel(resolver, project, projectConfiguration(configuration.value(QStringLiteral("name")).toString()),
                 projectFolder);
        addLevel(resolver, project, configuration, projectFolder);
        if (!resolver.defines(key))
            continue;
        const auto identifier = resolver.value(key);
        if (!identifier || BuildSettingsResolver::hasReference(*identifier))
            return std::nullopt;
        return identifier;
    }
    return std::nullopt;
}

std::optional<QString> marketingVersion(const QString &pbxproj)
{
    return applicationSetting(pbxproj, QStringLiteral("MARKETING_VERSION"));
}

QString readProjectFile(const QString &xcodeprojPath)
{
    const Result<QByteArray> bytes = ProjectFile::read(xcodeprojPath + QStringLiteral("/project.pbxproj"),
                                                       QFileInfo(xcodeprojPath).absolutePath());
    return bytes ? QString::fromUtf8(bytes.value()) : QString();
}

} // namespace XcodeProjectInspector
