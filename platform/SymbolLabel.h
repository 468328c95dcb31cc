#pragma once

#include "TextStyle.h"

#include <QColor>
#include <QLabel>

// A symbol drawn as text in the icon font, sized by a text style (or a pixel size) and
// coloured by its place: by default the label's own foreground colour.
class SymbolLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SymbolLabel)

public:
    explicit SymbolLabel(const QString &symbolName = QString(), TextStyle style = TextStyle::Body, QWidget *parent = nullptr);

    QString symbolName() const { return m_symbolName; }
    void setSymbolName(const QString &symbolName);
    void setTextStyle(TextStyle style);
    void setPixelSize(qreal pixelSize);
    // An invalid colour means "the palette's text colour".
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

private:
    void applyColor();

    QString m_symbolName;
    QColor m_color;
};
