#pragma once

#include <QWidget>

class AboutView;

// The about window ("about"): the about view in a window without a title bar, sized to its
// content. Escape or the close button closes it; it can be dragged by its background.
class AboutWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutWindow)

public:
    explicit AboutWindow(QWidget *parent = nullptr);

    AboutView *aboutView() const { return m_view; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void placeCloseButton();

    AboutView *m_view = nullptr;
    QWidget *m_close = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
