#pragma once

#include <MessageCatalog.h>

#include <QString>

// The C library's German text for one of its English texts, read here straight from the
// catalogue of Debian's libc-l10n: what the program must show for a system error. Empty when
// the catalogue or the text is missing.
inline QString libcGerman(const char *english)
{
    static const Result<MessageCatalog> catalogue =
        MessageCatalog::read(QStringLiteral("/usr/share/locale/de/LC_MESSAGES/libc.mo"));
    return catalogue ? catalogue.value().translate(english) : QString();
}
