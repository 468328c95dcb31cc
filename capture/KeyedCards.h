#pragma once

#include <QBoxLayout>
#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>
#include <QWidget>

// Cards kept by identifier and updated in place: the lanes of the plan, the shots of a lane.
namespace KeyedCards {

// Takes the cards whose identifier is no longer wanted out of the layout. They are deleted
// later: a card's own trash button may be what asked for this.
template <typename Card>
void retireUnwanted(QHash<QUuid, Card *> &cards, const QSet<QUuid> &wanted, QBoxLayout *layout)
{
    for (auto it = cards.begin(); it != cards.end();) {
        if (wanted.contains(it.key())) {
            ++it;
            continue;
        }
        Card *card = it.value();
        layout->removeWidget(card);
        card->hide();
        card->deleteLater();
        it = cards.erase(it);
    }
}

// Moves the card to the position in the layout unless it already stands there.
inline void placeAt(QBoxLayout *layout, QWidget *card, int position)
{
    QLayoutItem *current = layout->itemAt(position);
    if (current && current->widget() == card)
        return;
    layout->removeWidget(card);
    layout->insertWidget(position, card);
}

// The widgets of type T in the layout, in layout order.
template <typename T>
QList<T *> widgetsIn(const QLayout *layout)
{
    QList<T *> widgets;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto *widget = qobject_cast<T *>(layout->itemAt(i)->widget()))
            widgets.append(widget);
    }
    return widgets;
}

} // namespace KeyedCards
