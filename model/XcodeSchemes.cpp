#include "XcodeSchemes.h"

#include "XcodeProject.h"
#include "XcodeProjectInspector.h"

#include <ProjectFile.h>

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstring>

namespace XcodeSchemes {
namespace {

constexpr auto schemeSuffix = ".xcscheme";

bool names(const QXmlStreamAttributes &reference, const Target &target)
{
    const QString container = reference.value(QLatin1String("ReferencedContainer")).toString();
    if (container.endsWith(QLatin1String(".xcodeproj"))
        && QFileInfo(container.mid(container.indexOf(QLatin1Char(':')) + 1)).fileName() != target.projectFile)
        return false; // a target of that name in another project of the workspace
    const QStringView blueprint = reference.value(QLatin1String("BlueprintName"));
    const QStringView buildable = reference.value(QLatin1String("BuildableName"));
    return (!target.name.isEmpty() && blueprint == target.name)
        || (!target.productFile.isEmpty() && buildable == target.productFile);
}

bool isYes(QStringView value)
{
    return value.compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0;
}

// The open elements that matter on the way to a BuildableReference.
enum class Element : quint8 {
    Other,
    BuildAction,
    BuildActionEntries,
    EntryForRunning,  // <BuildActionEntry buildForRunning="YES">
    LaunchAction,     // one that runs its runnable itself
    Runnable,         // <BuildableProductRunnable> or <RemoteRunnable> of such a LaunchAction
};

Element kindOf(const QXmlStreamReader &xml, Element parent)
{
    const QStringView name = xml.name();
    if (name == QLatin1String("BuildAction"))
        return Element::BuildAction;
    if (name == QLatin1String("BuildActionEntries"))
        return parent == Element::BuildAction ? Element::BuildActionEntries : Element::Other;
    if (name == QLatin1String("BuildActionEntry"))
        return parent == Element::BuildActionEntries && isYes(xml.attributes().value(QLatin1String("buildForRunning")))
            ? Element::EntryForRunning
            : Element::Other;
    if (name == QLatin1String("LaunchAction"))
        return isYes(xml.attributes().value(QLatin1String("askForAppToLaunch"))) ? Element::Other : Element::LaunchAction;
    if (name == QLatin1String("BuildableProductRunnable") || name == QLatin1String("RemoteRunnable"))
        return parent == Element::LaunchAction ? Element::Runnable : Element::Other;
    return Element::Other;
}

struct Candidate
{
    QString name;
    QString path;
};

// The scheme files of a folder in name order. The name is the file's without the suffix:
// by whole file name, " " and "-" sort before ".", and "Shop Beta" would come before "Shop".
QList<Candidate> schemesIn(const QString &folder)
{
    const QDir dir(folder);
    const qsizetype suffixLength = qsizetype(std::strlen(schemeSuffix));
    QList<Candidate> schemes;
    for (const QString &file : dir.entryList({QStringLiteral("*") + QLatin1String(schemeSuffix)},
                                             QDir::Files | QDir::Readable, QDir::NoSort))
        schemes.append({file.chopped(suffixLength), dir.filePath(file)});
    std::sort(schemes.begin(), schemes.end(),
              [](const Candidate &a, const Candidate &b) { return a.name < b.name; });
    return schemes.mid(0, maximumSchemes);
}

// The schemes of a container (.xcodeproj or .xcworkspace) that may build the target: the
// shared ones, and each user's scheme named like the target.
void collect(const QString &container, const QString &targetName, QList<Candidate> &candidates)
{
    candidates.append(schemesIn(container + QStringLiteral("/xcshareddata/xcschemes")));
    const QDir users(container + QStringLiteral("/xcuserdata"));
    const QString ownName = targetName + QLatin1String(schemeSuffix);
    for (const QString &user : users.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name).mid(0, maximumSchemes)) {
        const QString path = users.filePath(user) + QStringLiteral("/xcschemes/") + ownName;
        if (QFileInfo(path).isFile())
            candidates.append({targetName, path});
    }
}

// Reads the scheme files of one choice within its byte limits; the size is looked at before
// anything is read.
class SchemeReader
{
public:
    explicit SchemeReader(const QString &root) : m_root(root) {}

    std::optional<QByteArray> read(const QString &path)
    {
        const ProjectFile::Stamp stamp = ProjectFile::stamp(path);
        if (!stamp.exists || stamp.size > std::min(maximumSchemeBytes, m_left))
            return std::nullopt;
        Result<QByteArray> bytes = ProjectFile::read(path, m_root);
        if (!bytes)
            return std::nullopt;
        m_left -= bytes.value().size();
        if (m_left < 0)
            return std::nullopt; // grew since its size was looked at
        return std::move(bytes.value());
    }

private:
    QString m_root;
    qint64 m_left = maximumTotalBytes;
};

} // namespace

Use use(const QByteArray &scheme, const Target &target)
{
    if (scheme.size() > maximumSchemeBytes)
        return Use::None;
    QXmlStreamReader xml(scheme);
    std::array<Element, maximumNesting> open{};
    int depth = 0;
    int elements = 0;
    bool builds = false;
    bool launches = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            depth = std::max(depth - 1, 0);
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (++elements > maximumElements || depth == maximumNesting)
            return Use::None;
        const Element parent = depth > 0 ? open[depth - 1] : Element::Other;
        open[depth++] = kindOf(xml, parent);
        if (xml.name() != QLatin1String("BuildableReference"))
            continue;
        if (parent == Element::EntryForRunning && names(xml.attributes(), target))
            builds = true;
        else if (parent == Element::Runnable && names(xml.attributes(), target))
            launches = true;
        if (builds && launches)
            return Use::Launches;
    }
    // Text cut off or broken keeps what was read before it.
    return builds ? Use::Builds : Use::None;
}

QString schemeFor(const XcodeProject &project, const QString &pbxproj, const QString &targetName)
{
    if (!project.xcodeprojPath)
        return targetName;
    QList<Candidate> candidates;
    collect(*project.xcodeprojPath, targetName, candidates);
    if (project.workspacePath)
        collect(*project.workspacePath, targetName, candidates);
    // The schemes named like the target first, then the others as listed: by name, the
    // project's before the workspace's.
    std::stable_partition(candidates.begin(), candidates.end(),
                          [&](const Candidate &candidate) { return candidate.name == targetName; });

    const Target target{targetName, XcodeProjectInspector::applicationProductFile(pbxproj).value_or(QString()),
                        QFileInfo(*project.xcodeprojPath).fileName()};
    SchemeReader reader(project.url);
    std::optional<QString> builder;
    for (const Candidate &candidate : std::as_const(candidates)) {
        const auto text = reader.read(candidate.path);
        const Use found = text ? use(*text, target) : Use::None;
        if (found == Use::None)
            continue;
        if (found == Use::Launches || candidate.name == targetName)
            return candidate.name;
        if (!builder)
            builder = candidate.name;
    }
    return builder.value_or(targetName);
}

} // namespace XcodeSchemes
