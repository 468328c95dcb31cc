#include "ShotStore.h"

#include "JsonPrefix.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kKeptSuffix = QStringLiteral(".unreadable");

} // namespace

ShotStore::ShotStore(QString fastlaneDirectory, QString projectFolder)
    : m_fastlaneDirectory(std::move(fastlaneDirectory))
    , m_projectFolder(projectFolder.isEmpty() ? QFileInfo(m_fastlaneDirectory).absolutePath() : std::move(projectFolder))
{
}

QString ShotStore::folder() const
{
    return QDir(m_fastlaneDirectory).filePath(QStringLiteral("velorancestudio"));
}

QString ShotStore::planPath() const
{
    return QDir(folder()).filePath(QStringLiteral("shots.json"));
}

Status ShotStore::save(const ScreenshotPlan &plan) const
{
    return savePlanBytes(plan.encode());
}

Status ShotStore::savePlanBytes(QByteArrayView bytes, ProjectFile::Stamp *written) const
{
    if (const Status made = ProjectFile::makeFolder(folder(), m_projectFolder); !made)
        return made;
    return ProjectFile::writeAtomically(planPath(), bytes, m_projectFolder, written);
}

Result<QString> ShotStore::writeGeneratedFile(const QString &text, const QString &fileName) const
{
    if (const Status made = ProjectFile::makeFolder(folder(), m_projectFolder); !made)
        return Result<QString>::failure(made.error());
    const QString path = QDir(folder()).filePath(fileName);
    const Status status = ProjectFile::writeAtomically(path, text.toUtf8(), m_projectFolder);
    if (!status)
        return Result<QString>::failure(status.error());
    return path;
}

Result<QByteArray> ShotStore::readPlanBytes() const
{
    return ProjectFile::read(planPath(), m_projectFolder);
}

std::optional<ScreenshotPlan> ShotStore::load(QString *error) const
{
    const Result<QByteArray> bytes = readPlanBytes();
    if (!bytes) {
        if (error)
            *error = bytes.error();
        return std::nullopt;
    }
    return ScreenshotPlan::decode(bytes.value(), error);
}

Result<QStringList> ShotStore::settleLeftovers() const
{
    using ProjectFile::LeftoverFate;
    const auto judge = [](const QByteArray &leftover, const std::optional<QByteArray> &current) {
        if (JsonPrefix::isCutShort(leftover))
            return LeftoverFate::Remove; // a new version whose write never finished
        const std::optional<ScreenshotPlan> plan = ScreenshotPlan::decode(leftover);
        if (!plan)
            return LeftoverFate::Keep;
        if (!current)
            return LeftoverFate::Restore;
        if (leftover == *current)
            return LeftoverFate::Remove;
        const std::optional<ScreenshotPlan> currentPlan = ScreenshotPlan::decode(*current);
        return currentPlan && *currentPlan == *plan ? LeftoverFate::Remove : LeftoverFate::Keep;
    };
    return ProjectFile::settleLeftovers(planPath(), m_projectFolder, kKeptSuffix, judge);
}

Result<ProjectFile::Replaced> ShotStore::replacePlanBytes(QByteArrayView bytes, const ProjectFile::Version &known) const
{
    if (const Status made = ProjectFile::makeFolder(folder(), m_projectFolder); !made)
        return Result<ProjectFile::Replaced>::failure(made.error());
    return ProjectFile::replaceKeeping(planPath(), bytes, m_projectFolder, known, kKeptSuffix);
}
