#include "LaunchArgumentRow.h"

#include "PlanEditorModel.h"
#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

LaunchArgumentRow::LaunchArgumentRow(PlanEditorModel *model, int index, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_index(index)
{
    setObjectName(QStringLiteral("argumentRow:") + QString::number(index));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("argumentField"));
    m_field->setPlaceholderText(QStringLiteral("-flag wert"));
    m_field->setFont(TextStyles::monospaced(TextStyle::Callout));
    m_field->setMaximumWidth(360);
    layout->addWidget(m_field, 1);

    m_remove = PlanEditorStyle::symbolButton(QStringLiteral("minus.circle.fill"), AppPalette::secondaryText(),
                                             QStringLiteral("Argument entfernen"), this);
    m_remove->setObjectName(QStringLiteral("removeArgument"));
    layout->addWidget(m_remove);
    layout->addStretch(0);

    connect(m_field, &QLineEdit::textEdited, this, [this](const QString &text) { m_model->setArgument(m_index, text); });
    connect(m_remove, &QToolButton::clicked, this, [this] { m_model->removeArgument(m_index); });
}

void LaunchArgumentRow::setText(const QString &text)
{
    if (m_field->text() != text)
        m_field->setText(text);
}
