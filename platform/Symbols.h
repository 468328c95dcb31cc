#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

class QPainter;
class QRectF;

// Symbol names as the screens use them ("hand.tap", "xmark.circle.fill") drawn with the
// embedded Material Icons font. A symbol is text: it takes the size and colour of its place.
namespace Symbols {

// The Material Icons ligature for a symbol name; the fallback ligature for an unknown name.
QString ligature(const QString &symbolName);
bool isKnown(const QString &symbolName);
// The ligature drawn for names the table does not know: a visible question mark in a box.
QString fallbackLigature();

// The icon font at a pixel size. Loads the embedded font on first use.
QFont font(qreal pixelSize);

// Draws the symbol centred in `rect` in the painter's pen colour. Most are their ligature as
// text; a few the font has only filled ("location") are drawn as the outline of that glyph.
void draw(QPainter &painter, const QRectF &rect, const QString &symbolName, qreal pixelSize);

QPixmap pixmap(const QString &symbolName, const QColor &color, int pixelSize, qreal devicePixelRatio = 1.0);
QIcon icon(const QString &symbolName, const QColor &color, int pixelSize = 16);

} // namespace Symbols
