#include "AboutWindow.h"

#include <AboutView.h>
#include <AppPalette.h>
#include <Symbols.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

AboutWindow::AboutWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("Über %1").arg(AboutView::appName()));
    setAttribute(Qt::WA_DeleteOnClose);

    m_view = new AboutView(this);

    auto *close = new QToolButton(this);
    close->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; }"));
    close->setObjectName(QStringLiteral("aboutClose"));
    close->setIcon(Symbols::icon(QStringLiteral("xmark.circle.fill"), AppPalette::tertiaryText(), 18));
    close->setIconSize(QSize(18, 18));
    close->setAutoRaise(true);
    close->setToolTip(QStringLiteral("Schließen"));
    connect(close, &QToolButton::clicked, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_close = close;
    adjustSize();
    placeCloseButton();
}

void AboutWindow::placeCloseButton()
{
    m_close->adjustSize();
    m_close->move(10, 10);
    m_close->raise();
}

void AboutWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeCloseButton();
}

void AboutWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), AppPalette::window());
    painter.setPen(QColor(255, 255, 255, 28));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QWidget::mousePressEvent(event);
}

void AboutWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && event->buttons().testFlag(Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    QWidget::mouseMoveEvent(event);
}
