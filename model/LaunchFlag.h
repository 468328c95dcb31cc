#pragma once

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

enum class LaunchFlagType { Bool, Enum, String };

// One app-defined launch flag from the app's "velorance-flags.json".
struct LaunchFlag
{
    QString arg;   // the argument, also the flag's identity
    LaunchFlagType type = LaunchFlagType::Bool;
    QString label;
    std::optional<QString> help;
    std::optional<QStringList> values;

    bool operator==(const LaunchFlag &) const = default;

    QJsonObject toJson() const;
    static std::optional<LaunchFlag> fromJson(const QJsonValue &json, QString *error = nullptr);
};

namespace LaunchFlagsManifest {

// The content of "velorance-flags.json": an object whose "flags" key holds the flags.
struct File
{
    QList<LaunchFlag> flags;
    // A missing "flags" key or a wrong type is a decoding error.
    static std::optional<File> decode(const QByteArray &bytes, QString *error = nullptr);
    QByteArray encode() const;
};

// Reads "<project folder>/velorance-flags.json"; missing, unreadable (a FIFO, a device, more
// than ProjectFile::maximumSize bytes) or invalid gives nothing.
std::optional<File> load(const QString &projectFolder);

// The selections as arguments: sorted by key, values trimmed of spaces and tabs, empty
// values skipped, each pair as key then value.
QStringList launchArguments(const QMap<QString, QString> &selections);

} // namespace LaunchFlagsManifest
