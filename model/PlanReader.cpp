#include "PlanReader.h"

#include <Uuid.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace PlanReader {
namespace {

// Deeper than any plan; unknown values nested further are left to the general reader.
constexpr int maximumDepth = 128;
// Longer number texts are left to the general reader too.
constexpr qsizetype maximumNumberLength = 64;

template <size_t N>
int keyIndex(QByteArrayView key, const char *const (&names)[N])
{
    for (size_t i = 0; i < N; ++i) {
        if (key == QByteArrayView(names[i]))
            return int(i);
    }
    return -1;
}

// Strict UTF-8 without the non-characters, whose handling is left to the general reader.
bool isCleanUtf8(QByteArrayView text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length;
        char32_t code;
        unsigned char low = 0x80, high = 0xbf; // allowed range of the second byte
        if (c >= 0xc2 && c <= 0xdf) {
            length = 2;
            code = c & 0x1f;
        } else if (c >= 0xe0 && c <= 0xef) {
            length = 3;
            code = c & 0x0f;
            if (c == 0xe0)
                low = 0xa0;
            else if (c == 0xed)
                high = 0x9f; // no surrogates
        } else if (c >= 0xf0 && c <= 0xf4) {
            length = 4;
            code = c & 0x07;
            if (c == 0xf0)
                low = 0x90;
            else if (c == 0xf4)
                high = 0x8f;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xc0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3f);
        }
        if ((code & 0xfffe) == 0xfffe || (code >= 0xfdd0 && code <= 0xfdef))
            return false;
        p += length;
    }
    return true;
}

constexpr QByteArrayView byteOrderMark("\xef\xbb\xbf");

// Text of bytes that passed isCleanUtf8. QString::fromUtf8 drops a byte-order mark at the
// start of what it is given; inside a string (after an escape) Qt's JSON reader keeps it, so
// the marks are kept here too.
QString textOfCleanUtf8(QByteArrayView text)
{
    QString marks;
    while (text.startsWith(byteOrderMark)) {
        marks += QChar(u'\ufeff');
        text = text.sliced(byteOrderMark.size());
    }
    return marks.isEmpty() ? QString::fromUtf8(text) : marks + QString::fromUtf8(text);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_p(bytes.data()), m_end(bytes.data() + bytes.size()) {}

    std::optional<ScreenshotPlan> plan()
    {
        // Identifiers a file leaves out are made afterwards: making one costs more than
        // reading one, and a stored plan has them all.
        ScreenshotPlan plan;
        plan.languages = {QStringLiteral("en")};
        bool lanesGiven = false;
        static constexpr const char *names[] = {"languages", "shots", "lanes", "launchVariables",
                                                "launchArguments", "flagSelections", "location"};
        const bool ok = fields(0, names, [&](int index) {
            switch (index) {
            case 0: return stringList(plan.languages);
            case 1: return list(plan.shots, [this](Shot &shot) { return readShot(shot); });
            case 2: lanesGiven = true; return list(plan.lanes, [this](Lane &lane) { return readLane(lane); });
            case 3: return list(plan.launchVariables, [this](LaunchVariable &v) { return readVariable(v); });
            case 4: return stringList(plan.launchArguments);
            case 5: return flagSelections(plan.flagSelections);
            default: return location(plan.location);
            }
        });
        skipSpace();
        if (!ok || m_p != m_end)
            return std::nullopt;
        if (!lanesGiven)
            plan.lanes = ScreenshotPlan::makeDefault().lanes;
        return plan;
    }

private:
    // An object of known keys: the others are skipped, a key twice leaves the file to the
    // general reader, and null counts as missing. `field(index)` reads the value of
    // names[index]; `known(index)` narrows which of the names count here.
    template <size_t N, typename Known, typename Field>
    bool fields(int depth, const char *const (&names)[N], Known known, Field field)
    {
        unsigned seen = 0;
        return object(depth, [&](QByteArrayView key) {
            const int index = keyIndex(key, names);
            if (index < 0 || !known(index))
                return skipValue(depth + 1);
            if (!firstTime(seen, index))
                return false;
            if (null())
                return true;
            return field(index);
        });
    }

    template <size_t N, typename Field>
    bool fields(int depth, const char *const (&names)[N], Field field)
    {
        return fields(depth, names, [](int) { return true; }, field);
    }

    static bool firstTime(unsigned &seen, int index)
    {
        const unsigned bit = 1u << index;
        if (seen & bit)
            return false; // a key twice: what it means is the general reader's call
        seen |= bit;
        return true;
    }

    void skipSpace()
    {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
            ++m_p;
    }

    bool consume(char c)
    {
        skipSpace();
        if (m_p < m_end && *m_p == c) {
            ++m_p;
            return true;
        }
        return false;
    }

    bool literal(const char *text, size_t length)
    {
        skipSpace();
        if (size_t(m_end - m_p) < length || std::memcmp(m_p, text, length) != 0)
            return false;
        m_p += length;
        return true;
    }

    bool null() { return literal("null", 4); }

    // Walks the members of an object; `member` reads each value and says whether to go on.
    template <typename Member>
    bool object(int depth, Member member)
    {
        if (depth > maximumDepth || !consume('{'))
            return false;
        if (consume('}'))
            return true;
        for (;;) {
            QByteArrayView key;
            if (!rawKey(key) || !consume(':') || !member(key))
                return false;
            if (consume(','))
                continue;
            return consume('}');
        }
    }

    template <typename Element>
    bool array(int depth, Element element)
    {
        if (depth > maximumDepth || !consume('['))
            return false;
        if (consume(']'))
            return true;
        for (;;) {
            if (!element())
                return false;
            if (consume(','))
                continue;
            return consume(']');
        }
    }

    // A key as it stands in the file; one with an escape could spell a known key, so it is
    // left to the general reader.
    bool rawKey(QByteArrayView &key)
    {
        skipSpace();
        if (m_p >= m_end || *m_p != '"')
            return false;
        const char *start = ++m_p;
        bool ascii = true;
        while (m_p < m_end && *m_p != '"') {
            const auto c = static_cast<unsigned char>(*m_p);
            if (c == '\\' || c < 0x20)
                return false;
            ascii = ascii && c < 0x80;
            ++m_p;
        }
        if (m_p >= m_end)
            return false;
        key = QByteArrayView(start, m_p - start);
        ++m_p;
        return ascii || isCleanUtf8(key);
    }

    bool string(QString &out)
    {
        skipSpace();
        if (m_p >= m_end || *m_p != '"')
            return false;
        const char *start = ++m_p;
        // Qt's reader drops a byte-order mark that opens a string: its call.
        if (QByteArrayView(start, m_end - start).startsWith(byteOrderMark))
            return false;
        bool ascii = true;
        while (m_p < m_end && *m_p != '"') {
            const auto c = static_cast<unsigned char>(*m_p);
            if (c == '\\')
                return escapedString(start, out);
            if (c < 0x20)
                return false;
            ascii = ascii && c < 0x80;
            ++m_p;
        }
        if (m_p >= m_end)
            return false;
        const QByteArrayView text(start, m_p - start);
        ++m_p;
        if (ascii) {
            out = QString::fromLatin1(text);
            return true;
        }
        if (!isCleanUtf8(text))
            return false;
        out = textOfCleanUtf8(text);
        return true;
    }

    // The rest of a string from `start` (just after its quote), escapes and all.
    bool escapedString(const char *start, QString &out)
    {
        m_p = start;
        QString text;
        const auto flush = [&](const char *from) {
            const QByteArrayView run(from, m_p - from);
            if (!isCleanUtf8(run))
                return false;
            text += textOfCleanUtf8(run);
            return true;
        };
        const char *run = m_p;
        while (m_p < m_end && *m_p != '"') {
            const auto c = static_cast<unsigned char>(*m_p);
            if (c < 0x20)
                return false;
            if (c != '\\') {
                ++m_p;
                continue;
            }
            if (!flush(run) || m_end - m_p < 2)
                return false;
            const char kind = m_p[1];
            m_p += 2;
            switch (kind) {
            case '"': text += QLatin1Char('"'); break;
            case '\\': text += QLatin1Char('\\'); break;
            case '/': text += QLatin1Char('/'); break;
            case 'b': text += QLatin1Char('\b'); break;
            case 'f': text += QLatin1Char('\f'); break;
            case 'n': text += QLatin1Char('\n'); break;
            case 'r': text += QLatin1Char('\r'); break;
            case 't': text += QLatin1Char('\t'); break;
            case 'u': {
                if (m_end - m_p < 4)
                    return false;
                int unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = hexValue(m_p[i]);
                    if (digit < 0)
                        return false;
                    unit = unit * 16 + digit;
                }
                // Halves of surrogate pairs and NUL: the general reader's call.
                if (unit == 0 || (unit >= 0xd800 && unit <= 0xdfff))
                    return false;
                text += QChar(char16_t(unit));
                m_p += 4;
                break;
            }
            default:
                return false;
            }
            run = m_p;
        }
        if (m_p >= m_end || !flush(run))
            return false;
        ++m_p;
        out = text;
        return true;
    }

    bool number(double &out)
    {
        skipSpace();
        const char *start = m_p;
        const auto digits = [this] {
            const char *from = m_p;
            while (m_p < m_end && *m_p >= '0' && *m_p <= '9')
                ++m_p;
            return m_p > from;
        };
        if (m_p < m_end && *m_p == '-')
            ++m_p;
        if (m_p >= m_end)
            return false;
        if (*m_p == '0')
            ++m_p;
        else if (!digits())
            return false;
        const char *mantissaEnd = m_p;
        if (m_p < m_end && *m_p == '.') {
            ++m_p;
            if (!digits())
                return false;
            mantissaEnd = m_p;
        }
        if (m_p < m_end && (*m_p == 'e' || *m_p == 'E')) {
            ++m_p;
            if (m_p < m_end && (*m_p == '+' || *m_p == '-'))
                ++m_p;
            if (!digits())
                return false;
        }
        if (m_p - start > maximumNumberLength)
            return false;
        const auto [end, error] = std::from_chars(start, m_p, out);
        if (error != std::errc() || end != m_p || !std::isfinite(out))
            return false;
        const bool nonZeroDigit = std::find_if(start, mantissaEnd, [](char c) { return c >= '1' && c <= '9'; }) != mantissaEnd;
        if (out == 0 && nonZeroDigit)
            return false; // underflow
        if (out != 0 && std::fabs(out) < DBL_MIN)
            return false; // subnormal
        if (out == 0)
            out = 0; // Qt's reader gives every zero, "-0" and "-0.0" too, as +0
        return true;
    }

    // A canonical identifier in quotes, as every written plan holds them.
    bool uuid(QUuid &out)
    {
        skipSpace();
        if (m_end - m_p < 38 || m_p[0] != '"' || m_p[37] != '"')
            return false;
        const char *text = m_p + 1;
        quint8 bytes[16];
        int byte = 0;
        for (int i = 0; i < 36;) {
            if (i == 8 || i == 13 || i == 18 || i == 23) {
                if (text[i] != '-')
                    return false;
                ++i;
                continue;
            }
            const int high = hexValue(text[i]);
            const int low = hexValue(text[i + 1]);
            if (high < 0 || low < 0)
                return false;
            bytes[byte++] = quint8(high * 16 + low);
            i += 2;
        }
        out = QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char *>(bytes), 16));
        m_p += 38;
        return true;
    }

    bool identifier(QUuid &out, bool &given)
    {
        given = uuid(out);
        return given;
    }

    bool skipValue(int depth)
    {
        skipSpace();
        if (m_p >= m_end || depth > maximumDepth)
            return false;
        switch (*m_p) {
        case '{':
            return object(depth, [&](QByteArrayView) { return skipValue(depth + 1); });
        case '[':
            return array(depth, [&] { return skipValue(depth + 1); });
        case '"': {
            QString ignored;
            return string(ignored);
        }
        case 't': return literal("true", 4);
        case 'f': return literal("false", 5);
        case 'n': return null();
        default: {
            double ignored;
            return number(ignored);
        }
        }
    }

    bool stringList(QStringList &out)
    {
        QStringList items;
        const bool ok = array(1, [&] {
            QString item;
            if (!string(item))
                return false;
            items.append(std::move(item));
            return true;
        });
        out = std::move(items);
        return ok;
    }

    template <typename T, typename ReadOne>
    bool list(QList<T> &out, ReadOne readOne)
    {
        QList<T> items;
        const bool ok = array(1, [&] {
            T item;
            if (!readOne(item))
                return false;
            items.append(std::move(item));
            return true;
        });
        out = std::move(items);
        return ok;
    }

    bool location(std::optional<PlanLocation> &out)
    {
        PlanLocation value;
        static constexpr const char *names[] = {"latitude", "longitude"};
        const bool ok = fields(2, names, [&](int index) {
            return number(index == 0 ? value.latitude : value.longitude);
        });
        out = value;
        return ok;
    }

    bool point(std::optional<NormPoint> &out, int depth)
    {
        NormPoint value;
        static constexpr const char *names[] = {"x", "y"};
        const bool ok = fields(depth, names, [&](int index) {
            return number(index == 0 ? value.x : value.y);
        });
        out = value;
        return ok;
    }

    bool flagSelections(QMap<QString, QString> &out)
    {
        QMap<QString, QString> selections;
        if (!consume('{'))
            return false;
        if (!consume('}')) {
            for (;;) {
                QString key;
                QString value;
                if (!string(key) || !consume(':') || !string(value) || selections.contains(key))
                    return false;
                selections.insert(key, value);
                if (consume(','))
                    continue;
                if (!consume('}'))
                    return false;
                break;
            }
        }
        out = std::move(selections);
        return true;
    }

    bool readLane(Lane &lane)
    {
        bool idGiven = false;
        static constexpr const char *names[] = {"id", "name"};
        const bool ok = fields(2, names, [&](int index) {
            return index == 0 ? identifier(lane.id, idGiven) : string(lane.name);
        });
        if (!idGiven)
            lane.id = Uuid::make();
        return ok;
    }

    bool readVariable(LaunchVariable &variable)
    {
        bool idGiven = false;
        static constexpr const char *names[] = {"id", "key", "value"};
        const bool ok = fields(2, names, [&](int index) {
            switch (index) {
            case 0: return identifier(variable.id, idGiven);
            case 1: return string(variable.key);
            default: return string(variable.value);
            }
        });
        if (!idGiven)
            variable.id = Uuid::make();
        return ok;
    }

    bool readShot(Shot &shot)
    {
        bool idGiven = false;
        static constexpr const char *names[] = {"id", "name", "laneID", "location", "steps"};
        const bool ok = fields(2, names, [&](int index) {
            switch (index) {
            case 0: return identifier(shot.id, idGiven);
            case 1: return string(shot.name);
            case 2: {
                QUuid lane;
                if (!uuid(lane))
                    return false;
                shot.laneID = lane;
                return true;
            }
            case 3: return location(shot.location);
            default: return array(3, [&] {
                ShotStepItem item;
                if (!readItem(item))
                    return false;
                shot.steps.append(std::move(item));
                return true;
            });
            }
        });
        if (!idGiven)
            shot.id = Uuid::make();
        return ok;
    }

    bool readItem(ShotStepItem &item)
    {
        bool idGiven = false;
        static constexpr const char *names[] = {"id", "step"};
        const bool ok = fields(4, names, [&](int index) {
            return index == 0 ? identifier(item.id, idGiven) : readStep(item.step);
        });
        if (!idGiven)
            item.id = Uuid::make();
        return ok;
    }

    bool readStep(ShotStep &step)
    {
        static constexpr const char *kinds[] = {"tap", "typeText", "wait", "swipe"};
        bool hasKind = false;
        const bool ok = object(5, [&](QByteArrayView key) {
            const int kind = keyIndex(key, kinds);
            if (kind < 0)
                return skipValue(6);
            if (hasKind)
                return false; // more than one kind: an error the general reader words
            hasKind = true;
            return readStepFields(ShotStep::Kind(kind), step);
        });
        return ok && hasKind;
    }

    bool readStepFields(ShotStep::Kind kind, ShotStep &step)
    {
        static constexpr const char *names[] = {"selector", "label", "at", "text", "seconds", "direction"};
        QString selector, label, text;
        QString direction = SwipeDirections::name(SwipeDirection::Up);
        std::optional<NormPoint> at;
        double seconds = ShotStep::Wait().seconds;
        // Only the fields of this kind count; the others are unknown keys here.
        const auto belongs = [kind](int index) {
            return kind == ShotStep::Kind::Tap ? (index <= 2)
                : kind == ShotStep::Kind::TypeText ? (index == 0 || index == 3)
                : kind == ShotStep::Kind::Wait ? (index == 4)
                                                : (index <= 2 || index == 5);
        };
        const bool ok = fields(6, names, belongs, [&](int index) {
            switch (index) {
            case 0: return string(selector);
            case 1: return string(label);
            case 2: return point(at, 7);
            case 3: return string(text);
            case 4: return number(seconds);
            default: return string(direction);
            }
        });
        if (!ok)
            return false;
        switch (kind) {
        case ShotStep::Kind::Tap: step = ShotStep::tap(selector, label, at); return true;
        case ShotStep::Kind::TypeText: step = ShotStep::typeText(selector, text); return true;
        case ShotStep::Kind::Wait: step = ShotStep::wait(seconds); return true;
        case ShotStep::Kind::Swipe: break;
        }
        const auto parsed = SwipeDirections::fromName(direction);
        if (!parsed)
            return false;
        step = ShotStep::swipe(selector, label, at, *parsed);
        return true;
    }

    const char *m_p;
    const char *m_end;
};

} // namespace

std::optional<ScreenshotPlan> read(QByteArrayView bytes)
{
    return Reader(bytes).plan();
}

} // namespace PlanReader
