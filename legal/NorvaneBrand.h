#pragma once

#include <QPixmap>
#include <QWidget>

class QSvgRenderer;

// The maker's wordmark from the module's resource bundle.
namespace NorvaneBrand {
// The asset's file in the bundle (read anew on every call).
QString wordmarkPath();
// The wordmark drawn at a size, made anew on every read.
QPixmap wordmark(const QSize &size);
}

// Draws the wordmark stretched to the offered width at exactly `height` points, with the
// accessible name of the host's "norvane" string.
class NorvaneWordmark final : public QWidget
{
    Q_OBJECT

public:
    explicit NorvaneWordmark(qreal height, QWidget *parent = nullptr);
    qreal markHeight() const { return m_height; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_height;
    QSvgRenderer *m_renderer = nullptr;
};
