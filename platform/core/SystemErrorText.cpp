#include "SystemErrorText.h"

#include <QFile>
#include <QSet>

#include <cstring>

namespace SystemErrorText {
namespace {

// The kernel's error numbers end here on every architecture.
constexpr int highestCode = 4095;

// Debian's libc-l10n.
const char *const cataloguePath = "/usr/share/locale/de/LC_MESSAGES/libc.mo";

QString translated(const QString &english, const MessageCatalog &catalogue)
{
    const QString german = catalogue.translate(english.toUtf8());
    return german.isEmpty() ? english : german;
}

// Every English error text of the C library, to find one at the end of a text Qt made.
const QSet<QString> &englishTexts()
{
    static const QSet<QString> texts = [] {
        QSet<QString> result;
        for (int code = 1; code <= highestCode; ++code) {
            if (const char *text = strerrordesc_np(code))
                result.insert(QString::fromUtf8(text));
        }
        return result;
    }();
    return texts;
}

} // namespace

QString of(int code)
{
    return of(code, catalogue());
}

QString of(int code, const MessageCatalog &catalogue)
{
    // strerrordesc_np is strerror as the C locale has it, whatever locale the process is in.
    if (const char *text = strerrordesc_np(code))
        return translated(QString::fromUtf8(text), catalogue);
    // As strerror words a number it does not know.
    return translated(QStringLiteral("Unknown error "), catalogue) + QString::number(code);
}

QString localized(const QString &text)
{
    return localized(text, catalogue());
}

QString localized(const QString &text, const MessageCatalog &catalogue)
{
    // The system's text comes last, after the name of the call that failed, if any.
    qsizetype from = 0;
    while (from < text.size()) {
        const QString tail = text.mid(from);
        if (englishTexts().contains(tail))
            return text.left(from) + translated(tail, catalogue);
        const qsizetype colon = text.indexOf(QLatin1String(": "), from);
        if (colon < 0)
            break;
        from = colon + 2;
    }
    return text;
}

const MessageCatalog &catalogue()
{
    static const MessageCatalog german = [] {
        // Opened here: a failure of MessageCatalog::read(path) is worded through this very
        // catalogue, which is not there yet.
        QFile file(QString::fromLatin1(cataloguePath));
        if (!file.open(QIODevice::ReadOnly))
            return MessageCatalog();
        Result<MessageCatalog> read = MessageCatalog::read(file);
        return read ? std::move(read.value()) : MessageCatalog();
    }();
    return german;
}

} // namespace SystemErrorText
