#include "ControlStyles.h"

#include "Symbols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

namespace ControlStyles {

namespace {

// The quiet button look for a button class ("QPushButton", "QToolButton").
void applyBordered(QAbstractButton *button, const QString &type, ControlSize size, const QColor &textColor)
{
    int radius = 7;
    QString padding = QStringLiteral("5px 12px");
    if (size == ControlSize::Small) {
        radius = 6;
        padding = QStringLiteral("3px 8px");
    } else if (size == ControlSize::Large) {
        radius = 9;
        padding = QStringLiteral("6px 14px");
    }
    const QColor text = textColor.isValid() ? textColor : QColor(Qt::white);
    QColor faded = text;
    faded.setAlpha(90);
    const QString sheet = QStringLiteral(
        "%1 { color: %4; background: rgba(255,255,255,24); border: 1px solid rgba(255,255,255,30);"
        " border-radius: %2px; padding: %3; }"
        "%1:hover { background: rgba(255,255,255,36); }"
        "%1:pressed { background: rgba(255,255,255,16); }"
        "%1:disabled { color: %5; background: rgba(255,255,255,12); }")
                              .arg(type)
                              .arg(radius)
                              .arg(padding)
                              .arg(text.name(QColor::HexArgb), faded.name(QColor::HexArgb));
    if (button->styleSheet() != sheet)
        button->setStyleSheet(sheet);
    button->setCursor(Qt::PointingHandCursor);
}

} // namespace

void makeBordered(QPushButton *button, ControlSize size, const QColor &textColor)
{
    applyBordered(button, QStringLiteral("QPushButton"), size, textColor);
}

void makeBordered(QToolButton *button, ControlSize size, const QColor &textColor)
{
    applyBordered(button, QStringLiteral("QToolButton"), size, textColor);
}

void makeCheckBox(QCheckBox *box, const QColor &tint)
{
    Symbols::font(12); // loads the symbol resources, which hold the check mark
    box->setStyleSheet(QStringLiteral(
        "QCheckBox { spacing: 8px; }"
        "QCheckBox::indicator { width: 14px; height: 14px; border-radius: 4px;"
        " border: 1px solid rgba(255,255,255,110); background: rgba(255,255,255,16); }"
        "QCheckBox::indicator:hover { border-color: rgba(255,255,255,170); }"
        "QCheckBox::indicator:checked { border-color: %1; background: %1;"
        " image: url(:/velorance/controls/check.svg); }"
        "QCheckBox::indicator:disabled { border-color: rgba(255,255,255,50); background: transparent; }"
        "QCheckBox:disabled { color: rgba(255,255,255,90); }")
                           .arg(tint.name()));
    box->setCursor(Qt::PointingHandCursor);
}

void makeProminent(QPushButton *button, const QColor &tint)
{
    button->setStyleSheet(QStringLiteral(
        "QPushButton { background-color: %1; color: white; border: none; border-radius: 7px;"
        " padding: 5px 12px; }"
        "QPushButton:hover { background-color: %2; }"
        "QPushButton:pressed { background-color: %3; }"
        "QPushButton:disabled { background-color: rgba(255,255,255,30); color: rgba(255,255,255,90); }")
                              .arg(tint.name(), tint.lighter(112).name(), tint.darker(115).name()));
    button->setCursor(Qt::PointingHandCursor);
}

void makeMenuPicker(QComboBox *picker)
{
    Symbols::font(12); // loads the symbol resources, which hold the arrow
    picker->setStyleSheet(QStringLiteral(
        "QComboBox { color: white; background: rgba(255,255,255,24); border: 1px solid rgba(255,255,255,30);"
        " border-radius: 6px; padding: 2px 8px; }"
        "QComboBox:hover { background: rgba(255,255,255,36); }"
        "QComboBox:disabled { color: rgba(255,255,255,90); background: rgba(255,255,255,12); }"
        "QComboBox::drop-down { border: none; width: 20px; }"
        "QComboBox::down-arrow { image: url(:/velorance/controls/chevron-down.svg); width: 10px; height: 6px; }"));
    picker->setCursor(Qt::PointingHandCursor);
}

void makeSlim(QScrollBar *scrollBar)
{
    scrollBar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px; }"
        "QScrollBar::handle:vertical { background: rgba(255,255,255,60); border-radius: 3px; min-height: 32px; }"
        "QScrollBar::handle:vertical:hover { background: rgba(255,255,255,100); }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
}

void hideMenuIndicator(QToolButton *button)
{
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
}

} // namespace ControlStyles
