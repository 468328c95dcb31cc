#include "SidebarRowPainter.h"

#include <AppPalette.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QFontMetrics>
#include <QPainter>

namespace SidebarRowPainter {

void paint(QPainter &painter, const QRect &rect, const Row &row)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body = QRectF(rect).adjusted(8, 1, -8, -1);
    if (row.selected || row.hovered) {
        QColor fill = row.selected ? AppPalette::accent() : QColor(255, 255, 255, 18);
        if (row.selected)
            fill.setAlphaF(0.85f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(body, 6, 6);
    }

    const QColor primary = row.selected ? QColor(Qt::white) : AppPalette::primaryText();
    const QColor secondary = row.selected ? QColor(255, 255, 255, 200) : AppPalette::secondaryText();
    const QColor symbol = row.selected ? QColor(Qt::white) : AppPalette::accent();

    const int symbolSize = 18;
    const QRectF symbolRect(body.left() + 8, body.top(), symbolSize + 2, body.height());
    painter.setPen(symbol);
    painter.setFont(Symbols::font(symbolSize));
    painter.drawText(symbolRect, Qt::AlignCenter, Symbols::ligature(row.systemImage));

    const QRectF textRect = body.adjusted(8 + symbolSize + 10, 0, -8, 0);
    const QFont titleFont = TextStyles::font(TextStyle::Body, QFont::Medium);
    const QFontMetrics titleMetrics(titleFont);
    painter.setFont(titleFont);
    painter.setPen(primary);
    if (row.subtitle.isEmpty()) {
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                         titleMetrics.elidedText(row.title, Qt::ElideRight, int(textRect.width())));
    } else {
        const QFont subtitleFont = TextStyles::font(TextStyle::Caption);
        const QFontMetrics subtitleMetrics(subtitleFont);
        const qreal total = titleMetrics.height() + 1 + subtitleMetrics.height();
        const qreal top = textRect.top() + (textRect.height() - total) / 2.0;
        painter.drawText(QRectF(textRect.left(), top, textRect.width(), titleMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         titleMetrics.elidedText(row.title, Qt::ElideRight, int(textRect.width())));
        painter.setFont(subtitleFont);
        painter.setPen(secondary);
        painter.drawText(QRectF(textRect.left(), top + titleMetrics.height() + 1, textRect.width(), subtitleMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         subtitleMetrics.elidedText(row.subtitle, Qt::ElideMiddle, int(textRect.width())));
    }
    painter.restore();
}

} // namespace SidebarRowPainter
