#include "XcodeProjectInspector.h"

#include <ProjectFile.h>

#include <QSet>
#include <QVariant>

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

// The parts of a project file the application target is looked up in.
struct ProjectObjects
{
    QVariantMap objects;
    QVariantMap project; // the root PBXProject

    QVariantMap object(const QVariant &id) const { return objects.value(id.toString()).toMap(); }

    // The application target: the first native target, in the project's target order,
    // whose product is an application.
    std::optional<QVariantMap> applicationTarget() const
    {
        QVariantList ids = project.value(QStringLiteral("targets")).toList();
        if (ids.isEmpty()) {
            for (auto it = objects.cbegin(); it != objects.cend(); ++it)
                ids.append(it.key());
        }
        for (const QVariant &id : ids) {
            const QVariantMap target = object(id);
            if (target.value(QStringLiteral("isa")).toString() == QLatin1String("PBXNativeTarget")
                && target.value(QStringLiteral("productType")).toString() == applicationProductType)
                return target;
        }
        return std::nullopt;
    }

    // Build settings of a configuration list: the Release configuration first, then the
    // others in their order.
    QList<QVariantMap> buildSettings(const QVariant &configurationListID) const
    {
        QList<QVariantMap> release;
        QList<QVariantMap> others;
        const QVariantList ids = object(configurationListID).value(QStringLiteral("buildConfigurations")).toList();
        for (const QVariant &id : ids) {
            const QVariantMap configuration = object(id);
            const QVariantMap settings = configuration.value(QStringLiteral("buildSettings")).toMap();
            if (configuration.value(QStringLiteral("name")).toString() == QLatin1String("Release"))
                release.append(settings);
            else
                others.append(settings);
        }
        return release + others;
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
    return project;
}

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

SimPlatform targetPlatform(const ProjectObjects &project, const QVariantMap &target)
{
    const QString sdkRootKey = QStringLiteral("SDKROOT");
    const QString supportedKey = QStringLiteral("SUPPORTED_PLATFORMS");
    const QList<QList<QVariantMap>> levels = {project.targetSettings(target), project.projectSettings()};
    for (const auto &settings : levels) {
        if (const auto sdk = ProjectObjects::setting(settings, sdkRootKey)) {
            if (const auto platform = platformForSdk(*sdk))
                return *platform;
        }
        if (const auto supported = ProjectObjects::setting(settings, supportedKey)) {
            if (const auto platform = platformForSupportedPlatforms(*supported))
                return *platform;
        }
    }
    return SimPlatform::iOS;
}

std::optional<QString> applicationSetting(const QString &pbxproj, const QString &key)
{
    const auto project = readProject(pbxproj);
    if (!project)
        return std::nullopt;
    const auto target = project->applicationTarget();
    if (!target)
        return std::nullopt;
    return project->inheritedSetting(*target, key);
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
    const auto project = readProject(pbxproj);
    if (!project)
        return std::nullopt;
    const auto target = project->applicationTarget();
    if (!target)
        return std::nullopt;
    QString name = target->value(QStringLiteral("name")).toString();
    if (name.isEmpty())
        name = target->value(QStringLiteral("productName")).toString();
    return LaunchTarget{name, targetPlatform(*project, *target)};
}

std::optional<QString> applicationBundleIdentifier(const QString &pbxproj)
{
    return applicationSetting(pbxproj, QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER"));
}

std::optional<QString> marketingVersion(const QString &pbxproj)
{
    return applicationSetting(pbxproj, QStringLiteral("MARKETING_VERSION"));
}

QString readProjectFile(const QString &xcodeprojPath)
{
    const Result<QByteArray> bytes = ProjectFile::read(xcodeprojPath + QStringLiteral("/project.pbxproj"));
    return bytes ? QString::fromUtf8(bytes.value()) : QString();
}

} // namespace XcodeProjectInspector
