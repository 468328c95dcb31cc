#include "StringsFile.h"

#include <QFile>

namespace StringsFile {
namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

class Reader
{
public:
    explicit Reader(const QString &text) : m_text(text) {}

    bool atEnd() { skipBlanksAndComments(); return m_pos >= m_text.size(); }

    std::optional<QString> quoted()
    {
        skipBlanksAndComments();
        if (m_pos >= m_text.size() || m_text.at(m_pos) != QLatin1Char('"'))
            return std::nullopt;
        ++m_pos;
        QString out;
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos++);
            if (c == QLatin1Char('"'))
                return out;
            if (c != QLatin1Char('\\')) {
                out.append(c);
                continue;
            }
            if (m_pos >= m_text.size())
                return std::nullopt;
            const QChar e = m_text.at(m_pos++);
            switch (e.unicode()) {
            case 'n': out.append(QLatin1Char('\n')); break;
            case 't': out.append(QLatin1Char('\t')); break;
            case 'r': out.append(QLatin1Char('\r')); break;
            case 'U':
            case 'u':
                appendUnicodeEscape(out, e);
                break;
            default: out.append(e); break; // \" \\ and anything else taken literally
            }
        }
        return std::nullopt;
    }

    // Where the reader stands, and a way back there or beyond after an entry that failed.
    qsizetype position() const { return m_pos; }
    // Moves to the start of the line after the one holding `from`.
    void skipLineOf(qsizetype from)
    {
        const qsizetype end = m_text.indexOf(QLatin1Char('\n'), from);
        m_pos = end < 0 ? m_text.size() : end + 1;
    }

    bool expect(QChar c)
    {
        skipBlanksAndComments();
        if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

private:
    // The value of the four hex digits at `at`, or nothing.
    std::optional<char16_t> hexQuad(qsizetype at) const
    {
        if (at + 4 > m_text.size())
            return std::nullopt;
        char16_t code = 0;
        for (qsizetype i = at; i < at + 4; ++i) {
            const int digit = hexDigit(m_text.at(i));
            if (digit < 0)
                return std::nullopt;
            code = char16_t(code * 16 + digit);
        }
        return code;
    }

    // "\Uxxxx" with exactly four hex digits; a high surrogate takes its low half from a
    // second escape right after it. Anything else (too few digits, a sign, "0x", a lone
    // surrogate) stays as the file has it, backslash included.
    void appendUnicodeEscape(QString &out, QChar marker)
    {
        const auto code = hexQuad(m_pos);
        if (code && QChar::isHighSurrogate(*code) && m_pos + 6 <= m_text.size()
            && m_text.at(m_pos + 4) == QLatin1Char('\\')
            && (m_text.at(m_pos + 5) == QLatin1Char('U') || m_text.at(m_pos + 5) == QLatin1Char('u'))) {
            const auto low = hexQuad(m_pos + 6);
            if (low && QChar::isLowSurrogate(*low)) {
                out.append(QChar(*code));
                out.append(QChar(*low));
                m_pos += 10;
                return;
            }
        }
        if (!code || QChar::isSurrogate(*code)) {
            out.append(QLatin1Char('\\'));
            out.append(marker);
            return;
        }
        out.append(QChar(*code));
        m_pos += 4;
    }

    void skipBlanksAndComments()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos);
            if (c.isSpace() || c == QChar(0xFEFF)) {
                ++m_pos;
            } else if (m_text.mid(m_pos, 2) == QLatin1String("/*")) {
                const qsizetype end = m_text.indexOf(QLatin1String("*/"), m_pos + 2);
                m_pos = end < 0 ? m_text.size() : end + 2;
            } else if (m_text.mid(m_pos, 2) == QLatin1String("//")) {
                const qsizetype end = m_text.indexOf(QLatin1Char('\n'), m_pos);
                m_pos = end < 0 ? m_text.size() : end + 1;
            } else {
                break;
            }
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

} // namespace

QHash<QString, QString> parse(const QString &text, QString *error)
{
    QHash<QString, QString> table;
    Reader reader(text);
    const auto fail = [error](const QString &message) {
        // The first fault is the one worth telling.
        if (error && error->isEmpty())
            *error = message;
    };
    while (!reader.atEnd()) {
        const qsizetype start = reader.position();
        const auto key = reader.quoted();
        if (!key || !reader.expect(QLatin1Char('='))) {
            fail(QStringLiteral("Schlüssel erwartet"));
            reader.skipLineOf(start);
            continue;
        }
        const auto value = reader.quoted();
        if (!value || !reader.expect(QLatin1Char(';'))) {
            fail(QStringLiteral("Wert zu „%1“ unvollständig").arg(*key));
            reader.skipLineOf(start);
            continue;
        }
        table.insert(*key, *value);
    }
    return table;
}

std::optional<QHash<QString, QString>> load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(QString::fromUtf8(file.readAll()));
}

} // namespace StringsFile
