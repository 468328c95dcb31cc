#include "LineSplitter.h"

namespace {
QString decodeLine(const char *data, qsizetype size)
{
    if (size > 0 && data[size - 1] == '\r')
        --size;
    return QString::fromUtf8(data, size);
}
} // namespace

QStringList LineSplitter::feed(const QByteArray &chunk)
{
    QStringList lines;
    qsizetype from = 0;
    // The partial line joins the first line of the chunk. UTF-8 sequences never contain
    // '\n', so splitting bytes cannot cut a character.
    const qsizetype firstNewline = chunk.indexOf('\n');
    if (firstNewline < 0) {
        m_partial += chunk;
        return lines;
    }
    if (!m_partial.isEmpty()) {
        m_partial += QByteArrayView(chunk).first(firstNewline);
        lines.append(decodeLine(m_partial.constData(), m_partial.size()));
        m_partial.clear();
    } else {
        lines.append(decodeLine(chunk.constData(), firstNewline));
    }
    from = firstNewline + 1;
    qsizetype newline;
    while ((newline = chunk.indexOf('\n', from)) >= 0) {
        lines.append(decodeLine(chunk.constData() + from, newline - from));
        from = newline + 1;
    }
    m_partial = chunk.mid(from);
    return lines;
}

std::optional<QString> LineSplitter::flush()
{
    if (m_partial.isEmpty())
        return std::nullopt;
    const QString line = decodeLine(m_partial.constData(), m_partial.size());
    m_partial.clear();
    return line;
}
