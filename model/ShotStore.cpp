#include "ShotStore.h"

#include "JsonPrefix.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kKeptSuffix = QStringLiteral(".kept");
const QString kUnreadableSuffix = QStringLiteral(".unreadable");

// Judges leftovers against the current bytes, decoding the current plan at most once per
// content (the load has decoded it already).
class LeftoverJudge final
{
public:
    // Decodes the current plan when a leftover first needs it.
    LeftoverJudge() = default;
    LeftoverJudge(std::optional<QByteArray> decodedBytes, std::optional<ScreenshotPlan> decodedPlan)
        : m_bytes(std::move(decodedBytes)), m_plan(std::move(decodedPlan))
    {
    }

    ProjectFile::LeftoverFate operator()(const QByteArray &leftover, const std::optional<QByteArray> &current)
    {
        using ProjectFile::LeftoverFate;
        if (JsonPrefix::isCutShort(leftover))
            return LeftoverFate::Remove; // a new version whose write never finished
        const std::optional<ScreenshotPlan> plan = ScreenshotPlan::decode(leftover);
        if (!plan)
            return LeftoverFate::Keep;
        if (!current)
            return LeftoverFate::Restore;
        if (leftover == *current)
            return LeftoverFate::Remove;
        const std::optional<ScreenshotPlan> &currentPlan = planOf(*current);
        return currentPlan && *currentPlan == *plan ? LeftoverFate::Remove : LeftoverFate::Keep;
    }

private:
    const std::optional<ScreenshotPlan> &planOf(const QByteArray &current)
    {
        // Shared data is the same content without comparing 39 MB.
        const bool same = m_bytes && m_bytes->constData() == current.constData() && m_bytes->size() == current.size();
        if (!same && m_bytes != current) {
            m_bytes = current;
            m_plan = ScreenshotPlan::decode(current);
        }
        return m_plan;
    }

    std::optional<QByteArray> m_bytes;
    std::optional<ScreenshotPlan> m_plan;
};

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

Result<ProjectFile::Settled> ShotStore::settleLeftovers() const
{
    std::optional<QByteArray> current;
    if (const Result<QByteArray> bytes = readPlanBytes())
        current = bytes.value();
    return ProjectFile::settleLeftovers(planPath(), m_projectFolder, kKeptSuffix, LeftoverJudge(), current);
}

ShotStore::LoadedPlan ShotStore::loadSettlingLeftovers() const
{
    const auto readNow = [this](LoadedPlan &loaded) {
        // Stamped before reading: a change in between shows up as a change later.
        loaded.stamp = ProjectFile::stamp(planPath());
        loaded.bytes.reset();
        loaded.plan.reset();
        if (const Result<QByteArray> bytes = readPlanBytes()) {
            loaded.bytes = bytes.value();
            loaded.plan = ScreenshotPlan::decode(bytes.value());
        }
    };
    LoadedPlan loaded;
    readNow(loaded);
    // The leftovers are judged against the plan just read; only a restored one is read again.
    const LeftoverJudge judge(loaded.bytes, loaded.plan);
    if (Result<ProjectFile::Settled> settled =
            ProjectFile::settleLeftovers(planPath(), m_projectFolder, kKeptSuffix, judge, loaded.bytes)) {
        loaded.leftovers = settled.value();
        if (loaded.leftovers.restored)
            readNow(loaded);
    }
    return loaded;
}

Result<ProjectFile::Replaced> ShotStore::replacePlanBytes(QByteArrayView bytes, const ProjectFile::Version &known,
                                                         bool knownUnreadable) const
{
    if (const Status made = ProjectFile::makeFolder(folder(), m_projectFolder); !made)
        return Result<ProjectFile::Replaced>::failure(made.error());
    return ProjectFile::replaceKeeping(planPath(), bytes, m_projectFolder, known,
                                       knownUnreadable ? kUnreadableSuffix : kKeptSuffix);
}
