#include "LaunchVariableRow.h"

#include "PlanEditorModel.h"
#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <Uuid.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

LaunchVariableRow::LaunchVariableRow(PlanEditorModel *model, const LaunchVariable &variable, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_id(variable.id)
{
    setObjectName(QStringLiteral("variableRow:") + Uuid::text(variable.id));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    m_key = new QLineEdit(this);
    m_key->setObjectName(QStringLiteral("variableKey"));
    m_key->setPlaceholderText(QStringLiteral("Name"));
    m_key->setMaximumWidth(200);
    layout->addWidget(m_key, 1);

    layout->addWidget(PlanEditorStyle::label(QStringLiteral("="), TextStyle::Body, this, AppPalette::secondaryText()));

    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("variableValue"));
    m_value->setPlaceholderText(QStringLiteral("Wert"));
    m_value->setMaximumWidth(140);
    layout->addWidget(m_value, 1);

    m_remove = PlanEditorStyle::symbolButton(QStringLiteral("minus.circle.fill"), AppPalette::secondaryText(),
                                             QStringLiteral("Variable entfernen"), this);
    m_remove->setObjectName(QStringLiteral("removeVariable"));
    layout->addWidget(m_remove);
    layout->addStretch(0);

    connect(m_key, &QLineEdit::textEdited, this, [this](const QString &text) { m_model->setVariableKey(m_id, text); });
    connect(m_value, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_model->setVariableValue(m_id, text); });
    connect(m_remove, &QToolButton::clicked, this, [this] { m_model->removeVariable(m_id); });

    setVariable(variable);
}

void LaunchVariableRow::setVariable(const LaunchVariable &variable)
{
    if (m_key->text() != variable.key)
        m_key->setText(variable.key);
    if (m_value->text() != variable.value)
        m_value->setText(variable.value);
}
