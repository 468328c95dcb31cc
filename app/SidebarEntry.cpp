#include "SidebarEntry.h"

#include "SidebarRowPainter.h"

#include <QPainter>

SidebarEntry::SidebarEntry(const QString &systemImage, const QString &title, QWidget *parent)
    : QAbstractButton(parent)
    , m_systemImage(systemImage)
{
    setText(title);
    setCheckable(true);
    setAttribute(Qt::WA_Hover, true);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize SidebarEntry::sizeHint() const
{
    return QSize(160, SidebarRowPainter::compactRowHeight + 4);
}

void SidebarEntry::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SidebarRowPainter::Row row;
    row.systemImage = m_systemImage;
    row.title = text();
    row.selected = isChecked();
    row.hovered = underMouse();
    SidebarRowPainter::paint(painter, rect().adjusted(0, 2, 0, -2), row);
}
