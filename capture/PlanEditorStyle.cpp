#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <Symbols.h>

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace PlanEditorStyle {

QLabel *label(const QString &text, TextStyle style, QWidget *parent, const QColor &color,
              std::optional<QFont::Weight> weight)
{
    auto *result = new QLabel(text, parent);
    result->setTextFormat(Qt::PlainText);
    result->setFont(weight ? TextStyles::font(style, *weight) : TextStyles::font(style));
    if (color.isValid())
        setTextColor(result, color);
    return result;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    QLabel *result = label(text, TextStyle::Caption, parent, AppPalette::secondaryText());
    result->setWordWrap(true);
    return result;
}

QWidget *divider(QWidget *parent)
{
    auto *line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 255, 26));
    line->setPalette(pal);
    return line;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    // Only the enabled groups: a disabled control keeps the palette's dimmed text, so it
    // still looks disabled.
    QPalette pal = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, color);
        pal.setColor(group, QPalette::ButtonText, color);
        pal.setColor(group, QPalette::Text, color);
    }
    widget->setPalette(pal);
}

void makeProminent(QPushButton *button)
{
    ControlStyles::makeProminent(button, AppPalette::accent());
}

QToolButton *symbolButton(const QString &symbolName, const QColor &color, const QString &help, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIcon(Symbols::icon(symbolName, color, 18));
    button->setIconSize(QSize(18, 18));
    button->setToolTip(help);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void makeBorderless(QToolButton *button, const QString &symbolName, const QString &title, const QColor &color)
{
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIcon(Symbols::icon(symbolName, color, 16));
    button->setIconSize(QSize(16, 16));
    button->setText(title);
    button->setCursor(Qt::PointingHandCursor);
}

} // namespace PlanEditorStyle
