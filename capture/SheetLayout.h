#pragma once

#include <QSize>

class QVBoxLayout;
class QWidget;

// The top-level column of a sheet. The sheet is never smaller than `floor`, nor smaller than
// its content needs at the moment: a banner or log that opens raises the minimum, and no two
// parts are ever squeezed over each other.
namespace SheetLayout {

// Installs the layout on `sheet` and returns the column to fill, top to bottom, with no
// margins and no spacing.
QVBoxLayout *install(QWidget *sheet, QSize floor);

} // namespace SheetLayout
