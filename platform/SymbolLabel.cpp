#include "SymbolLabel.h"

#include "Symbols.h"

SymbolLabel::SymbolLabel(const QString &symbolName, TextStyle style, QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    setTextStyle(style);
    setSymbolName(symbolName);
}

void SymbolLabel::setSymbolName(const QString &symbolName)
{
    if (m_symbolName == symbolName && !text().isEmpty())
        return;
    m_symbolName = symbolName;
    setText(Symbols::ligature(symbolName));
    setAccessibleName(symbolName);
}

void SymbolLabel::setTextStyle(TextStyle style)
{
    // Symbols look right a little larger than the text beside them.
    setPixelSize(TextStyles::pixelSize(style) * 1.25);
}

void SymbolLabel::setPixelSize(qreal pixelSize)
{
    setFont(Symbols::font(pixelSize));
}

void SymbolLabel::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    applyColor();
}

void SymbolLabel::applyColor()
{
    if (!m_color.isValid()) {
        setPalette(QPalette()); // inherit the parent's colours again
        return;
    }
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, m_color);
    pal.setColor(QPalette::Text, m_color);
    setPalette(pal);
}
