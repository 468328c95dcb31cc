#include "ProjectSidebar.h"

#include "SidebarEntry.h"
#include "SidebarRowPainter.h"

#include <AppModel.h>
#include <AppPalette.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum Roles { ProjectIDRole = Qt::UserRole + 1, BundleIdentifierRole };

class ProjectRowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        SidebarRowPainter::Row row;
        row.systemImage = QStringLiteral("app.badge");
        row.title = index.data(Qt::DisplayRole).toString();
        row.subtitle = index.data(BundleIdentifierRole).toString();
        row.selected = option.state.testFlag(QStyle::State_Selected);
        row.hovered = option.state.testFlag(QStyle::State_MouseOver);
        SidebarRowPainter::paint(*painter, option.rect, row);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return QSize(160, SidebarRowPainter::rowHeight);
    }
};

QLabel *sectionHeader(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(TextStyles::font(TextStyle::Caption2, QFont::DemiBold));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, AppPalette::tertiaryText());
    label->setPalette(palette);
    return label;
}

} // namespace

ProjectSidebar::ProjectSidebar(AppModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("sidebar"));
    setMinimumWidth(220);

    m_refresh = new QToolButton(this);
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_refresh->setIcon(Symbols::icon(QStringLiteral("arrow.clockwise"), AppPalette::secondaryText(), 18));
    m_refresh->setIconSize(QSize(18, 18));
    m_refresh->setToolTip(QStringLiteral("Projekte aktualisieren"));
    m_refresh->setAutoRaise(true);
    m_refresh->setCursor(Qt::PointingHandCursor);
    connect(m_refresh, &QToolButton::clicked, m_model, &AppModel::refresh);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(16, 0, 8, 0);
    header->addWidget(sectionHeader(QStringLiteral("PROJEKTE"), this));
    header->addStretch(1);
    header->addWidget(m_refresh);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("projectList"));
    m_list->setItemDelegate(new ProjectRowDelegate(m_list));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setMouseTracking(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setFocusPolicy(Qt::StrongFocus);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    m_list->setStyleSheet(QStringLiteral("QListWidget { background: transparent; }"));
    connect(m_list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (m_syncing || !item)
            return;
        m_model->setSelectedProjectID(item->data(ProjectIDRole).toString());
        m_model->setSection(AppModel::Section::Projects);
    });
    connect(m_list, &QListWidget::itemClicked, this, [this] {
        // Clicking the selected project again still leaves the settings.
        m_model->setSection(AppModel::Section::Projects);
    });

    m_emptyHint = new QLabel(this);
    m_emptyHint->setObjectName(QStringLiteral("emptyProjectsHint"));
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setFont(TextStyles::font(TextStyle::Footnote));
    QPalette hintPalette = m_emptyHint->palette();
    hintPalette.setColor(QPalette::WindowText, AppPalette::secondaryText());
    m_emptyHint->setPalette(hintPalette);
    m_emptyHint->setContentsMargins(16, 4, 16, 4);

    m_settingsEntry = new SidebarEntry(QStringLiteral("gearshape"), QStringLiteral("Einstellungen"), this);
    m_settingsEntry->setObjectName(QStringLiteral("settingsEntry"));
    connect(m_settingsEntry, &SidebarEntry::clicked, this, [this] {
        m_model->setSection(AppModel::Section::Settings);
        syncSelection();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 10);
    layout->setSpacing(4);
    layout->addLayout(header);
    layout->addWidget(m_emptyHint);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_settingsEntry);

    connect(m_model, &AppModel::projectsChanged, this, &ProjectSidebar::syncProjects);
    connect(m_model, &AppModel::selectionChanged, this, &ProjectSidebar::syncSelection);
    connect(m_model, &AppModel::sectionChanged, this, &ProjectSidebar::syncSelection);
    connect(m_model, &AppModel::scanningChanged, this, &ProjectSidebar::syncScanning);
    syncProjects();
    syncScanning();
}

void ProjectSidebar::paintEvent(QPaintEvent *)
{
    // The source list sits a shade darker than the content, with a hairline towards it.
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x17, 0x18, 0x1C));
    painter.fillRect(QRect(width() - 1, 0, 1, height()), QColor(255, 255, 255, 20));
}

void ProjectSidebar::syncProjects()
{
    m_syncing = true;
    const QList<XcodeProject> &projects = m_model->projects();
    // Rows are reused in order and only rewritten where they differ.
    while (m_list->count() > projects.size())
        delete m_list->takeItem(m_list->count() - 1);
    for (qsizetype i = 0; i < projects.size(); ++i) {
        QListWidgetItem *item = m_list->item(int(i));
        if (!item) {
            item = new QListWidgetItem;
            m_list->addItem(item);
        }
        const XcodeProject &project = projects[i];
        if (item->data(ProjectIDRole).toString() != project.id)
            item->setData(ProjectIDRole, project.id);
        if (item->text() != project.name)
            item->setText(project.name);
        const QString bundle = project.bundleIdentifier.value_or(QString());
        if (item->data(BundleIdentifierRole).toString() != bundle)
            item->setData(BundleIdentifierRole, bundle);
        item->setToolTip(project.url);
    }
    m_syncing = false;

    const bool empty = projects.isEmpty() && !m_model->isScanning();
    m_emptyHint->setText(QStringLiteral("Keine Projekte gefunden"));
    m_emptyHint->setVisible(empty);
    syncSelection();
}

void ProjectSidebar::syncSelection()
{
    m_syncing = true;
    const bool settings = m_model->section() == AppModel::Section::Settings;
    m_settingsEntry->setChecked(settings);
    const auto selected = m_model->selectedProjectID();
    QListWidgetItem *target = nullptr;
    if (!settings && selected) {
        for (int i = 0; i < m_list->count(); ++i) {
            if (m_list->item(i)->data(ProjectIDRole).toString() == *selected) {
                target = m_list->item(i);
                break;
            }
        }
    }
    if (target) {
        m_list->setCurrentItem(target);
    } else {
        m_list->clearSelection();
        m_list->setCurrentItem(nullptr);
    }
    m_syncing = false;
}

void ProjectSidebar::syncScanning()
{
    m_refresh->setEnabled(!m_model->isScanning());
    if (!m_model->isScanning())
        m_emptyHint->setVisible(m_model->projects().isEmpty());
}
