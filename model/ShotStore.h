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

    // Keeps the plan file's present content aside under a new name (".unreadable", then
    // numbered) before it is replaced; never overwrites an earlier kept copy. A file that
    // cannot be read is moved aside instead; one that is gone needs nothing. Returns the
    // kept name, empty when nothing was there.
    Result<QString> keepPlanAside() const;

private:
    QString m_fastlaneDirectory;
    QString m_projectFolder;
};
