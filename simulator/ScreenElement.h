#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

// One element of an XCUITest element tree, as the driver dumps it.
struct ScreenElement
{
    QString type;          // "Button", "StaticText", "Window" …
    QString identifier;    // accessibility identifier, may be empty
    QString label;
    QString value;
    QRectF frame;          // screen points; empty when the line carried none
    int depth = 0;         // 0 for the outermost element

    bool operator==(const ScreenElement &) const = default;
};

// Reading an element tree and finding the element under a recorded point.
namespace ScreenElementTree {

// Longer lines are read up to here only (no real element comes close); the attribute the
// cut falls into is dropped, the element itself is kept.
inline constexpr qsizetype maxLineLength = 1024 * 1024;

// Parses XCUITest's debugDescription lines ("  Button, 0x…, {{x, y}, {w, h}}, identifier: 'id',
// label: 'Text'"). Lines that describe no element are skipped; the "Path to element" and
// "Query chain" sections that may follow the subtree end the parse. Linear in the text's length.
QList<ScreenElement> parse(const QString &text);

// The screen rectangle of a dump: the frame of the first element that has one.
std::optional<QRectF> screenRect(const QList<ScreenElement> &elements);

// The element a tap at the normalised point (0…1 of the screen rectangle) is meant for, when it
// can be named by an identifier. The hit element is the deepest one whose frame holds the point
// (on equal depth the later one, drawn on top). The match is the first element with an
// identifier on the way from the hit element up through its ancestors, unless that one is a
// layout container (window, plain view, scroll view, table, collection …): replay taps an
// element's centre, which for a container is not where the user tapped. Nothing when the dump
// has no screen rectangle or nothing matches.
std::optional<ScreenElement> identifiedElementAt(const QList<ScreenElement> &elements,
                                                 double nx, double ny);

} // namespace ScreenElementTree
