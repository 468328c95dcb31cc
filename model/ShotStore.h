#pragma once

#include "ScreenshotPlan.h"

#include <Result.h>

#include <QString>

// Reads and writes the files of a project's screenshot automation under
// "<fastlane folder>/velorancestudio/".
class ShotStore
{
public:
    explicit ShotStore(QString fastlaneDirectory);

    QString folder() const;    // "<fastlane>/velorancestudio"
    QString planPath() const;  // "<fastlane>/velorancestudio/shots.json"

    // Creates the folder when needed and writes the plan atomically (pretty, sorted keys).
    // On failure nothing is written and the system's description is returned.
    Status save(const ScreenshotPlan &plan) const;

    // Writes a UTF-8 text file atomically into the folder; returns its path.
    Result<QString> writeGeneratedFile(const QString &text, const QString &fileName) const;

    // The plan on disk: nothing when the file is missing, unreadable or does not decode.
    std::optional<ScreenshotPlan> load(QString *error = nullptr) const;

private:
    QString m_fastlaneDirectory;
};
