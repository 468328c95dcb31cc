#include "InsertWaitButton.h"

#include <AppPalette.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QMenu>

InsertWaitButton::InsertWaitButton(QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(QStringLiteral("insertWaitButton"));
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    static const QIcon icon = Symbols::icon(QStringLiteral("clock.badge.plus"), AppPalette::secondaryText(), 14);
    setIcon(icon);
    setIconSize(QSize(14, 14));
    setToolTip(QStringLiteral("Pause einfügen"));
    setAccessibleName(QStringLiteral("Pause einfügen"));
    connect(this, &QToolButton::clicked, this, &InsertWaitButton::showInsertMenu);
}

QMenu *InsertWaitButton::insertMenu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setObjectName(QStringLiteral("insertWaitMenu"));
        QAction *before = m_menu->addAction(QStringLiteral("Pause davor"));
        before->setObjectName(QStringLiteral("insertWaitBefore"));
        connect(before, &QAction::triggered, this, [this] {
            if (m_before)
                m_before();
        });
        QAction *after = m_menu->addAction(QStringLiteral("Pause danach"));
        after->setObjectName(QStringLiteral("insertWaitAfter"));
        connect(after, &QAction::triggered, this, [this] {
            if (m_after)
                m_after();
        });
    }
    return m_menu;
}

void InsertWaitButton::showInsertMenu()
{
    insertMenu()->popup(mapToGlobal(QPoint(0, height())));
}
