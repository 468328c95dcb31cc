#include "SheetLayout.h"

#include <QHBoxLayout>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace SheetLayout {

QVBoxLayout *install(QWidget *sheet, QSize floor)
{
    // A window takes its layout's minimum as its own unless one is set by hand, and a minimum
    // set by hand would stay put while the content grows. So the floor lives in the layout:
    // a zero-wide strut beside the column for the height and a flat one in it for the width.
    auto *outer = new QHBoxLayout(sheet);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    outer->addLayout(column, 1);
    outer->addSpacerItem(new QSpacerItem(0, floor.height(), QSizePolicy::Fixed, QSizePolicy::Minimum));
    column->addSpacerItem(new QSpacerItem(floor.width(), 0, QSizePolicy::Minimum, QSizePolicy::Fixed));
    return column;
}

} // namespace SheetLayout
