#include "XcconfigReader.h"

#include <ProjectFile.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace XcconfigReader {
namespace {

// An unconditional assignment's key; "KEY[sdk=…]" holds for some builds only and is left out.
bool isSettingName(QStringView key)
{
    if (key.isEmpty() || key.front().isDigit())
        return false;
    return std::all_of(key.begin(), key.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
    });
}

QString settingValue(QStringView text)
{
    QStringView value = text.trimmed();
    if (value.endsWith(QLatin1Char(';')))
        value = value.chopped(1).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.sliced(1, value.size() - 2);
    return value.toString();
}

// The path of an include line ("#include "a.xcconfig"" or "#include? "a.xcconfig""); nothing
// for other lines and for the "<DEVELOPER_DIR>/…" form, which names files outside the project.
std::optional<QString> includedPath(QStringView line)
{
    const QLatin1String directive("#include");
    if (!line.startsWith(directive))
        return std::nullopt;
    QStringView rest = line.sliced(directive.size());
    if (rest.startsWith(QLatin1Char('?')))
        rest = rest.sliced(1);
    rest = rest.trimmed();
    if (rest.size() < 2 || !rest.startsWith(QLatin1Char('"')))
        return std::nullopt;
    const qsizetype close = rest.indexOf(QLatin1Char('"'), 1);
    if (close <= 1)
        return std::nullopt;
    return rest.sliced(1, close - 1).toString();
}

// The lines of a file that matter, in order: definitions, and includes as an empty key with
// the path as written. Nothing when the file alone holds more of either than a chain may.
std::optional<Definitions> lines(const QString &text)
{
    Definitions result;
    qsizetype includes = 0;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (includes > maximumIncludes || result.size() - includes > maximumDefinitions)
            return std::nullopt;
        // "//" opens a comment anywhere on the line; values that need two slashes write "/$()/".
        if (const qsizetype comment = line.indexOf(QLatin1String("//")); comment >= 0)
            line = line.first(comment);
        line = line.trimmed();
        if (line.startsWith(QChar::ByteOrderMark))
            line = line.sliced(1).trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('#'))) {
            if (const auto path = includedPath(line)) {
                result.append({QString(), *path});
                ++includes;
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QStringView key = line.first(equals).trimmed();
        if (isSettingName(key))
            result.append({key.toString(), settingValue(line.sliced(equals + 1))});
    }
    if (includes > maximumIncludes || result.size() - includes > maximumDefinitions)
        return std::nullopt;
    return result;
}

bool isInclude(const BuildSettingsResolver::Definition &line)
{
    return line.key.isEmpty();
}

} // namespace

// One chain being put together: the files being read (outermost first) and what the chain
// has added up to so far.
struct Files::Chain
{
    QStringList reading;
    qint64 bytes = 0;
    int includes = 0;
    Definitions definitions;
};

Files::Files(const QString &root) : m_root(root), m_names(root) {}

BuildSettingsResolver::SharedLevel Files::level(const QString &path)
{
    const QString asked = QDir::cleanPath(path);
    // Many configurations name the same file: its links are looked at once.
    if (const auto known = m_chainsAsked.constFind(asked); known != m_chainsAsked.cend())
        return *known;
    const QString clean = QDir::cleanPath(m_names.existing(asked));
    const QString resolved = ProjectFile::resolvedPath(clean);
    if (const auto known = m_chains.constFind(resolved); known != m_chains.cend())
        return m_chainsAsked.insert(asked, *known).value();
    Chain chain;
    const bool complete = append(clean, chain) && m_definitions + chain.definitions.size() <= maximumDefinitionsTotal;
    if (!complete)
        chain.definitions.clear();
    m_definitions += chain.definitions.size();
    auto result = std::make_shared<const BuildSettingsResolver::Level>(chain.definitions);
    m_chains.insert(resolved, result);
    m_chainsAsked.insert(asked, result);
    return result;
}

// Adds the file's definitions and those of its includes to the chain; false past a cap.
// Sizes and counts are checked before a path is resolved or a file read.
bool Files::append(const QString &written, Chain &chain)
{
    const QString path = m_names.existing(written);
    const QString resolved = ProjectFile::resolvedPath(path);
    if (chain.reading.contains(resolved) || chain.reading.size() >= maximumIncludeDepth)
        return true;
    auto known = m_files.constFind(resolved);
    if (known == m_files.cend()) {
        const ProjectFile::Stamp stamp = ProjectFile::stamp(resolved);
        if (m_root.isEmpty() || !stamp.exists || !ProjectFile::isInside(resolved, m_root)) {
            m_files.insert(resolved, File{});
            return true;
        }
        if (chain.bytes + stamp.size > maximumChainBytes || m_bytesRead + stamp.size > maximumBytesRead
            || m_filesRead >= maximumFiles)
            return false;
        File read;
        if (const Result<QByteArray> bytes = ProjectFile::read(path, m_root)) {
            read.readable = true;
            read.size = bytes.value().size();
            const auto fileLines = lines(QString::fromUtf8(bytes.value()));
            read.withinCaps = fileLines.has_value();
            read.lines = fileLines.value_or(Definitions());
            m_bytesRead += read.size;
            ++m_filesRead;
        }
        known = m_files.insert(resolved, read);
    }
    if (!known->readable)
        return true;
    if (!known->withinCaps)
        return false;
    chain.bytes += known->size;
    if (chain.bytes > maximumChainBytes || m_bytesRead > maximumBytesRead)
        return false;

    // Reading includes may grow the table of files: the lines are held by value.
    const Definitions fileLines = known->lines;
    const QDir folder = QFileInfo(path).absoluteDir();
    chain.reading.append(resolved);
    for (const BuildSettingsResolver::Definition &line : fileLines) {
        if (isInclude(line)) {
            if (++chain.includes > maximumIncludes
                || !append(QDir::cleanPath(folder.absoluteFilePath(line.value)), chain))
                return false;
        } else {
            chain.definitions.append(line);
            if (chain.definitions.size() > maximumDefinitions)
                return false;
        }
    }
    chain.reading.removeLast();
    return true;
}

Definitions parse(const QString &text, const std::function<Definitions(const QString &path)> &include)
{
    Definitions definitions;
    for (const BuildSettingsResolver::Definition &line : lines(text).value_or(Definitions())) {
        if (isInclude(line))
            definitions += include(line.value);
        else
            definitions.append(line);
    }
    return definitions;
}

Definitions read(const QString &path, const QString &root)
{
    Files files(root);
    return files.level(path)->definitions();
}

} // namespace XcconfigReader
