#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

// A small indeterminate progress indicator: an arc turning while it is shown.
class BusyIndicator final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BusyIndicator)

public:
    explicit BusyIndicator(int diameter, QWidget *parent = nullptr);
    void setColor(const QColor &color);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_diameter;
    int m_angle = 0;
    QColor m_color;
    QTimer m_timer;
};
