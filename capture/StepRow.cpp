#include "StepRow.h"

#include "InsertWaitButton.h"
#include "StepKindEditor.h"
#include "StepKinds.h"

#include <AppPalette.h>
#include <SurfacePainter.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHash>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace {

constexpr int kHandleWidth = 16;
constexpr int kKindIconWidth = 20;
constexpr int kSpacing = 8;
constexpr int kIconsWidth = kHandleWidth + kSpacing + kKindIconWidth + kSpacing;
constexpr int kSymbolSize = 17;

QPixmap symbolPixmap(const QString &name, const QColor &color, qreal ratio)
{
    static QHash<QString, QPixmap> cache;
    const QString key = name + color.name(QColor::HexArgb) + QString::number(ratio);
    auto it = cache.constFind(key);
    if (it == cache.constEnd())
        it = cache.insert(key, Symbols::pixmap(name, color, kSymbolSize, ratio));
    return *it;
}

} // namespace

StepRow::StepRow(Binding<ShotStep> step, const QString &dragID, QWidget *parent)
    : QWidget(parent)
    , m_step(std::move(step))
    , m_dragID(dragID)
{
    setObjectName(QStringLiteral("stepRow"));
    setToolTip(QStringLiteral("Zum Umsortieren ziehen"));
    setAcceptDrops(true);
    // Exactly as tall as the content: extra height never trickles into the rows.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    // The handle and the kind icon are painted: a long step list saves two widgets a row.
    m_kindSymbol = stepSystemImage(m_step.get());
    m_editor = new StepKindEditor(StepKindEditor::Layout::PlanRow, m_step, this);

    m_insertWait = new InsertWaitButton(this);

    m_delete = new QToolButton(this);
    m_delete->setObjectName(QStringLiteral("stepDeleteButton"));
    m_delete->setAutoRaise(true);
    static const QIcon deleteIcon = Symbols::icon(QStringLiteral("minus.circle"), AppPalette::destructive(), 16);
    m_delete->setIcon(deleteIcon);
    m_delete->setIconSize(QSize(16, 16));
    m_delete->setAccessibleName(QStringLiteral("Schritt löschen"));
    connect(m_delete, &QToolButton::clicked, this, [this] {
        if (m_onDelete)
            m_onDelete();
    });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(kIconsWidth, 2, 0, 2);
    layout->setSpacing(8);
    layout->addLayout(m_editor->contentLayout(), 1);
    // The flexible space: takes what the fields (at most 280 or 320 wide) leave over.
    layout->addSpacerItem(new QSpacerItem(8, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    layout->addWidget(m_insertWait, 0, Qt::AlignTop);
    layout->addWidget(m_delete, 0, Qt::AlignTop);
}

void StepRow::setOnInsertWaitBefore(std::function<void()> action)
{
    m_insertWait->setOnInsertWaitBefore(std::move(action));
}

void StepRow::setOnInsertWaitAfter(std::function<void()> action)
{
    m_insertWait->setOnInsertWaitAfter(std::move(action));
}

void StepRow::showStep(const ShotStep &step)
{
    const QString symbol = stepSystemImage(step);
    if (symbol != m_kindSymbol) {
        m_kindSymbol = symbol;
        update();
    }
    m_editor->showStep(step);
}

QStringList StepRow::dropItems(const QMimeData *data)
{
    if (!data || !data->hasText())
        return {};
    QStringList items;
    const QStringList lines = data->text().split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            items.append(line);
    }
    return items;
}

QMimeData *StepRow::makeDragData() const
{
    auto *data = new QMimeData;
    data->setText(m_dragID);
    return data;
}

QPixmap StepRow::dragPreview() const
{
    const ShotStep step = m_step.get();
    const QString summary = step.summary();
    const QFont font = TextStyles::font(TextStyle::Body);
    const QFontMetrics metrics(font);
    const int iconSize = 16;
    const int padding = 10;
    const int spacing = 8;
    const int height = qMax(iconSize, metrics.height()) + 2 * 6;
    const int width = padding + iconSize + spacing + metrics.horizontalAdvance(summary) + padding;
    const qreal ratio = devicePixelRatioF();

    QPixmap pixmap(QSize(width, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    SurfacePainter::Style style;
    style.kind = SurfacePainter::Kind::RegularGlass;
    style.cornerRadius = 10;
    style.shadow = false;
    SurfacePainter::paint(painter, QRectF(0, 0, width, height), style);
    painter.drawPixmap(padding, (height - iconSize) / 2,
                       Symbols::pixmap(stepSystemImage(step), AppPalette::accent(), iconSize, ratio));
    painter.setFont(font);
    painter.setPen(AppPalette::primaryText());
    painter.drawText(QRect(padding + iconSize + spacing, 0, width, height), Qt::AlignLeft | Qt::AlignVCenter, summary);
    return pixmap;
}

void StepRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    // Top-aligned with the first line of the editor.
    const int top = 2 + 4;
    painter.drawPixmap(QPoint((kHandleWidth - kSymbolSize) / 2, top),
                       symbolPixmap(QStringLiteral("line.3.horizontal"), AppPalette::tertiaryText(), ratio));
    painter.drawPixmap(QPoint(kHandleWidth + kSpacing + (kKindIconWidth - kSymbolSize) / 2, top),
                       symbolPixmap(m_kindSymbol, AppPalette::secondaryText(), ratio));
}

void StepRow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_pressPosition = event->position().toPoint();
    }
    QWidget::mousePressEvent(event);
}

void StepRow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed || !(event->buttons() & Qt::LeftButton)
        || (event->position().toPoint() - m_pressPosition).manhattanLength() < QApplication::startDragDistance()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_pressed = false;
    auto *drag = new QDrag(this);
    drag->setMimeData(makeDragData());
    const QPixmap preview = dragPreview();
    drag->setPixmap(preview);
    drag->setHotSpot(QPoint(12, int(preview.height() / preview.devicePixelRatio() / 2)));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void StepRow::dragEnterEvent(QDragEnterEvent *event)
{
    if (dropItems(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void StepRow::dragMoveEvent(QDragMoveEvent *event)
{
    if (dropItems(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void StepRow::dropEvent(QDropEvent *event)
{
    const QStringList items = dropItems(event->mimeData());
    if (items.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (m_onDrop)
        m_onDrop(items.first());
}
