#pragma once

#include <QColor>
#include <QPalette>

// The application's colours: a dark appearance with one accent colour. Views take their
// tint, secondary, tertiary and quaternary colours from here, not from literals.
namespace AppPalette {
QColor accent();
QColor window();
QColor surface();
QColor primaryText();
QColor secondaryText();
QColor tertiaryText();
QColor quaternaryFill();
QColor destructive();
QColor warning();
QPalette palette();
}
