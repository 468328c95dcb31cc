#pragma once

#include <QHash>
#include <QString>

#include <optional>

// Reads the `"key" = "value";` strings format: UTF-8, /* */ and // comments, the escapes
// \" \\ \n \t \r and \Uxxxx. A file that breaks off keeps what was read before the break.
namespace StringsFile {
QHash<QString, QString> parse(const QString &text, QString *error = nullptr);
std::optional<QHash<QString, QString>> load(const QString &path);
}
