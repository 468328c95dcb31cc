#include "NorvaneBrand.h"

#include "LegalBundle.h"

#include <QPainter>
#include <QSvgRenderer>

namespace NorvaneBrand {

QString wordmarkPath()
{
    return moduleBundle().imagePath(QStringLiteral("norvaneWordmark"));
}

QPixmap wordmark(const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(wordmarkPath());
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

} // namespace NorvaneBrand

NorvaneWordmark::NorvaneWordmark(qreal height, QWidget *parent)
    : QWidget(parent)
    , m_height(height)
    , m_renderer(new QSvgRenderer(NorvaneBrand::wordmarkPath(), this))
{
    setObjectName(QStringLiteral("norvaneWordmark"));
    setFixedHeight(qRound(height));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The label key belongs to the host's strings; without an entry the key itself is shown.
    setAccessibleName(QStringLiteral("norvane"));
}

QSize NorvaneWordmark::sizeHint() const
{
    const QSize natural = m_renderer->defaultSize();
    const int width = natural.height() > 0 ? qRound(m_height * natural.width() / natural.height()) : qRound(m_height * 4);
    return {width, qRound(m_height)};
}

void NorvaneWordmark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer->render(&painter, QRectF(rect()));
}
