#include "StringsFile.h"

#include <QFile>

namespace StringsFile {
namespace {

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
            case 'u': {
                bool ok = false;
                const uint code = m_text.mid(m_pos, 4).toUInt(&ok, 16);
                if (!ok)
                    return std::nullopt;
                m_pos += 4;
                out.append(QChar(char16_t(code)));
                break;
            }
            default: out.append(e); break; // \" \\ and anything else taken literally
            }
        }
        return std::nullopt;
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
    while (!reader.atEnd()) {
        const auto key = reader.quoted();
        if (!key || !reader.expect(QLatin1Char('='))) {
            if (error)
                *error = QStringLiteral("Schlüssel erwartet");
            break;
        }
        const auto value = reader.quoted();
        if (!value || !reader.expect(QLatin1Char(';'))) {
            if (error)
                *error = QStringLiteral("Wert zu „%1“ unvollständig").arg(*key);
            break;
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
