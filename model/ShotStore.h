#pragma once

#include "ScreenshotPlan.h"

#include <ProjectFile.h>
#include <Result.h>

#include <QString>

// Reads and writes the files of a project's screenshot automation under
// "<fastlane folder>/velorancestudio/". Nothing is read from or written to a place that
// lies outside the project's folder (a link leading out counts as unreadable/unwritable).
class ShotStore
{
public:
    // Without a project folder, the fastlane folder's parent is taken for it.
    explicit ShotStore(QString fastlaneDirectory, QString projectFolder = QString());

    QString folder() const;    // "<fastlane>/velorancestudio"
    QString planPath() const;  // "<fastlane>/velorancestudio/shots.json"
    QString projectFolder() const { return m_projectFolder; }

    // Creates the folder when needed and writes the plan atomically (pretty, sorted keys).
    // On failure nothing is written and the system's description is returned.
    Status save(const ScreenshotPlan &plan) const;
    // The same with bytes already encoded; `written` receives the new file's stamp.
    Status savePlanBytes(QByteArrayView bytes, ProjectFile::Stamp *written = nullptr) const;

    // Writes a UTF-8 text file atomically into the folder; returns its path.
    Result<QString> writeGeneratedFile(const QString &text, const QString &fileName) const;

    // The bytes of "shots.json" (a regular file inside the project, within the size cap).
    Result<QByteArray> readPlanBytes() const;
    // The plan on disk: nothing when the file is missing, unreadable or does not decode.
    std::optional<ScreenshotPlan> load(QString *error = nullptr) const;

    // Writes the plan's bytes as save() does, for a plan file others may write too: the file
    // replaced is removed only when it is `known` (what the caller last loaded or wrote);
    // any other version is kept aside whole, under ".kept", then ".kept.1", … (never over an
    // earlier kept file), or under ".unreadable", … when `knownUnreadable` says that what the
    // caller found there could not be read as a plan.
    Result<ProjectFile::Replaced> replacePlanBytes(QByteArrayView bytes, const ProjectFile::Version &known,
                                                   bool knownUnreadable = false) const;

    // Deals with the temporary files a save killed midway left beside "shots.json": one that
    // holds a complete plan other than the file's is kept like a replaced version, one that
    // equals it, is empty or was cut short is removed, and one with a complete plan comes back
    // as "shots.json" when that is missing. One broken in another way is kept too: it is no
    // save of ours cut short. One that a save still at work holds is left to it.
    Result<ProjectFile::Settled> settleLeftovers() const;

    // "shots.json" as a load finds it, with the leftovers beside it settled first.
    struct LoadedPlan
    {
        ProjectFile::Stamp stamp;              // taken before the bytes were read
        std::optional<QByteArray> bytes;       // none: missing or unreadable
        std::optional<ScreenshotPlan> plan;    // none: no bytes, or they do not decode
        ProjectFile::Settled leftovers;        // an error settling them leaves this empty
    };
    // Reads and decodes the file once; only when leftovers lie beside it is more done.
    LoadedPlan loadSettlingLeftovers() const;

private:
    QString m_fastlaneDirectory;
    QString m_projectFolder;
};
