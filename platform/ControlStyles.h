#pragma once

#include <QColor>

class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollBar;
class QToolButton;

// The dark look of the few stock controls the screens share, so a plain button or a scroll
// bar reads the same on every page.
namespace ControlStyles {

enum class ControlSize { Regular, Small, Large };

// A quiet button: a faint fill with a hairline rim (the platform's default button). An
// invalid text colour means white; the disabled text is the same colour, faded.
void makeBordered(QPushButton *button, ControlSize size = ControlSize::Regular, const QColor &textColor = QColor());
void makeBordered(QToolButton *button, ControlSize size = ControlSize::Regular, const QColor &textColor = QColor());
// A check box whose box reads on the dark background, filled with the tint when checked.
void makeCheckBox(QCheckBox *box, const QColor &tint);
// A filled button in the tint with white text (the "prominent" look).
void makeProminent(QPushButton *button, const QColor &tint);
// A menu-style picker drawn like the bordered button, with the style's own arrow.
void makeMenuPicker(QComboBox *picker);
// A slim scroll bar that leaves its groove transparent.
void makeSlim(QScrollBar *scrollBar);
// A tool button that opens its menu on click without the style's corner arrow.
void hideMenuIndicator(QToolButton *button);

} // namespace ControlStyles
