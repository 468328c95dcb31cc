#pragma once

#include <QHash>
#include <QScrollArea>
#include <QUuid>

class QVBoxLayout;
class RecorderModel;
class StepEditorRow;

// The recorder's step list: one StepEditorRow per item, kept by the item's identifier and
// updated in place. Rows are reordered by dragging and deleted with the Delete key or the
// context menu.
class RecorderStepList final : public QScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecorderStepList)

public:
    explicit RecorderStepList(RecorderModel *model, QWidget *parent = nullptr);

    // The row of an item, or nullptr.
    StepEditorRow *row(const QUuid &itemID) const;
    int rowCount() const { return int(m_order.size()); }
    // Item identifiers in the order shown.
    QList<QUuid> shownOrder() const { return m_order; }
    QList<int> selectedRows() const;
    void selectRow(int row, bool extend = false);
    // Deletes the selected rows (the Delete key).
    void deleteSelected();

    static constexpr auto mimeType = "application/x-velorance-recorder-step";

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    class RowFrame;

    void sync();
    void animateIn(const QUuid &itemID);
    void updateSelectionLook();
    int destinationRowAt(int viewportY) const;
    void showDropIndicator(int destinationRow);
    void startDrag(RowFrame *frame);
    void showContextMenu(RowFrame *frame, const QPoint &globalPos);

    RecorderModel *m_model = nullptr;
    QWidget *m_content = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_dropIndicator = nullptr;
    QHash<QUuid, RowFrame *> m_frames;
    QList<QUuid> m_order;
    QList<QUuid> m_selection;
};
