#include "PlanEditorStyle.h"

#include <AppPalette.h>
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

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::ButtonText, color);
    pal.setColor(QPalette::Text, color);
    widget->setPalette(pal);
}

void makeProminent(QPushButton *button)
{
    const QString accent = AppPalette::accent().name();
    button->setStyleSheet(QStringLiteral(
        "QPushButton { background-color: %1; color: white; border: none; border-radius: 6px;"
        " padding: 4px 12px; }"
        "QPushButton:hover { background-color: %2; }"
        "QPushButton:pressed { background-color: %3; }"
        "QPushButton:disabled { background-color: rgba(255,255,255,30); color: rgba(255,255,255,90); }")
                              .arg(accent, AppPalette::accent().lighter(115).name(),
                                   AppPalette::accent().darker(120).name()));
    button->setCursor(Qt::PointingHandCursor);
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
