#include "MessageCatalog.h"

#include "SystemErrorText.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringDecoder>
#include <QtEndian>

#include <optional>

namespace {

constexpr quint32 moMagic = 0x950412de;
constexpr qint64 headerSize = 7 * 4;
// Far beyond any real catalogue; a larger file is not read into memory.
constexpr qint64 largestFile = 64 * 1024 * 1024;
// A catalogue stores each of its strings once, so a real one never decodes to more than the
// largest file read. Entries that all point at one long string would multiply it.
constexpr qint64 largestDecoded = largestFile;

// The file's words in the byte order it was written in, every offset checked against its size.
class MoReader
{
public:
    explicit MoReader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool readMagic()
    {
        const std::optional<quint32> magic = word(0);
        if (magic == moMagic)
            return true;
        m_swapped = magic && qbswap(*magic) == moMagic;
        return m_swapped;
    }

    std::optional<quint32> word(qint64 at) const
    {
        if (at < 0 || at + 4 > m_bytes.size())
            return std::nullopt;
        const quint32 value = qFromLittleEndian<quint32>(m_bytes.constData() + at);
        return m_swapped ? qbswap(value) : value;
    }

    // Entry `index` of a string table: its bytes up to the first NUL, which ends the message
    // (and separates a plural's forms).
    std::optional<QByteArrayView> string(quint32 table, quint32 index) const
    {
        const qint64 at = qint64(table) + qint64(index) * 8;
        const std::optional<quint32> length = word(at);
        const std::optional<quint32> offset = word(at + 4);
        if (!length || !offset || qint64(*offset) + qint64(*length) > m_bytes.size())
            return std::nullopt;
        QByteArrayView text(m_bytes.constData() + *offset, qsizetype(*length));
        const qsizetype end = text.indexOf('\0');
        return end >= 0 ? text.first(end) : text;
    }

private:
    const QByteArray &m_bytes;
    bool m_swapped = false;
};

// The charset the header names ("Content-Type: text/plain; charset=UTF-8"); UTF-8 without one.
QByteArray headerCharset(QByteArrayView header)
{
    const QByteArray text = header.toByteArray().toLower();
    const qsizetype at = text.indexOf("charset=");
    if (at < 0)
        return QByteArrayLiteral("utf-8");
    qsizetype end = at + 8;
    while (end < text.size() && !QChar::isSpace(uchar(text.at(end))) && text.at(end) != ';')
        ++end;
    return text.mid(at + 8, end - at - 8);
}

} // namespace

MessageCatalog::MessageCatalog(QHash<QByteArray, QString> messages) : m_messages(std::move(messages)) {}

Result<MessageCatalog> MessageCatalog::parse(const QByteArray &bytes)
{
    using CatalogResult = Result<MessageCatalog>;
    MoReader reader(bytes);
    if (bytes.size() < headerSize || !reader.readMagic())
        return CatalogResult::failure(QStringLiteral("Keine Nachrichtenkatalog-Datei"));
    const quint32 revision = *reader.word(4);
    if ((revision >> 16) > 1)
        return CatalogResult::failure(QStringLiteral("Unbekannte Version %1 des Nachrichtenkatalogs").arg(revision >> 16));
    const quint32 count = *reader.word(8);
    const quint32 originals = *reader.word(12);
    const quint32 translations = *reader.word(16);
    // Both tables must lie within the file before a single entry is read.
    for (const quint32 table : {originals, translations}) {
        if (qint64(table) + qint64(count) * 8 > bytes.size())
            return CatalogResult::failure(QStringLiteral("Nachrichtenkatalog abgeschnitten"));
    }

    QHash<QByteArray, QByteArrayView> raw;
    raw.reserve(count);
    QByteArray charset = QByteArrayLiteral("utf-8");
    qint64 decoded = 0;
    for (quint32 i = 0; i < count; ++i) {
        const std::optional<QByteArrayView> original = reader.string(originals, i);
        const std::optional<QByteArrayView> translation = reader.string(translations, i);
        if (!original || !translation)
            return CatalogResult::failure(QStringLiteral("Nachrichtenkatalog abgeschnitten"));
        decoded += original->size() + translation->size();
        if (decoded > largestDecoded)
            return CatalogResult::failure(QStringLiteral("Nachrichtenkatalog zu groß"));
        if (original->isEmpty())
            charset = headerCharset(*translation);
        else if (!translation->isEmpty())
            raw.insert(original->toByteArray(), *translation);
    }

    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return CatalogResult::failure(QStringLiteral("Unbekannte Zeichenkodierung „%1“").arg(QString::fromLatin1(charset)));
    QHash<QByteArray, QString> messages;
    messages.reserve(raw.size());
    for (auto it = raw.cbegin(); it != raw.cend(); ++it) {
        // A broken sequence at the end of one message must not spill into the next.
        decoder.resetState();
        messages.insert(it.key(), decoder.decode(it.value()));
    }
    return MessageCatalog(std::move(messages));
}

Result<MessageCatalog> MessageCatalog::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result<MessageCatalog>::failure(SystemErrorText::localized(file.errorString()));
    return read(file);
}

Result<MessageCatalog> MessageCatalog::read(QFile &file)
{
    if (file.size() > largestFile)
        return Result<MessageCatalog>::failure(QStringLiteral("Nachrichtenkatalog zu groß"));
    return parse(file.readAll());
}

QString MessageCatalog::translate(const QByteArray &message) const
{
    return m_messages.value(message);
}

void MessageCatalog::addFallback(const MessageCatalog &fallback)
{
    for (auto it = fallback.m_messages.cbegin(); it != fallback.m_messages.cend(); ++it) {
        if (!m_messages.contains(it.key()))
            m_messages.insert(it.key(), it.value());
    }
}
