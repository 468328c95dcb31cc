#include "ScreenElement.h"

#include <QStringView>

#include <algorithm>
#include <array>

namespace ScreenElementTree {
namespace {

// Hand-written scanners rather than regular expressions: each looks at every character a
// bounded number of times, so a hostile dump costs linear time and never hits an engine limit.

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    return isAsciiDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

struct ElementLine
{
    qsizetype indent = 0;
    QStringView type;
    QStringView rest;   // from the address ("0x…") or "pid: " on
};

// "<indent><Type>[ (<Name>)], 0x…" or "<indent><Type>, pid: …" (the application line); the
// indent is made of blanks, tabs and the arrow that marks the queried element.
std::optional<ElementLine> elementLine(QStringView line)
{
    qsizetype at = 0;
    while (at < line.size() && (line[at] == u' ' || line[at] == u'\t' || line[at] == u'\u2192'))
        ++at;
    ElementLine element;
    element.indent = at;
    if (at >= line.size() || !isAsciiLetter(line[at]))
        return std::nullopt;
    const qsizetype typeStart = at++;
    while (at < line.size() && (isAsciiLetter(line[at]) || isAsciiDigit(line[at])))
        ++at;
    element.type = line.sliced(typeStart, at - typeStart);
    if (line.sliced(at).startsWith(u" (")) {
        const qsizetype close = line.indexOf(u')', at + 2);
        if (close < 0)
            return std::nullopt;
        at = close + 1;
    }
    if (!line.sliced(at).startsWith(u", "))
        return std::nullopt;
    element.rest = line.sliced(at + 2);
    const bool address = element.rest.size() > 2 && element.rest.startsWith(u"0x") && isHexDigit(element.rest[2]);
    if (!address && !element.rest.startsWith(u"pid: "))
        return std::nullopt;
    return element;
}

// A number "-12", "3.5" or "1e3" at `at`; moves `at` past it.
std::optional<double> numberAt(QStringView text, qsizetype &at)
{
    const qsizetype start = at;
    qsizetype pos = at;
    const auto digits = [&] {
        const qsizetype from = pos;
        while (pos < text.size() && isAsciiDigit(text[pos]))
            ++pos;
        return pos > from;
    };
    if (pos < text.size() && text[pos] == u'-')
        ++pos;
    if (!digits())
        return std::nullopt;
    if (pos + 1 < text.size() && text[pos] == u'.' && isAsciiDigit(text[pos + 1])) {
        ++pos;
        digits();
    }
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        qsizetype exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == u'-' || text[exponent] == u'+'))
            ++exponent;
        if (exponent < text.size() && isAsciiDigit(text[exponent])) {
            pos = exponent;
            digits();
        }
    }
    at = pos;
    return text.sliced(start, pos - start).toDouble();
}

bool literalAt(QStringView text, qsizetype &at, QStringView literal)
{
    if (!text.sliced(at).startsWith(literal))
        return false;
    at += literal.size();
    return true;
}

// "{{x, y}, {w, h}}" starting at `at`.
std::optional<QRectF> frameAt(QStringView text, qsizetype at)
{
    std::array<double, 4> values{};
    const std::array<QStringView, 4> before = {u"{{", u", ", u"}, {", u", "};
    for (size_t i = 0; i < values.size(); ++i) {
        if (!literalAt(text, at, before[i]))
            return std::nullopt;
        const auto value = numberAt(text, at);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    if (!literalAt(text, at, u"}}"))
        return std::nullopt;
    return QRectF(values[0], values[1], values[2], values[3]);
}

// The first frame in the text. A failed attempt stops before the next "{{", so every
// character is looked at a bounded number of times.
std::optional<QRectF> firstFrame(QStringView text)
{
    for (qsizetype at = text.indexOf(u"{{"); at >= 0; at = text.indexOf(u"{{", at + 1)) {
        if (auto frame = frameAt(text, at))
            return frame;
    }
    return std::nullopt;
}

// The attribute pieces start at ", <key>: "; labels may hold commas and quotes of their own.
// Each piece begins with its key.
QList<QStringView> attributePieces(QStringView rest)
{
    static constexpr std::array<QStringView, 5> keys = {u"identifier: ", u"label: ", u"placeholderValue: ",
                                                        u"value: ", u"title: "};
    QList<QStringView> pieces;
    qsizetype pieceStart = -1;
    for (qsizetype at = rest.indexOf(u", "); at >= 0; at = rest.indexOf(u", ", at + 1)) {
        const QStringView after = rest.sliced(at + 2);
        const bool keyFollows = std::any_of(keys.begin(), keys.end(), [after](QStringView key) { return after.startsWith(key); });
        if (!keyFollows)
            continue;
        if (pieceStart >= 0)
            pieces.append(rest.sliced(pieceStart, at - pieceStart));
        pieceStart = at + 2;
    }
    if (pieceStart >= 0)
        pieces.append(rest.sliced(pieceStart));
    return pieces;
}

QString unquoted(QStringView text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.front() == u'\'' && text.back() == u'\'')
        text = text.mid(1, text.size() - 2);
    return text.toString();
}

// A value piece may still carry trailing flags (", Selected", ", Disabled"); they are taken
// off from the end, one at a time.
QStringView withoutTrailingFlags(QStringView text)
{
    static constexpr std::array<QStringView, 4> flags = {u", Selected", u", Disabled", u", Focused", u", Enabled"};
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (QStringView flag : flags) {
            if (text.endsWith(flag)) {
                text.chop(flag.size());
                stripped = true;
                break;
            }
        }
    }
    return text;
}

bool isLayoutContainer(const QString &type)
{
    static const QStringList containers = {
        QStringLiteral("Application"), QStringLiteral("Window"), QStringLiteral("Other"),
        QStringLiteral("ScrollView"), QStringLiteral("Table"), QStringLiteral("CollectionView"),
        QStringLiteral("Group"), QStringLiteral("LayoutArea"), QStringLiteral("WebView"), QStringLiteral("Map"),
    };
    return containers.contains(type);
}

} // namespace

QList<ScreenElement> parse(const QString &text)
{
    QList<ScreenElement> elements;
    std::optional<qsizetype> rootIndent;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const bool cut = line.size() > maxLineLength;
        if (cut)
            line.truncate(maxLineLength);
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u"Path to element") || trimmed.startsWith(u"Query chain"))
            break;
        const auto parsed = elementLine(line);
        if (!parsed)
            continue;

        if (!rootIndent)
            rootIndent = parsed->indent;
        ScreenElement element;
        element.type = parsed->type.toString();
        element.depth = int(qMax<qsizetype>(0, (parsed->indent - *rootIndent) / 2));
        if (const auto frame = firstFrame(parsed->rest))
            element.frame = *frame;

        QList<QStringView> pieces = attributePieces(parsed->rest);
        if (cut && !pieces.isEmpty())
            pieces.removeLast();
        for (const QStringView rawPiece : std::as_const(pieces)) {
            const QStringView piece = withoutTrailingFlags(rawPiece);
            const qsizetype colon = piece.indexOf(u": ");
            const QStringView key = piece.first(colon);
            const QString value = unquoted(piece.sliced(colon + 2));
            if (key == u"identifier")
                element.identifier = value;
            else if (key == u"label")
                element.label = value;
            else if (key == u"value")
                element.value = value;
        }
        elements.append(element);
    }
    return elements;
}

std::optional<QRectF> screenRect(const QList<ScreenElement> &elements)
{
    for (const ScreenElement &element : elements) {
        if (element.frame.width() > 0 && element.frame.height() > 0)
            return element.frame;
    }
    return std::nullopt;
}

std::optional<ScreenElement> identifiedElementAt(const QList<ScreenElement> &elements, double nx, double ny)
{
    const auto screen = screenRect(elements);
    if (!screen)
        return std::nullopt;
    const double x = screen->x() + nx * screen->width();
    const double y = screen->y() + ny * screen->height();
    // Edges count as inside: a tap recorded on a border still belongs to the element.
    const auto holdsPoint = [x, y](const ScreenElement &element) {
        const QRectF &f = element.frame;
        return f.width() > 0 && f.height() > 0 && x >= f.left() && x <= f.right() && y >= f.top() && y <= f.bottom();
    };

    qsizetype hit = -1;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        if (holdsPoint(elements.at(i)) && (hit < 0 || elements.at(i).depth >= elements.at(hit).depth))
            hit = i;
    }
    if (hit < 0)
        return std::nullopt;
    if (!elements.at(hit).identifier.isEmpty()) {
        if (isLayoutContainer(elements.at(hit).type))
            return std::nullopt;
        return elements.at(hit);
    }

    // Up the ancestor chain: a parent is the nearest earlier element of smaller depth.
    int depth = elements.at(hit).depth;
    for (qsizetype i = hit - 1; i >= 0 && depth > 0; --i) {
        const ScreenElement &element = elements.at(i);
        if (element.depth >= depth)
            continue;
        depth = element.depth;
        if (element.identifier.isEmpty())
            continue;
        if (isLayoutContainer(element.type))
            return std::nullopt;
        return element;
    }
    return std::nullopt;
}

} // namespace ScreenElementTree
