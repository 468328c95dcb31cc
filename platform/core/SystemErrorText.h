#pragma once

#include "MessageCatalog.h"

#include <QString>

// The system's error texts in German. The C library's English text of an error is translated
// through the C library's own German catalogue, read directly, so that the texts do not depend
// on which locales the system has generated; English where the catalogue is missing.
namespace SystemErrorText {

// The text of a system error (an errno value).
QString of(int code);
QString of(int code, const MessageCatalog &catalogue);

// A text that Qt or the standard library made from a system error ("Not a directory" of a
// QFile, "execvp: Permission denied" of a QProcess), in English or in the process's locale:
// the system's part at its end in German, without the name of the call that failed before it
// ("Keine Berechtigung"). Any other text is returned as it is.
QString localized(const QString &text);
QString localized(const QString &text, const MessageCatalog &catalogue);

// The C library's German catalogue, read on first use and kept for the process (safe from any
// thread); empty when it is missing or damaged.
const MessageCatalog &catalogue();

} // namespace SystemErrorText
