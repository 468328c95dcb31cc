#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The parsed progress of one run, fed line by line.
struct LaneRunProgress
{
    static constexpr int maxRecentLines = 400;
    // Languages followed at most; markers of further ones (only hostile output has them)
    // are ignored.
    static constexpr qsizetype maxLanguages = 1000;

    QStringList languagesDone;
    QStringList languagesActive;
    // Every language in either list, and whether it is done: lookups in constant time.
    QHash<QString, bool> languagesSeen;
    QStringList recentLines;            // the last 400 output lines
    int buildSteps = 0;
    std::optional<int> expectedBuildSteps;
    bool finished = false;
    std::optional<int> exitCode;

    // Takes one output line: keeps it in the window, follows "SHOT-START"/"SHOT-DONE"
    // markers and counts build steps.
    void ingest(const QString &line);
    void finish(int code);

    // "<n> / ~<expected> Schritte", "<n> Schritte", or the languages done and active;
    // empty before the first counted step.
    QString summary() const;
};
