#include "ElidedLabel.h"

#include <QEvent>
#include <QPainter>

ElidedLabel::ElidedLabel(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
{
    setToolTip(text);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    setToolTip(text);
    updateGeometry();
    update();
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(m_text, Qt::ElideMiddle, width());
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return QSize(fm.horizontalAdvance(m_text) + 1, fm.height());
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return QSize(qMin(sizeHint().width(), fm.horizontalAdvance(QStringLiteral("MMM…"))), fm.height());
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignRight | Qt::AlignVCenter, shownText());
}

void ElidedLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}
