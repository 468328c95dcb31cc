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
class QHBoxLayout;
class QVBoxLayout;

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

// The padded row of `owner` that opens with the icon slot (when there is an icon) and the
// title, then a spacer; the caller adds the trailing item. iconOut is null without an icon.
QHBoxLayout *leadingRow(QWidget *owner, const std::optional<QString> &icon, const QString &title,
                        SymbolLabel *&iconOut, QLabel *&titleOut);
// The title over an optional subtitle that wraps instead of being cut.
QVBoxLayout *titleStack(const QString &title, const std::optional<QString> &subtitle, QWidget *parent,
                        QLabel *&titleOut, QLabel *&subtitleOut);
// Body text for the title, caption text for the subtitle (when there is one).
void styleTitleStack(QLabel *title, QLabel *subtitle, const SettingsTheme &theme);

} // namespace RowParts
