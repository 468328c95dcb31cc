#pragma once

#include <QString>
#include <QStringList>

// The one way a value reaches a POSIX shell script: as a single word that the shell takes
// literally, so no value can run a command or split into two arguments.
namespace ShellQuote {
// `value` as one shell word: left bare when it holds only harmless characters, otherwise in
// single quotes with every single quote written as '\''. NUL characters are dropped (a shell
// string cannot hold them).
QString quote(const QString &value);
// Each value quoted, joined with blanks.
QString join(const QStringList &values);
}
