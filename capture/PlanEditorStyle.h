#pragma once

#include <TextStyle.h>

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

// Small helpers that give the plan editor's controls their look, so every card reads alike.
namespace PlanEditorStyle {

// A label in the given style; an invalid colour keeps the text colour.
QLabel *label(const QString &text, TextStyle style, QWidget *parent, const QColor &color = QColor(),
              std::optional<QFont::Weight> weight = std::nullopt);
// A caption line in the secondary colour that wraps.
QLabel *caption(const QString &text, QWidget *parent);
// The faint one-pixel line between a sheet's areas.
QWidget *divider(QWidget *parent);
// Sets a label's foreground colour through its palette.
void setTextColor(QWidget *widget, const QColor &color);

// Accent-filled button with white text (the "prominent" look).
void makeProminent(QPushButton *button);
// A borderless button that shows only a symbol.
QToolButton *symbolButton(const QString &symbolName, const QColor &color, const QString &help, QWidget *parent);
// A borderless button with a symbol and a title.
void makeBorderless(QToolButton *button, const QString &symbolName, const QString &title, const QColor &color);

} // namespace PlanEditorStyle
