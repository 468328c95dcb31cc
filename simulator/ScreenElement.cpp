#include "ScreenElement.h"

#include <QRegularExpression>
#include <QStringView>

namespace ScreenElementTree {
namespace {

// "<indent><Type>[ (<Name>)], 0x…" or "<indent><Type>, pid: …" (the application line).
const QRegularExpression &elementLine()
{
    static const QRegularExpression re(QStringLiteral(
        R"(^([ \t\x{2192}]*)([A-Za-z][A-Za-z0-9]*)(?: \([^)]*\))?, ((?:0x[0-9A-Fa-f]+|pid: ).*)$)"));
    return re;
}

const QRegularExpression &frameExpression()
{
    static const QString number = QStringLiteral(R"((-?[0-9]+(?:\.[0-9]+)?(?:[eE][-+]?[0-9]+)?))");
    static const QRegularExpression re(QStringLiteral(R"(\{\{%1, %1\}, \{%1, %1\}\})").arg(number));
    return re;
}

// The attribute pieces start at ", <key>: "; labels may hold commas and quotes of their own.
const QRegularExpression &attributeSplit()
{
    static const QRegularExpression re(QStringLiteral(
        R"(, (?=(?:identifier|label|placeholderValue|value|title): ))"));
    return re;
}

QString unquoted(QStringView text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.front() == u'\'' && text.back() == u'\'')
        text = text.mid(1, text.size() - 2);
    return text.toString();
}

// A value piece may still carry trailing flags (", Selected", ", Disabled").
QString withoutTrailingFlags(QString text)
{
    static const QRegularExpression flags(QStringLiteral(R"((?:, (?:Selected|Disabled|Focused|Enabled))+$)"));
    return text.remove(flags);
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
    const auto lines = QStringView(text).split(u'\n');
    for (QStringView rawLine : lines) {
        QStringView line = rawLine;
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u"Path to element") || trimmed.startsWith(u"Query chain"))
            break;
        const auto match = elementLine().match(line.toString());
        if (!match.hasMatch())
            continue;

        const qsizetype indent = match.capturedLength(1);
        if (!rootIndent)
            rootIndent = indent;
        ScreenElement element;
        element.type = match.captured(2);
        element.depth = int(qMax<qsizetype>(0, (indent - *rootIndent) / 2));

        const QString rest = match.captured(3);
        const auto frame = frameExpression().match(rest);
        if (frame.hasMatch()) {
            element.frame = QRectF(frame.captured(1).toDouble(), frame.captured(2).toDouble(),
                                   frame.captured(3).toDouble(), frame.captured(4).toDouble());
        }
        const QStringList pieces = rest.split(attributeSplit());
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QString piece = withoutTrailingFlags(pieces.at(i));
            const qsizetype colon = piece.indexOf(u": ");
            const QString key = piece.left(colon);
            const QString value = unquoted(QStringView(piece).mid(colon + 2));
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
