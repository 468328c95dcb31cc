#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;

// A segmented control: one checkable segment per choice, exactly one chosen. Its label is
// not shown; it names the control for accessibility only.
class SegmentedPicker final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SegmentedPicker)

public:
    SegmentedPicker(const QString &hiddenLabel, const QStringList &segments, QWidget *parent = nullptr);

    int currentIndex() const;
    // Shows a choice without emitting activated.
    void setCurrentIndex(int index);
    QAbstractButton *segment(int index) const;
    void setAccent(const QColor &accent);

Q_SIGNALS:
    // The user chose a segment.
    void activated(int index);

private:
    QButtonGroup *m_group;
    QColor m_accent;
};
