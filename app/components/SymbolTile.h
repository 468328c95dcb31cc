#pragma once

#include <QWidget>

// A white symbol on a rounded, accent-coloured square: the mark of the app and of a project.
class SymbolTile final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SymbolTile)

public:
    SymbolTile(const QString &symbolName, int side, int symbolPixelSize, qreal cornerRadius,
               QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_cornerRadius;
};
