#include "RecorderStepList.h"

#include "RecorderModel.h"
#include "StepEditorRow.h"

#include <AppPalette.h>
#include <Spring.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPropertyAnimation>
#include <QVBoxLayout>

#include <algorithm>

// One row of the list: the step editor on a plate that shows selection and starts drags.
class RecorderStepList::RowFrame final : public QWidget
{
public:
    RowFrame(RecorderStepList *list, const QUuid &itemID, StepEditorRow *row)
        : QWidget(nullptr)
        , m_list(list)
        , m_itemID(itemID)
        , m_row(row)
    {
        setObjectName(QStringLiteral("recorderStepRow"));
        setAttribute(Qt::WA_Hover);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(12, 6, 12, 6);
        layout->addWidget(row);
    }

    QUuid itemID() const { return m_itemID; }
    StepEditorRow *row() const { return m_row; }

    void setSelected(bool selected)
    {
        if (m_selected == selected)
            return;
        m_selected = selected;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF plate = QRectF(rect()).adjusted(4, 1, -4, -1);
        QColor fill = AppPalette::surface();
        if (m_selected)
            fill = QColor(AppPalette::accent().red(), AppPalette::accent().green(), AppPalette::accent().blue(), 70);
        else if (underMouse())
            fill = fill.lighter(112);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(plate, 8, 8);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton) {
            m_pressPos = event->position().toPoint();
            m_pressed = true;
            const int index = int(m_list->m_order.indexOf(m_itemID));
            m_list->selectRow(index, event->modifiers().testFlag(Qt::ControlModifier)
                                         || event->modifiers().testFlag(Qt::ShiftModifier));
            m_list->setFocus(Qt::MouseFocusReason);
        }
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_pressed && (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            m_pressed = false;
            m_list->startDrag(this);
        }
    }

    void mouseReleaseEvent(QMouseEvent *) override { m_pressed = false; }

    void contextMenuEvent(QContextMenuEvent *event) override { m_list->showContextMenu(this, event->globalPos()); }

private:
    RecorderStepList *m_list = nullptr;
    QUuid m_itemID;
    StepEditorRow *m_row = nullptr;
    bool m_selected = false;
    bool m_pressed = false;
    QPoint m_pressPos;
};

RecorderStepList::RecorderStepList(RecorderModel *model, QWidget *parent)
    : QScrollArea(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("recorderStepList"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setAutoFillBackground(false);

    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("recorderStepListContent"));
    m_content->setAutoFillBackground(false);
    m_layout = new QVBoxLayout(m_content);
    m_layout->setContentsMargins(8, 8, 8, 8);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
    setWidget(m_content);

    m_dropIndicator = new QWidget(m_content);
    m_dropIndicator->setObjectName(QStringLiteral("recorderDropIndicator"));
    m_dropIndicator->setAutoFillBackground(true);
    QPalette pal = m_dropIndicator->palette();
    pal.setColor(QPalette::Window, AppPalette::accent());
    m_dropIndicator->setPalette(pal);
    m_dropIndicator->hide();

    connect(m_model, &RecorderModel::stepsChanged, this, &RecorderStepList::sync);
    connect(m_model, &RecorderModel::stepInserted, this, &RecorderStepList::animateIn);
    sync();
}

StepEditorRow *RecorderStepList::row(const QUuid &itemID) const
{
    RowFrame *frame = m_frames.value(itemID);
    return frame ? frame->row() : nullptr;
}

void RecorderStepList::sync()
{
    const QList<ShotStepItem> &steps = m_model->steps();
    QList<QUuid> ids;
    ids.reserve(steps.size());
    for (const ShotStepItem &item : steps)
        ids.append(item.id);

    for (auto it = m_frames.begin(); it != m_frames.end();) {
        if (!ids.contains(it.key())) {
            m_layout->removeWidget(it.value());
            it.value()->hide();
            it.value()->deleteLater();
            m_selection.removeAll(it.key());
            it = m_frames.erase(it);
        } else {
            ++it;
        }
    }

    for (int index = 0; index < steps.size(); ++index) {
        const ShotStepItem &item = steps.at(index);
        RowFrame *frame = m_frames.value(item.id);
        if (!frame) {
            const QUuid id = item.id;
            const QPointer<RecorderModel> model(m_model);
            auto *row = new StepEditorRow(makeBinding<ShotStep>(
                [model, id] { return model ? model->step(id).value_or(ShotStep()) : ShotStep(); },
                [model, id](const ShotStep &step) {
                    if (model)
                        model->setStep(id, step);
                }));
            row->setOnInsertWaitBefore([model, id] {
                if (model)
                    model->insertWait(id, StepListEditing::WaitPlacement::Before);
            });
            row->setOnInsertWaitAfter([model, id] {
                if (model)
                    model->insertWait(id, StepListEditing::WaitPlacement::After);
            });
            frame = new RowFrame(this, id, row);
            m_frames.insert(id, frame);
            m_layout->insertWidget(index, frame);
        } else {
            frame->row()->showStep(item.step);
            if (m_layout->indexOf(frame) != index) {
                m_layout->removeWidget(frame);
                m_layout->insertWidget(index, frame);
            }
        }
    }
    m_order = ids;
    updateSelectionLook();
}

void RecorderStepList::animateIn(const QUuid &itemID)
{
    RowFrame *frame = m_frames.value(itemID);
    if (!frame || !Motion::animationsEnabled())
        return;
    const Spring spring{0.5, 0.85};
    auto *animation = new QPropertyAnimation(frame, "maximumHeight", frame);
    animation->setStartValue(0);
    animation->setEndValue(frame->sizeHint().height());
    animation->setDuration(spring.durationMs());
    animation->setEasingCurve(spring.easingCurve());
    connect(animation, &QPropertyAnimation::finished, frame, [frame] { frame->setMaximumHeight(QWIDGETSIZE_MAX); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

// --- selection and deleting ----------------------------------------------------------------

QList<int> RecorderStepList::selectedRows() const
{
    QList<int> rows;
    for (const QUuid &id : m_selection) {
        const int index = int(m_order.indexOf(id));
        if (index >= 0)
            rows.append(index);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void RecorderStepList::selectRow(int row, bool extend)
{
    if (!extend)
        m_selection.clear();
    if (row >= 0 && row < m_order.size()) {
        const QUuid id = m_order.at(row);
        if (extend && m_selection.contains(id))
            m_selection.removeAll(id);
        else
            m_selection.append(id);
    }
    updateSelectionLook();
}

void RecorderStepList::updateSelectionLook()
{
    for (auto it = m_frames.cbegin(); it != m_frames.cend(); ++it)
        it.value()->setSelected(m_selection.contains(it.key()));
}

void RecorderStepList::deleteSelected()
{
    const QList<int> rows = selectedRows();
    m_selection.clear();
    m_model->deleteSteps(rows);
}

void RecorderStepList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && !m_selection.isEmpty()) {
        deleteSelected();
        event->accept();
        return;
    }
    QScrollArea::keyPressEvent(event);
}

void RecorderStepList::showContextMenu(RowFrame *frame, const QPoint &globalPos)
{
    const int index = int(m_order.indexOf(frame->itemID()));
    if (index < 0)
        return;
    if (!m_selection.contains(frame->itemID()))
        selectRow(index);
    QMenu menu(this);
    QAction *remove = menu.addAction(QStringLiteral("Löschen"));
    remove->setShortcut(QKeySequence::Delete);
    if (menu.exec(globalPos) == remove)
        deleteSelected();
}

// --- moving ------------------------------------------------------------------------------

void RecorderStepList::startDrag(RowFrame *frame)
{
    auto *mime = new QMimeData;
    mime->setData(QString::fromLatin1(mimeType), frame->itemID().toByteArray(QUuid::WithoutBraces));
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(frame->grab());
    drag->setHotSpot(QPoint(24, frame->height() / 2));
    drag->exec(Qt::MoveAction);
    m_dropIndicator->hide();
}

int RecorderStepList::destinationRowAt(int viewportY) const
{
    const int y = m_content->mapFrom(viewport(), QPoint(0, viewportY)).y();
    for (int index = 0; index < m_order.size(); ++index) {
        const RowFrame *frame = m_frames.value(m_order.at(index));
        if (frame && y < frame->geometry().center().y())
            return index;
    }
    return int(m_order.size());
}

void RecorderStepList::showDropIndicator(int destinationRow)
{
    int y = m_layout->contentsMargins().top();
    if (destinationRow < m_order.size()) {
        if (const RowFrame *frame = m_frames.value(m_order.at(destinationRow)))
            y = frame->geometry().top() - 1;
    } else if (!m_order.isEmpty()) {
        if (const RowFrame *frame = m_frames.value(m_order.last()))
            y = frame->geometry().bottom() + 1;
    }
    m_dropIndicator->setGeometry(12, std::max(0, y - 1), m_content->width() - 24, 2);
    m_dropIndicator->raise();
    m_dropIndicator->show();
}

void RecorderStepList::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(mimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void RecorderStepList::dragMoveEvent(QDragMoveEvent *event)
{
    if (!event->mimeData()->hasFormat(QString::fromLatin1(mimeType))) {
        event->ignore();
        return;
    }
    showDropIndicator(destinationRowAt(event->position().toPoint().y()));
    event->acceptProposedAction();
}

void RecorderStepList::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_dropIndicator->hide();
    QScrollArea::dragLeaveEvent(event);
}

void RecorderStepList::dropEvent(QDropEvent *event)
{
    m_dropIndicator->hide();
    const QByteArray payload = event->mimeData()->data(QString::fromLatin1(mimeType));
    const QUuid id = QUuid::fromString(QString::fromLatin1(payload));
    const int source = int(m_order.indexOf(id));
    if (id.isNull() || source < 0) {
        event->ignore();
        return;
    }
    m_model->moveSteps({source}, destinationRowAt(event->position().toPoint().y()));
    event->acceptProposedAction();
}
