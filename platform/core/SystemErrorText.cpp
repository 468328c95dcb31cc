#include "SystemErrorText.h"

#include <QFile>
#include <QSet>

#include <cstring>
#include <optional>

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

// The error whose text in the process's locale (as strerror gives it now) is `text`; 0 if none.
int codeOfProcessText(const QString &text)
{
    const QByteArray wanted = text.toUtf8();
    char buffer[256];
    for (int code = 1; code <= highestCode; ++code) {
        if (!strerrordesc_np(code))
            continue;
        // The GNU strerror_r: thread-safe, in the locale strerror would use.
        if (wanted == strerror_r(code, buffer, sizeof buffer))
            return code;
    }
    return 0;
}

// "execvp: ": one word in lower case, as C names its functions, then the separator.
bool isCallName(const QString &prefix)
{
    if (!prefix.endsWith(QLatin1String(": ")) || prefix.size() < 3)
        return false;
    for (const QChar c : QStringView(prefix).chopped(2)) {
        if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_'))
            return false;
    }
    return true;
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
    // The system's text comes last, after the name of the call that failed, if any. Qt words
    // a few errors in English itself and leaves the others to strerror, in the process's locale.
    qsizetype from = 0;
    while (from < text.size()) {
        const QString tail = text.mid(from);
        std::optional<QString> german;
        if (englishTexts().contains(tail))
            german = translated(tail, catalogue);
        else if (const int code = codeOfProcessText(tail))
            german = of(code, catalogue);
        if (german) {
            // "execvp: ", "chdir: ": the name of the call tells the user nothing.
            const QString before = text.left(from);
            return isCallName(before) ? *german : before + *german;
        }
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
