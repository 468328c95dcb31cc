#include "LineSplitter.h"

namespace {
QString decodeLine(QByteArrayView bytes)
{
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

// `bytes` without a UTF-8 sequence that the cut left incomplete at its end.
QByteArrayView withoutCutCharacter(QByteArrayView bytes)
{
    qsizetype lead = bytes.size();
    int continuations = 0;
    while (lead > 0 && continuations < 3 && (uchar(bytes[lead - 1]) & 0xC0) == 0x80) {
        --lead;
        ++continuations;
    }
    if (lead == 0)
        return bytes;
    const uchar first = uchar(bytes[lead - 1]);
    const int length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    return length > 1 && continuations + 1 < length ? bytes.first(lead - 1) : bytes;
}
} // namespace

QStringList LineSplitter::feed(const QByteArray &chunk)
{
    QStringList lines;
    // UTF-8 sequences never contain '\n', so splitting bytes cannot cut a character.
    qsizetype from = 0;
    while (from < chunk.size()) {
        const qsizetype newline = chunk.indexOf('\n', from);
        const qsizetype end = newline < 0 ? chunk.size() : newline;
        const QByteArrayView piece(chunk.constData() + from, end - from);
        if (m_skippingRest) {
            // Still inside a line that was delivered cut.
        } else if (m_partial.size() + piece.size() > maxLineBytes) {
            m_partial += piece.first(maxLineBytes - m_partial.size());
            lines.append(QString::fromUtf8(withoutCutCharacter(m_partial)));
            m_partial.clear();
            m_skippingRest = true;
        } else if (newline >= 0 && m_partial.isEmpty()) {
            lines.append(decodeLine(piece));
        } else {
            m_partial += piece;
            if (newline >= 0) {
                lines.append(decodeLine(m_partial));
                m_partial.clear();
            }
        }
        if (newline < 0)
            break;
        m_skippingRest = false;
        from = newline + 1;
    }
    return lines;
}

std::optional<QString> LineSplitter::flush()
{
    m_skippingRest = false;
    if (m_partial.isEmpty())
        return std::nullopt;
    const QString line = decodeLine(m_partial);
    m_partial.clear();
    return line;
}
