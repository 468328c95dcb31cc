#pragma once

#include "BuildSettingsResolver.h"
#include "FileNameCase.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

// Reads the build settings of an .xcconfig file, with the files it includes ("#include" and
// "#include?") read in place, in the order the build applies them. Only files inside the root
// given (the repository's top) are read, through ProjectFile; a file that cannot be read gives
// nothing. A file that is not there as named is found as the Mac finds it (FileNameCase).
namespace XcconfigReader {

// Deeper include chains than any real configuration uses; a hostile chain ends here.
inline constexpr int maximumIncludeDepth = 16;
// What one chain (a file with everything it includes) may add up to, every inclusion of a
// file counted again. Real ones stay far below; past any of these the chain gives nothing.
inline constexpr qint64 maximumChainBytes = 4 * 1024 * 1024;
inline constexpr qsizetype maximumDefinitions = 100000;
inline constexpr int maximumIncludes = 1000;
// What one Files reads from disk and puts together at most, over all its chains: a chain that
// would pass it gives nothing.
inline constexpr int maximumFiles = 128;
inline constexpr qint64 maximumBytesRead = 16 * 1024 * 1024;
inline constexpr qsizetype maximumDefinitionsTotal = 400000;

using Definitions = QList<BuildSettingsResolver::Definition>;

// The .xcconfig files of one project for one scan: each file is read and parsed at most once,
// and each chain put together once, however many configurations are based on it.
class Files final
{
public:
    // Files are read inside `root` only; none for an empty root.
    explicit Files(const QString &root);

    // The definitions of `path` and what it includes, first line first. A file that includes
    // itself, directly or through others, is read once on that chain; a chain deeper than
    // maximumIncludeDepth ends there. Empty when the file cannot be read or a cap is passed.
    BuildSettingsResolver::SharedLevel level(const QString &path);

    // Bytes read from disk so far.
    qint64 bytesRead() const { return m_bytesRead; }

private:
    // A file as read: the lines that matter, definitions and includes (an empty key with the
    // path as written for value).
    struct File
    {
        bool readable = false;
        bool withinCaps = true; // false: no chain that includes it can be complete
        qint64 size = 0;
        Definitions lines;
    };
    struct Chain;

    const File &file(const QString &resolved);
    bool append(const QString &written, Chain &chain);

    QString m_root;
    FileNameCase::Finder m_names;
    QHash<QString, File> m_files;                                  // by resolved path
    QHash<QString, BuildSettingsResolver::SharedLevel> m_chains;   // by resolved path
    QHash<QString, BuildSettingsResolver::SharedLevel> m_chainsAsked; // by the path asked for
    qint64 m_bytesRead = 0;
    int m_filesRead = 0;
    qsizetype m_definitions = 0;
};

// The definitions of `path` and what it includes, first line first (one Files for one file).
Definitions read(const QString &path, const QString &root);

// The definitions of one file's text; `include` is called with the path each include line
// names (as written) and its result is put in place. A missing file included without "?"
// fails the real build; here it only adds nothing, like "#include?". Nothing for a text with
// more include lines or definitions than a chain may hold.
Definitions parse(const QString &text, const std::function<Definitions(const QString &path)> &include);

} // namespace XcconfigReader
