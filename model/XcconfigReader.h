#pragma once

#include "BuildSettingsResolver.h"

#include <QList>
#include <QString>

#include <functional>

// Reads the build settings of an .xcconfig file, with the files it includes ("#include" and
// "#include?") read in place, in the order the build applies them. Only files inside the
// project's folder are read (through ProjectFile); a file that cannot be read gives nothing.
namespace XcconfigReader {

// Deeper include chains than any real configuration uses; a hostile chain ends here.
inline constexpr int maximumIncludeDepth = 16;
// How many files one read opens at most, includes of includes counted.
inline constexpr int maximumFiles = 128;

// The definitions of `path` and what it includes, first line first. A file that includes
// itself, directly or through others, is read once on that chain.
QList<BuildSettingsResolver::Definition> read(const QString &path, const QString &projectFolder);

// The definitions of one file's text; `include` is called with the path each include line
// names (as written) and its result is put in place. A missing file included without "?"
// fails the real build; here it only adds nothing, like "#include?".
QList<BuildSettingsResolver::Definition> parse(
    const QString &text, const std::function<QList<BuildSettingsResolver::Definition>(const QString &path)> &include);

} // namespace XcconfigReader
