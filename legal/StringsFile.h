#pragma once

#include <QHash>
#include <QString>

#include <optional>

// Reads the `"key" = "value";` strings format: UTF-8, /* */ and // comments, the escapes
// \" \\ \n \t \r and \Uxxxx (exactly four hex digits; a surrogate pair as two escapes).
// A malformed \U escape stays as written. An entry that does not parse is skipped up to
// the next line and reported in `error`; every other entry is kept.
namespace StringsFile {
QHash<QString, QString> parse(const QString &text, QString *error = nullptr);
std::optional<QHash<QString, QString>> load(const QString &path);
}
