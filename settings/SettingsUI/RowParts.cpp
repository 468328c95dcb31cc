#include "RowParts.h"

#include <SymbolLabel.h>

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace RowParts {

QLabel *label(const QString &text, const QString &objectName, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(objectName);
    l->setTextFormat(Qt::PlainText);
    // Inside a row button the inherited role would be the button's text colour.
    l->setForegroundRole(QPalette::WindowText);
    return l;
}

SymbolLabel *iconSlot(const QString &symbol, QWidget *parent)
{
    auto *slot = new SymbolLabel(symbol, TextStyle::Body, parent);
    slot->setObjectName(QStringLiteral("rowIcon"));
    slot->setFixedWidth(iconSlotWidth);
    slot->setAlignment(Qt::AlignCenter);
    slot->setForegroundRole(QPalette::WindowText);
    return slot;
}

void styleIconSlot(SymbolLabel *slot, const SettingsTheme &theme, const std::optional<QColor> &color,
                   KitTextStyle inheritedStyle)
{
    if (!slot)
        return;
    // A symbol a quarter larger than the text beside it, kept inside the slot.
    const qreal textSize = theme.font(inheritedStyle).pixelSize();
    slot->setPixelSize(qMin<qreal>(textSize * 1.25, slot->maximumWidth()));
    slot->setColor(color.value_or(theme.accent));
}

void setColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    if (pal.color(QPalette::WindowText) == color && pal.color(QPalette::Text) == color)
        return;
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::Text, color);
    widget->setPalette(pal);
}

void setTextLook(QWidget *widget, const QFont &font, const QColor &color)
{
    if (!widget)
        return;
    if (widget->font() != font)
        widget->setFont(font);
    setColor(widget, color);
}

void setVerticalPadding(QBoxLayout *layout, int padding)
{
    layout->setContentsMargins(0, padding, 0, padding);
}

QHBoxLayout *leadingRow(QWidget *owner, const std::optional<QString> &icon, const QString &title,
                        SymbolLabel *&iconOut, QLabel *&titleOut)
{
    auto *row = new QHBoxLayout(owner);
    setVerticalPadding(row, rowPadding);
    row->setSpacing(defaultRowSpacing);
    iconOut = icon ? iconSlot(*icon, owner) : nullptr;
    if (iconOut)
        row->addWidget(iconOut);
    titleOut = label(title, QStringLiteral("rowTitle"), owner);
    row->addWidget(titleOut);
    row->addStretch(1);
    return row;
}

QVBoxLayout *titleStack(const QString &title, const std::optional<QString> &subtitle, QWidget *parent,
                        QLabel *&titleOut, QLabel *&subtitleOut)
{
    auto *texts = new QVBoxLayout;
    texts->setSpacing(titleStackSpacing);
    titleOut = label(title, QStringLiteral("rowTitle"), parent);
    texts->addWidget(titleOut);
    subtitleOut = nullptr;
    if (subtitle) {
        subtitleOut = label(*subtitle, QStringLiteral("rowSubtitle"), parent);
        subtitleOut->setWordWrap(true);
        texts->addWidget(subtitleOut);
    }
    return texts;
}

void styleTitleStack(QLabel *title, QLabel *subtitle, const SettingsTheme &theme)
{
    setTextLook(title, theme.font(KitTextStyle::Body), theme.textPrimary);
    if (subtitle)
        setTextLook(subtitle, theme.font(KitTextStyle::Caption), theme.textSecondary);
}

} // namespace RowParts
