#pragma once

#include "ElidedLabel.h"
#include "SettingsRowButton.h"

#include <SettingsTheme.h>

#include <QColor>
#include <QLabel>
#include <QWidget>

#include <optional>

class SymbolLabel;
class QBoxLayout;

// Pieces every settings row is built from: the fixed 24-wide icon slot, labels coloured and
// sized by the theme, and the plain button that makes a whole row tappable.
namespace RowParts {

inline constexpr int iconSlotWidth = 24; // fixed, not scaled
inline constexpr int rowPadding = 4;     // above and below, fixed
inline constexpr int defaultRowSpacing = 8;
inline constexpr int rowSpacing = 12;    // fixed
inline constexpr int titleStackSpacing = 2;

QLabel *label(const QString &text, const QString &objectName, QWidget *parent);
SymbolLabel *iconSlot(const QString &symbol, QWidget *parent);
// Sizes the symbol to the slot's text style and colours it (the accent when none given).
void styleIconSlot(SymbolLabel *slot, const SettingsTheme &theme, const std::optional<QColor> &color,
                   KitTextStyle inheritedStyle = KitTextStyle::Body);
void setTextLook(QWidget *widget, const QFont &font, const QColor &color);
void setColor(QWidget *widget, const QColor &color);
// Leaves `padding` points above and below the row.
void setVerticalPadding(QBoxLayout *layout, int padding);

} // namespace RowParts
