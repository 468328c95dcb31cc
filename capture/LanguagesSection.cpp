#include "LanguagesSection.h"

#include "PlanEditorModel.h"
#include "PlanEditorStyle.h"
#include "StoreLocales.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <LocalePreference.h>
#include <Symbols.h>

#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kMenuMaxWidth = 420;
}

LanguagesSection::LanguagesSection(PlanEditorModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("languagesSection"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(PlanEditorStyle::caption(
        QStringLiteral("Über diese Sprachen wird aufgenommen. Jede wird zu einem Store-Locale-Ordner."), this));

    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("languagesMenuButton"));
    m_button->setAutoRaise(true);
    m_button->setPopupMode(QToolButton::InstantPopup);
    ControlStyles::hideMenuIndicator(m_button);
    m_button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_button->setIcon(Symbols::icon(QStringLiteral("globe"), AppPalette::accent(), 16));
    m_button->setIconSize(QSize(16, 16));
    m_button->setMaximumWidth(kMenuMaxWidth);
    m_button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    PlanEditorStyle::setTextColor(m_button, AppPalette::accent());

    m_menu = new QMenu(m_button);
    m_menu->setObjectName(QStringLiteral("languagesMenu"));
    m_menu->setToolTipsVisible(true);
    m_button->setMenu(m_menu);
    connect(m_menu, &QMenu::aboutToShow, this, &LanguagesSection::rebuildMenu);
    layout->addWidget(m_button, 0, Qt::AlignLeft);

    connect(m_model, &PlanEditorModel::planChanged, this, &LanguagesSection::updateSummary);
    connect(m_model, &PlanEditorModel::projectChanged, this, &LanguagesSection::updateSummary);
    updateSummary();
}

void LanguagesSection::rebuildMenu()
{
    m_menu->clear();
    const QStringList supported = m_model->supportedLocales();
    const QStringList offered = StoreLocales::offeredLanguages(supported);
    const QStringList extra = StoreLocales::extraLanguages(m_model->plan().languages, offered);

    auto addItems = [this](const QStringList &codes) {
        for (const QString &code : codes) {
            QAction *action = m_menu->addAction(LocalePreference::displayName(code));
            action->setCheckable(true);
            action->setData(code);
            const Binding<bool> binding = m_model->languageBinding(code);
            action->setChecked(binding.get());
            connect(action, &QAction::triggered, this, [binding](bool checked) { binding.set(checked); });
        }
    };
    if (!extra.isEmpty()) {
        m_menu->addSection(QStringLiteral("Nicht in der Liste"));
        addItems(extra);
    }
    m_menu->addSection(StoreLocales::offeredHeader(supported));
    addItems(offered);
}

void LanguagesSection::updateSummary()
{
    // Display names come from ICU; only look them up when the languages changed.
    const QStringList &languages = m_model->plan().languages;
    if (m_summaryValid && languages == m_summaryLanguages)
        return;
    m_summaryLanguages = languages;
    m_summary = StoreLocales::languageSummary(languages);
    m_summaryValid = true;
    applyElidedText();
}

void LanguagesSection::applyElidedText()
{
    const int room = std::min(kMenuMaxWidth, std::max(width(), 120)) - m_button->iconSize().width() - 28;
    const QString elided = m_button->fontMetrics().elidedText(m_summary, Qt::ElideRight, std::max(room, 40));
    if (m_button->text() != elided)
        m_button->setText(elided);
    m_button->setAccessibleName(m_summary);
}

void LanguagesSection::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyElidedText();
}
