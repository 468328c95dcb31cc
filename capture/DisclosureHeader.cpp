#include "DisclosureHeader.h"

#include <AppPalette.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionFocusRect>

DisclosureHeader::DisclosureHeader(const QString &systemImage, const QString &title, TextStyle style,
                                   QFont::Weight weight, QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setText(title);
    setAccessibleName(title);

    m_chevron = new SymbolLabel(QStringLiteral("chevron.right"), style, this);
    m_chevron->setColor(AppPalette::secondaryText());
    m_icon = new SymbolLabel(systemImage, style, this);
    m_title = new QLabel(title, this);
    m_title->setFont(TextStyles::font(style, weight));
    for (QWidget *child : {static_cast<QWidget *>(m_chevron), static_cast<QWidget *>(m_icon),
                           static_cast<QWidget *>(m_title)})
        child->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(6);
    layout->addWidget(m_chevron);
    layout->addWidget(m_icon);
    layout->addWidget(m_title);
    layout->addStretch(1);

    connect(this, &QAbstractButton::toggled, this, [this] { updateChevron(); });
}

void DisclosureHeader::setExpanded(bool expanded)
{
    if (expanded != isChecked())
        setChecked(expanded);
}

QString DisclosureHeader::title() const
{
    return m_title->text();
}

QSize DisclosureHeader::sizeHint() const
{
    return layout()->sizeHint();
}

void DisclosureHeader::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(AppPalette::accent(), 1.5));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 4, 4);
}

void DisclosureHeader::updateChevron()
{
    m_chevron->setSymbolName(isChecked() ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"));
}
