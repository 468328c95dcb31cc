#include "JsonTextWriter.h"

#include <QLocale>

#include <cmath>

namespace {

char hexDigit(uint value)
{
    return static_cast<char>(value < 10 ? '0' + value : 'a' + value - 10);
}

void appendEscapedUnit(std::string &out, char16_t unit)
{
    out += "\\u";
    out += hexDigit((unit >> 12) & 0xf);
    out += hexDigit((unit >> 8) & 0xf);
    out += hexDigit((unit >> 4) & 0xf);
    out += hexDigit(unit & 0xf);
}

} // namespace

JsonTextWriter::JsonTextWriter(qsizetype reserve)
{
    m_out.reserve(static_cast<size_t>(reserve));
}

JsonTextWriter::JsonTextWriter(std::string buffer)
    : m_out(std::move(buffer))
{
    m_out.clear();
}

JsonTextWriter JsonTextWriter::atDepth(int depth, qsizetype reserve)
{
    JsonTextWriter writer(reserve);
    writer.m_levels.resize(depth);
    writer.m_afterKey = true; // the caller places the value; no separator or indent before it
    return writer;
}

void JsonTextWriter::beforeValue()
{
    if (m_afterKey || m_levels.isEmpty()) {
        m_afterKey = false;
        return;
    }
    // An element of an array.
    Level &level = m_levels.last();
    if (!level.empty)
        m_out += ",\n";
    level.empty = false;
    indent(m_levels.size());
}

void JsonTextWriter::indent(qsizetype depth)
{
    m_out.append(static_cast<size_t>(4 * depth), ' ');
}

void JsonTextWriter::beginObject()
{
    beforeValue();
    m_out += "{\n";
    m_levels.append(Level{});
}

void JsonTextWriter::endObject()
{
    close('}');
}

void JsonTextWriter::close(char bracket)
{
    if (!m_levels.takeLast().empty)
        m_out += '\n';
    indent(m_levels.size());
    m_out += bracket;
}

void JsonTextWriter::beginArray()
{
    beforeValue();
    m_out += "[\n";
    m_levels.append(Level{});
}

void JsonTextWriter::endArray()
{
    close(']');
}

void JsonTextWriter::key(const QString &name)
{
    Level &level = m_levels.last();
    if (!level.empty)
        m_out += ",\n";
    level.empty = false;
    indent(m_levels.size());
    writeString(name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonTextWriter::value(const QString &text)
{
    beforeValue();
    writeString(text);
}

void JsonTextWriter::value(double number)
{
    beforeValue();
    if (!std::isfinite(number)) {
        m_out += "null"; // JSON has no infinity or NaN
        return;
    }
    // Whole numbers that a double holds exactly are written as integers, as Qt does.
    constexpr double exactIntegerLimit = 9007199254740992.0; // 2^53
    if (number == std::trunc(number) && std::abs(number) <= exactIntegerLimit) {
        m_out += std::to_string(static_cast<qint64>(number));
        return;
    }
    m_out += QByteArray::number(number, 'g', QLocale::FloatingPointShortest).toStdString();
}

void JsonTextWriter::value(bool flag)
{
    beforeValue();
    m_out += flag ? "true" : "false";
}

void JsonTextWriter::plainValue(QLatin1StringView text)
{
    beforeValue();
    m_out += '"';
    m_out.append(text.data(), static_cast<size_t>(text.size()));
    m_out += '"';
}

void JsonTextWriter::rawValue(QByteArrayView json)
{
    beforeValue();
    m_out.append(json.data(), static_cast<size_t>(json.size()));
}

QByteArray JsonTextWriter::fragment() const
{
    return QByteArray(m_out.data(), static_cast<qsizetype>(m_out.size()));
}

QByteArray JsonTextWriter::finish()
{
    m_out += '\n';
    return QByteArray(m_out.data(), static_cast<qsizetype>(m_out.size()));
}

void JsonTextWriter::writeString(const QString &text)
{
    m_out += '"';
    const auto *units = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = units[i];
        if (u < 0x80) {
            switch (u) {
            case '"': m_out += "\\\""; break;
            case '\\': m_out += "\\\\"; break;
            case '\b': m_out += "\\b"; break;
            case '\f': m_out += "\\f"; break;
            case '\n': m_out += "\\n"; break;
            case '\r': m_out += "\\r"; break;
            case '\t': m_out += "\\t"; break;
            default:
                if (u < 0x20)
                    appendEscapedUnit(m_out, u);
                else
                    m_out += static_cast<char>(u);
            }
        } else if (u < 0x800) {
            m_out += static_cast<char>(0xc0 | (u >> 6));
            m_out += static_cast<char>(0x80 | (u & 0x3f));
        } else if (QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
            const char32_t c = QChar::surrogateToUcs4(u, units[++i]);
            m_out += static_cast<char>(0xf0 | (c >> 18));
            m_out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
            m_out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
            m_out += static_cast<char>(0x80 | (c & 0x3f));
        } else if (QChar::isSurrogate(u)) {
            appendEscapedUnit(m_out, u); // a lone half of a pair cannot be UTF-8
        } else if (u == 0xfeff && i == 0) {
            // Qt's reader drops a raw byte-order mark that opens a string; escaped, it stays.
            appendEscapedUnit(m_out, u);
        } else {
            m_out += static_cast<char>(0xe0 | (u >> 12));
            m_out += static_cast<char>(0x80 | ((u >> 6) & 0x3f));
            m_out += static_cast<char>(0x80 | (u & 0x3f));
        }
    }
    m_out += '"';
}
