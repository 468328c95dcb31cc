#include "LegalPage.h"

#include <QLabel>
#include <QMovie>
#include <QPicture>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Whether `widget` puts nothing on screen: a plain container whose children (those that
// would be visible with it) show nothing either, or a label without text or picture. Any
// other widget class may paint, so it counts as content.
bool showsNothing(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text().isEmpty() && label->pixmap().isNull() && !label->movie() && label->picture().isNull();
    if (widget->metaObject() != &QWidget::staticMetaObject || widget->autoFillBackground()
        || !widget->styleSheet().isEmpty())
        return false;
    const auto children = widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    return std::all_of(children.begin(), children.end(), [widget](const QWidget *child) {
        return child->isWindow() || !child->isVisibleTo(widget) || showsNothing(child);
    });
}

// A part of the page's column. One that shows nothing counts as absent, as a hidden one
// does: it takes no height and no spacing, so its neighbours stay one spacing apart.
class PartItem final : public QWidgetItem
{
public:
    using QWidgetItem::QWidgetItem;

    bool isEmpty() const override { return QWidgetItem::isEmpty() || showsNothing(widget()); }

    void setGeometry(const QRect &rect) override
    {
        // Left where it is, an empty part could lie over its neighbours; keep it at its place.
        if (!QWidgetItem::isEmpty() && showsNothing(widget()))
            widget()->setGeometry(QRect(rect.topLeft(), QSize(rect.width(), 0)));
        else
            QWidgetItem::setGeometry(rect);
    }
};

} // namespace

LegalPage::LegalPage(const QString &titleKey, QWidget *parent)
    : LegalWidget(parent)
    , m_titleKey(titleKey)
    , m_scroll(new QScrollArea(this))
    , m_column(new QWidget)
    , m_layout(new QVBoxLayout(m_column))
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);
    m_scroll->setObjectName(QStringLiteral("legalPageScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_column->setObjectName(QStringLiteral("legalPageColumn"));
    m_layout->setContentsMargins(16, 8, 16, 8);
    m_layout->setSpacing(24);
    m_layout->addStretch(1);
    legalPageWidth(m_column);
    m_scroll->setWidget(m_column);
}

QList<QWidget *> LegalPage::parts() const
{
    QList<QWidget *> result;
    for (int i = 0; i < m_layout->count(); ++i) {
        if (QWidget *w = m_layout->itemAt(i)->widget())
            result.append(w);
    }
    return result;
}

void LegalPage::addPart(QWidget *part)
{
    if (!part)
        return;
    // Keep the trailing stretch last so short pages sit at the top.
    const int index = m_layout->count() - 1;
    // insertWidget adopts the widget; its plain item is then swapped for one that knows
    // when the part shows nothing.
    m_layout->insertWidget(index, part);
    delete m_layout->takeAt(index);
    m_layout->insertItem(index, new PartItem(part));
}

void LegalPage::applyEnvironment()
{
    const QString title = legalString(m_titleKey, locale());
    if (windowTitle() != title)
        setWindowTitle(title);
}

void legalPageWidth(QWidget *column)
{
    if (column)
        column->setSizePolicy(QSizePolicy::Expanding, column->sizePolicy().verticalPolicy());
}
