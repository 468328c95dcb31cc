#include "XcodeSchemes.h"

#include "XcodeProject.h"
#include "XcodeProjectInspector.h"

#include <ProjectFile.h>

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace XcodeSchemes {
namespace {

constexpr auto schemeSuffix = ".xcscheme";

bool names(const QXmlStreamAttributes &reference, const Target &target)
{
    const QString container = reference.value(QLatin1String("ReferencedContainer")).toString();
    if (container.endsWith(QLatin1String(".xcodeproj"))
        && QFileInfo(container.mid(container.indexOf(QLatin1Char(':')) + 1)).fileName() != target.projectFile)
        return false; // a target of that name in another project of the workspace
    const QString blueprint = reference.value(QLatin1String("BlueprintName")).toString();
    const QString buildable = reference.value(QLatin1String("BuildableName")).toString();
    return (!target.name.isEmpty() && blueprint == target.name)
        || (!target.productFile.isEmpty() && buildable == target.productFile);
}

// The scheme files of a container (.xcodeproj or .xcworkspace): the shared ones, and the
// names of all, users' included.
struct SchemeFiles
{
    QStringList shared; // paths, by name
    QStringList names;  // scheme names

    void collect(const QString &container)
    {
        const QString sharedFolder = container + QStringLiteral("/xcshareddata/xcschemes");
        for (const QString &file : schemeFiles(sharedFolder)) {
            shared.append(QDir(sharedFolder).filePath(file));
            names.append(QFileInfo(file).completeBaseName());
        }
        const QDir users(container + QStringLiteral("/xcuserdata"));
        for (const QString &user : users.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            for (const QString &file : schemeFiles(users.filePath(user) + QStringLiteral("/xcschemes")))
                names.append(QFileInfo(file).completeBaseName());
        }
    }

    static QStringList schemeFiles(const QString &folder)
    {
        return QDir(folder)
            .entryList({QStringLiteral("*") + QLatin1String(schemeSuffix)}, QDir::Files | QDir::Readable, QDir::Name)
            .mid(0, maximumSchemes);
    }
};

} // namespace

Use use(const QByteArray &scheme, const Target &target)
{
    QXmlStreamReader xml(scheme);
    QStringList open; // names of the open elements
    Use found = Use::None;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (!open.isEmpty())
                open.removeLast();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        open.append(xml.name().toString());
        if (xml.name() != QLatin1String("BuildableReference") || !names(xml.attributes(), target))
            continue;
        const qsizetype depth = open.size();
        // <LaunchAction><BuildableProductRunnable|RemoteRunnable><BuildableReference>: what it runs.
        if (depth >= 3 && open.at(depth - 3) == QLatin1String("LaunchAction")
            && (open.at(depth - 2) == QLatin1String("BuildableProductRunnable")
                || open.at(depth - 2) == QLatin1String("RemoteRunnable")))
            return Use::Launches;
        if (open.contains(QLatin1String("BuildActionEntry")) && open.contains(QLatin1String("BuildAction")))
            found = Use::Builds;
    }
    return found;
}

QString schemeFor(const XcodeProject &project, const QString &pbxproj, const QString &targetName)
{
    if (!project.xcodeprojPath)
        return targetName;
    SchemeFiles files;
    files.collect(*project.xcodeprojPath);
    if (project.workspacePath)
        files.collect(*project.workspacePath);
    if (files.names.contains(targetName))
        return targetName;

    const Target target{targetName, XcodeProjectInspector::applicationProductFile(pbxproj).value_or(QString()),
                        QFileInfo(*project.xcodeprojPath).fileName()};
    std::optional<QString> builder;
    for (const QString &path : files.shared) {
        const Result<QByteArray> text = ProjectFile::read(path, project.url);
        if (!text)
            continue;
        const Use found = use(text.value(), target);
        const QString name = QFileInfo(path).completeBaseName();
        if (found == Use::Launches)
            return name;
        if (found == Use::Builds && !builder)
            builder = name;
    }
    return builder.value_or(targetName);
}

} // namespace XcodeSchemes
