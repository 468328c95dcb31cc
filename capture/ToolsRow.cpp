#include "ToolsRow.h"

#include "PlanEditorModel.h"

#include <IconActionButton.h>
#include <SimulatorLaunch.h>

#include <QHBoxLayout>

ToolsRow::ToolsRow(PlanEditorModel *model, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("toolsRow"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    m_inspector = new IconActionButton(QStringLiteral("Inspector"), QStringLiteral("scope"), std::nullopt,
                                       [] { SimulatorLaunch::openAccessibilityInspector(); }, this);
    m_inspector->setObjectName(QStringLiteral("inspectorButton"));
    layout->addWidget(m_inspector, 0, Qt::AlignVCenter);

    m_location = new IconActionButton(QStringLiteral("Standort"), QStringLiteral("location"), std::nullopt,
                                      [model] { model->setShowLocation(true); }, this);
    m_location->setObjectName(QStringLiteral("locationButton"));
    layout->addWidget(m_location, 0, Qt::AlignVCenter);
    layout->addStretch(1);
}
