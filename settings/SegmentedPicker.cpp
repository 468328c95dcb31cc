#include "SegmentedPicker.h"

#include <TextStyle.h>

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QToolButton>

SegmentedPicker::SegmentedPicker(const QString &hiddenLabel, const QStringList &segments, QWidget *parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
{
    setAccessibleName(hiddenLabel);
    setAttribute(Qt::WA_StyledBackground);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    m_group->setExclusive(true);
    for (int i = 0; i < segments.size(); ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("segment%1").arg(i));
        button->setText(segments.at(i));
        button->setCheckable(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setFont(TextStyles::font(TextStyle::Callout, QFont::Medium));
        m_group->addButton(button, i);
        row->addWidget(button);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &SegmentedPicker::activated);
    setAccent(QColor(0x0A, 0x84, 0xFF));
}

int SegmentedPicker::currentIndex() const
{
    return m_group->checkedId();
}

void SegmentedPicker::setCurrentIndex(int index)
{
    QAbstractButton *button = m_group->button(index);
    if (!button || button->isChecked())
        return;
    const QSignalBlocker blocker(m_group);
    button->setChecked(true);
}

QAbstractButton *SegmentedPicker::segment(int index) const
{
    return m_group->button(index);
}

void SegmentedPicker::setAccent(const QColor &accent)
{
    if (m_accent == accent)
        return;
    m_accent = accent;
    setStyleSheet(QStringLiteral(
        "SegmentedPicker { background: rgba(255,255,255,20); border: 1px solid rgba(255,255,255,26); border-radius: 8px; }"
        "QToolButton { color: rgba(255,255,255,200); background: transparent; border: none; border-radius: 6px; padding: 4px 12px; }"
        "QToolButton:hover:!checked { background: rgba(255,255,255,16); }"
        "QToolButton:checked { color: white; background: %1; }")
                      .arg(accent.name()));
}
