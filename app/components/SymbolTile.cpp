#include "SymbolTile.h"

#include <AppPalette.h>
#include <SymbolLabel.h>

#include <QPainter>

SymbolTile::SymbolTile(const QString &symbolName, int side, int symbolPixelSize, qreal cornerRadius,
                       QWidget *parent)
    : QWidget(parent)
    , m_cornerRadius(cornerRadius)
{
    setFixedSize(side, side);
    auto *symbol = new SymbolLabel(symbolName, TextStyle::Body, this);
    symbol->setPixelSize(symbolPixelSize);
    symbol->setColor(Qt::white);
    symbol->setAlignment(Qt::AlignCenter);
    symbol->setGeometry(rect());
}

void SymbolTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, AppPalette::accent().lighter(122));
    fill.setColorAt(1, AppPalette::accent().darker(128));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
}
