#pragma once

#include <QString>

class QPainter;
class QRect;

// Draws a source-list row the same way for the project rows and the settings entry: the
// rounded selection, a symbol, a title and an optional subtitle below it.
namespace SidebarRowPainter {

constexpr int rowHeight = 44;
constexpr int compactRowHeight = 32;

struct Row
{
    QString systemImage;
    QString title;
    QString subtitle;
    bool selected = false;
    bool hovered = false;
};

void paint(QPainter &painter, const QRect &rect, const Row &row);

} // namespace SidebarRowPainter
