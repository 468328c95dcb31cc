#include "ProjectDetailView.h"

#include <AppPalette.h>
#include <PlaceholderPane.h>
#include <SymbolLabel.h>
#include <SymbolTile.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#if __has_include(<ShotPlanEditorView.h>)
#include <ShotPlanEditorView.h>
#define VELORANCE_HAS_PLAN_EDITOR 1
#endif

namespace {

QString bundleText(const XcodeProject &project)
{
    return project.bundleIdentifier.value_or(QStringLiteral("\u2014"));
}

} // namespace

ProjectDetailView::ProjectDetailView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("projectDetail"));

    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("projectName"));
    m_name->setFont(TextStyles::font(TextStyle::Title, QFont::Bold));
    m_bundleIdentifier = new QLabel(this);
    m_bundleIdentifier->setObjectName(QStringLiteral("projectBundleIdentifier"));
    m_bundleIdentifier->setFont(TextStyles::font(TextStyle::Callout));
    m_bundleIdentifier->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette secondary = m_bundleIdentifier->palette();
    secondary.setColor(QPalette::WindowText, AppPalette::secondaryText());
    m_bundleIdentifier->setPalette(secondary);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(m_name);
    titles->addWidget(m_bundleIdentifier);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(24, 20, 24, 12);
    header->setSpacing(14);
    header->addWidget(new SymbolTile(QStringLiteral("app.badge"), 44, 24, 10, this), 0, Qt::AlignVCenter);
    header->addLayout(titles, 1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("projectTabs"));
    m_tabs->setDocumentMode(false);
    m_tabs->setStyleSheet(QStringLiteral(
        "QTabWidget::tab-bar { left: 24px; }"
        "QTabBar::tab { background: transparent; color: rgba(255,255,255,166); padding: 6px 14px;"
        " margin-right: 4px; border: none; border-bottom: 2px solid transparent; }"
        "QTabBar::tab:selected { color: #F2F3F5; border-bottom: 2px solid #0A84FF; }"
        "QTabBar::tab:hover:!selected { color: #F2F3F5; }"
        "QTabWidget::pane { border: none; border-top: 1px solid rgba(255,255,255,22); top: -1px; }"));
    m_tabs->tabBar()->setDrawBase(false);
    m_capture = makeCapturePage();
    m_tabs->addTab(m_capture, QStringLiteral("Aufnahme"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(m_tabs, 1);
}

QWidget *ProjectDetailView::makeCapturePage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("capture"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
#ifdef VELORANCE_HAS_PLAN_EDITOR
    m_captureContent = new ShotPlanEditorView(m_project, page);
#else
    m_captureContent = new PlaceholderPane(
        QStringLiteral("camera.viewfinder"), QStringLiteral("Aufnahme"),
        {QStringLiteral("Hier entsteht der Screenshot-Plan dieses Projekts.")}, page);
#endif
    layout->addWidget(m_captureContent);
    return page;
}

void ProjectDetailView::setProject(const XcodeProject &project)
{
    const bool changed = !(m_project == project);
    m_project = project;
    if (m_name->text() != project.name)
        m_name->setText(project.name);
    const QString bundle = bundleText(project);
    if (m_bundleIdentifier->text() != bundle)
        m_bundleIdentifier->setText(bundle);
    if (changed)
        updateCapturePage();
}

bool ProjectDetailView::confirmQuit()
{
#ifdef VELORANCE_HAS_PLAN_EDITOR
    return static_cast<ShotPlanEditorView *>(m_captureContent)->confirmQuit();
#else
    return true;
#endif
}

void ProjectDetailView::updateCapturePage()
{
#ifdef VELORANCE_HAS_PLAN_EDITOR
    static_cast<ShotPlanEditorView *>(m_captureContent)->setProject(m_project);
#endif
}
