#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStringList>
#include <QWidget>

// What a user sees of a sheet's layout: every visible text, control and scroll view as a box
// in the sheet's coordinates. A scroll view is one box; what scrolls inside it is its own.
namespace LayoutProbe {

struct Box
{
    QWidget *widget = nullptr;
    QRect rect;
};

inline QString describe(const QWidget *widget)
{
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(widget->metaObject()->className()), text.left(30), widget->objectName());
}

inline bool isBox(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty();
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QProgressBar *>(widget) || qobject_cast<const QAbstractScrollArea *>(widget);
}

inline void collect(QWidget *root, QWidget *widget, QList<Box> &boxes)
{
    for (QObject *object : widget->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || !child->isVisibleTo(root))
            continue;
        if (isBox(child))
            boxes.append({child, QRect(child->mapTo(root, QPoint(0, 0)), child->size())});
        if (!qobject_cast<QAbstractScrollArea *>(child))
            collect(root, child, boxes);
    }
}

// Every fault a user would see: boxes drawn over each other, boxes outside the sheet, texts
// given less room than they need. Empty when the layout is sound.
inline QStringList faults(QWidget *sheet)
{
    QList<Box> boxes;
    collect(sheet, sheet, boxes);
    QStringList found;
    const QRect inside = sheet->rect();
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        const Box &a = boxes.at(i);
        if (!inside.contains(a.rect))
            found << QStringLiteral("outside the sheet: %1").arg(describe(a.widget));
        if (const auto *label = qobject_cast<const QLabel *>(a.widget)) {
            const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->minimumSizeHint().height();
            if (label->height() < needed)
                found << QStringLiteral("cut off (%1 of %2 high): %3").arg(label->height()).arg(needed).arg(describe(label));
        }
        for (qsizetype j = i + 1; j < boxes.size(); ++j) {
            const Box &b = boxes.at(j);
            if (a.widget->isAncestorOf(b.widget) || b.widget->isAncestorOf(a.widget))
                continue;
            if (a.rect.intersects(b.rect))
                found << QStringLiteral("%1 overlaps %2").arg(describe(a.widget), describe(b.widget));
        }
    }
    return found;
}

} // namespace LayoutProbe
