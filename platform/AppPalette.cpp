#include "AppPalette.h"

namespace AppPalette {

QColor accent() { return QColor(0x0A, 0x84, 0xFF); }
QColor window() { return QColor(0x1C, 0x1D, 0x22); }
QColor surface() { return QColor(0x26, 0x28, 0x2F); }
QColor primaryText() { return QColor(0xF2, 0xF3, 0xF5); }
QColor secondaryText() { return QColor(255, 255, 255, 166); }
QColor tertiaryText() { return QColor(255, 255, 255, 105); }
QColor quaternaryFill() { return QColor(255, 255, 255, 46); }
QColor destructive() { return QColor(0xFF, 0x45, 0x3A); }
QColor warning() { return QColor(0xFF, 0x9F, 0x0A); }

QPalette palette()
{
    QPalette p;
    p.setColor(QPalette::Window, window());
    p.setColor(QPalette::WindowText, primaryText());
    p.setColor(QPalette::Base, QColor(0x15, 0x16, 0x1A));
    p.setColor(QPalette::AlternateBase, surface());
    p.setColor(QPalette::ToolTipBase, QColor(0x30, 0x32, 0x3A));
    p.setColor(QPalette::ToolTipText, primaryText());
    p.setColor(QPalette::PlaceholderText, tertiaryText());
    p.setColor(QPalette::Text, primaryText());
    p.setColor(QPalette::Button, QColor(0x33, 0x35, 0x3D));
    p.setColor(QPalette::ButtonText, primaryText());
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Highlight, accent());
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, accent());
    p.setColor(QPalette::Mid, QColor(0x3A, 0x3C, 0x44));
    p.setColor(QPalette::Midlight, QColor(0x44, 0x46, 0x4F));
    p.setColor(QPalette::Dark, QColor(0x10, 0x11, 0x14));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    p.setColor(QPalette::Disabled, QPalette::WindowText, tertiaryText());
    p.setColor(QPalette::Disabled, QPalette::Text, tertiaryText());
    p.setColor(QPalette::Disabled, QPalette::ButtonText, tertiaryText());
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x3A, 0x3C, 0x44));
    return p;
}

} // namespace AppPalette
