#include "StepEditorRow.h"

#include "InsertWaitButton.h"
#include "StepKindEditor.h"
#include "StepKinds.h"

#include <AppPalette.h>
#include <SymbolLabel.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

StepEditorRow::StepEditorRow(Binding<ShotStep> step, QWidget *parent)
    : QWidget(parent)
    , m_step(std::move(step))
{
    setObjectName(QStringLiteral("stepEditorRow"));
    const ShotStep current = m_step.get();

    auto *handle = new SymbolLabel(QStringLiteral("line.3.horizontal"), TextStyle::Body, this);
    handle->setObjectName(QStringLiteral("stepDragHandle"));
    handle->setColor(AppPalette::tertiaryText());
    handle->setToolTip(QStringLiteral("Zum Umsortieren ziehen"));

    m_kindIcon = new SymbolLabel(stepSystemImage(current), TextStyle::Body, this);
    m_kindIcon->setObjectName(QStringLiteral("stepKindIcon"));
    m_kindIcon->setColor(AppPalette::accent());
    m_kindIcon->setFixedWidth(22);

    m_title = new QLabel(stepKindTitle(current.kind()), this);
    m_title->setObjectName(QStringLiteral("stepKindTitle"));
    m_title->setFont(TextStyles::font(TextStyle::Caption2));
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::WindowText, AppPalette::secondaryText());
    m_title->setPalette(palette);

    m_editor = new StepKindEditor(StepKindEditor::Layout::RecorderRow, m_step, this);
    m_insertWait = new InsertWaitButton(this);

    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_title);
    column->addLayout(m_editor->contentLayout());

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(10);
    layout->addWidget(handle, 0, Qt::AlignVCenter);
    layout->addWidget(m_kindIcon, 0, Qt::AlignVCenter);
    layout->addLayout(column, 1);
    layout->addWidget(m_insertWait, 0, Qt::AlignVCenter);
}

void StepEditorRow::setOnInsertWaitBefore(std::function<void()> action)
{
    m_insertWait->setOnInsertWaitBefore(std::move(action));
}

void StepEditorRow::setOnInsertWaitAfter(std::function<void()> action)
{
    m_insertWait->setOnInsertWaitAfter(std::move(action));
}

void StepEditorRow::showStep(const ShotStep &step)
{
    m_kindIcon->setSymbolName(stepSystemImage(step));
    const QString title = stepKindTitle(step.kind());
    if (m_title->text() != title)
        m_title->setText(title);
    m_editor->showStep(step);
}
