#include "SettingsView.h"

#include "SegmentedPicker.h"
#include "SettingsStepper.h"

#include <AboutView.h>
#include <AppModel.h>
#include <AppPalette.h>
#include <BundleInfo.h>
#include <ControlStyles.h>
#include <SettingsAccordionCard.h>
#include <SettingsStore.h>
#include <SettingsSwitch.h>
#include <SettingsTheme.h>
#include <SettingsToggleRow.h>
#include <SettingsValueRow.h>
#include <TextStyle.h>
#include <WindowRegistry.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int controlRowPadding = 4;

QLabel *heading(const QString &text, QWidget *parent = nullptr)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("heading"));
    label->setTextFormat(Qt::PlainText);
    label->setFont(TextStyles::font(TextStyle::Subheadline, QFont::Medium));
    return label;
}

QLabel *caption(const QString &text, QWidget *parent = nullptr)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("caption"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(TextStyles::font(TextStyle::Caption));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, AppPalette::secondaryText());
    label->setPalette(pal);
    return label;
}

QPushButton *plainButton(const QString &text, const QString &objectName)
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(TextStyles::font(TextStyle::Callout, QFont::Medium));
    ControlStyles::makeBordered(button);
    return button;
}

// A row of plain controls: 4 points above and below.
QHBoxLayout *controlRow(QWidget *owner)
{
    auto *row = new QHBoxLayout(owner);
    row->setContentsMargins(0, controlRowPadding, 0, controlRowPadding);
    row->setSpacing(12);
    return row;
}

QVBoxLayout *textStack()
{
    auto *stack = new QVBoxLayout;
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(2);
    return stack;
}

} // namespace

SettingsView::SettingsView(AppModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("settingsView"));

    SettingsTheme theme;
    theme.accent = AppPalette::accent();
    SettingsTheme::install(this, theme);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("settingsScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->viewport()->setAutoFillBackground(false);
    ControlStyles::makeSlim(m_scroll->verticalScrollBar());
    outer->addWidget(m_scroll);

    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("settingsPage"));
    page->setAutoFillBackground(false);
    auto *centring = new QHBoxLayout(page);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->setSpacing(0);
    m_column = new QWidget(page);
    m_column->setObjectName(QStringLiteral("settingsColumn"));
    m_column->setMaximumWidth(maximumColumnWidth);
    m_column->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    centring->addStretch(0);
    centring->addWidget(m_column, 1);
    centring->addStretch(0);
    auto *stack = new QVBoxLayout(m_column);
    stack->setContentsMargins(columnPadding, columnPadding, columnPadding, columnPadding);
    stack->setSpacing(cardSpacing);

    Binding<std::optional<Card>> selection{
        [this] { return m_openCard; },
        [this](const std::optional<Card> &card) { setOpenCard(card); }};

    struct Entry {
        Card card;
        QString title;
        QString icon;
        QString objectName;
        QWidgetList (SettingsView::*build)();
    };
    const Entry entries[] = {
        {Card::General, QStringLiteral("Allgemein"), QStringLiteral("gearshape.fill"), QStringLiteral("generalCard"),
         &SettingsView::buildGeneral},
        {Card::AppStoreConnect, QStringLiteral("App Store Connect"), QStringLiteral("person.badge.key.fill"),
         QStringLiteral("appStoreConnectCard"), &SettingsView::buildAppStoreConnect},
        {Card::Screenshots, QStringLiteral("Screenshots"), QStringLiteral("camera.fill"),
         QStringLiteral("screenshotsCard"), &SettingsView::buildScreenshots},
        {Card::About, QStringLiteral("Info"), QStringLiteral("info.circle.fill"), QStringLiteral("aboutCard"),
         &SettingsView::buildAbout},
    };
    for (const Entry &entry : entries) {
        auto build = entry.build;
        auto *card = new SettingsAccordionCard(entry.title, entry.icon, SettingsCardStyle::Auto,
                                               SettingsAccordionCard::binding(selection, entry.card),
                                               SettingsAccordionCard::ContentBuilder([this, build] { return (this->*build)(); }),
                                               m_column);
        card->setObjectName(entry.objectName);
        stack->addWidget(card);
        m_cards.append(card);
    }
    stack->addStretch(1);
    m_scroll->setWidget(page);
}

SettingsAccordionCard *SettingsView::card(Card card) const
{
    const int index = int(card);
    return index >= 0 && index < m_cards.size() ? m_cards.at(index) : nullptr;
}

void SettingsView::showAnew()
{
    m_openCard = Card::General;
    for (SettingsAccordionCard *c : std::as_const(m_cards))
        c->syncFromBinding(false);
    m_scroll->verticalScrollBar()->setValue(0);
}

void SettingsView::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        showAnew();
    QWidget::showEvent(event);
}

void SettingsView::setOpenCard(std::optional<Card> card)
{
    if (m_openCard == card)
        return;
    m_openCard = card;
    for (SettingsAccordionCard *c : std::as_const(m_cards))
        c->syncFromBinding();
}

QString SettingsView::bundleIdentifierText()
{
    const std::optional<QString> identifier = BundleInfo::main().identifier;
    if (!identifier || identifier->isEmpty())
        return QStringLiteral("—");
    return *identifier;
}

QWidgetList SettingsView::buildGeneral()
{
    SettingsStore *settings = m_model ? m_model->settings() : nullptr;
    auto *folder = new SettingsValueRow(QStringLiteral("Projekte-Ordner"), settings ? settings->projectsRoot() : QString(),
                                        std::nullopt, true);
    folder->setObjectName(QStringLiteral("projectsRootRow"));
    if (settings)
        connect(settings, &SettingsStore::projectsRootChanged, folder, &SettingsValueRow::setValue);

    auto *setup = new QWidget;
    setup->setObjectName(QStringLiteral("onboardingRow"));
    auto *row = controlRow(setup);
    row->addWidget(heading(QStringLiteral("Einrichtung")));
    row->addStretch(1);
    auto *again = plainButton(QStringLiteral("Onboarding erneut zeigen"), QStringLiteral("showOnboardingButton"));
    connect(again, &QPushButton::clicked, this, [this] {
        if (m_model)
            m_model->setShowOnboarding(true);
    });
    row->addWidget(again);
    return {folder, setup};
}

QWidgetList SettingsView::buildAppStoreConnect()
{
    SettingsStore *settings = m_model ? m_model->settings() : nullptr;

    auto *version = new QWidget;
    version->setObjectName(QStringLiteral("versionPreferenceRow"));
    auto *versionStack = new QVBoxLayout(version);
    versionStack->setContentsMargins(0, controlRowPadding, 0, controlRowPadding);
    versionStack->setSpacing(8);
    versionStack->addWidget(heading(QStringLiteral("Version für Download und Status")));
    // One segment per source, in case order.
    auto *picker = new SegmentedPicker(QStringLiteral("Version"),
                                       {QStringLiteral("In Vorbereitung, sonst Live"), QStringLiteral("Live")});
    picker->setObjectName(QStringLiteral("versionPreferencePicker"));
    picker->setAccent(SettingsTheme::of(this).accent);
    versionStack->addWidget(picker);
    if (settings) {
        picker->setCurrentIndex(int(settings->ascVersionPreference()));
        connect(picker, &SegmentedPicker::activated, settings, [settings](int index) {
            settings->setAscVersionPreference(index == int(VersionSource::Live) ? VersionSource::Live
                                                                                : VersionSource::EditableThenLive);
        });
        connect(settings, &SettingsStore::ascVersionPreferenceChanged, picker,
                [picker](VersionSource source) { picker->setCurrentIndex(int(source)); });
    }

    auto *confirm = new SettingsToggleRow(
        QStringLiteral("Vor dem Upload nachfragen"), std::nullopt, QStringLiteral("hand.raised.fill"), std::nullopt,
        std::nullopt,
        Binding<bool>{[settings] { return settings ? settings->confirmBeforeUpload() : true; },
                      [settings](const bool &on) {
                          if (settings)
                              settings->setConfirmBeforeUpload(on);
                      }});
    confirm->setObjectName(QStringLiteral("confirmBeforeUploadRow"));
    if (settings)
        connect(settings, &SettingsStore::confirmBeforeUploadChanged, confirm, &SettingsToggleRow::refresh);

    auto *preload = new QWidget;
    preload->setObjectName(QStringLiteral("preloadStatusRow"));
    auto *preloadRow = controlRow(preload);
    auto *texts = textStack();
    auto *preloadTitle = new QLabel(QStringLiteral("Beim Start alles vorab laden"));
    preloadTitle->setFont(TextStyles::font(TextStyle::Body));
    texts->addWidget(preloadTitle);
    texts->addWidget(caption(QStringLiteral("Status und lokale Medien-Infos aller Projekte. Aus: erst beim Öffnen.")));
    preloadRow->addLayout(texts, 1);
    auto *preloadSwitch = new SettingsSwitch;
    preloadSwitch->setObjectName(QStringLiteral("preloadStatusSwitch"));
    preloadSwitch->setAccessibleName(preloadTitle->text());
    preloadSwitch->setTint(SettingsTheme::of(this).accent);
    preloadRow->addWidget(preloadSwitch, 0, Qt::AlignVCenter);
    if (settings) {
        preloadSwitch->showChecked(settings->preloadStatusOnLaunch());
        connect(preloadSwitch, &QAbstractButton::toggled, settings, &SettingsStore::setPreloadStatusOnLaunch);
        connect(settings, &SettingsStore::preloadStatusOnLaunchChanged, preloadSwitch, &SettingsSwitch::showChecked);
    }
    return {version, confirm, preload};
}

QWidgetList SettingsView::buildScreenshots()
{
    SettingsStore *settings = m_model ? m_model->settings() : nullptr;

    auto *workers = new QWidget;
    workers->setObjectName(QStringLiteral("parallelWorkersRow"));
    auto *row = controlRow(workers);
    auto *texts = textStack();
    texts->addWidget(heading(QStringLiteral("Parallele Simulator-Worker")));
    texts->addWidget(caption(QStringLiteral("Mehr ist schneller, aber GPU-lastiger. iPhone 3, iPad 2 sind erprobt.")));
    row->addLayout(texts, 1);

    auto *stepper = new SettingsStepper(SettingsTheme::of(this).accent);
    stepper->setObjectName(QStringLiteral("parallelWorkersStepper"));
    stepper->setAccessibleName(QStringLiteral("Parallele Simulator-Worker"));
    stepper->setRange(1, 6);
    stepper->setSingleStep(1);
    row->addWidget(stepper, 0, Qt::AlignVCenter);
    if (settings) {
        // A stored value outside 1…6 is shown at the nearest end and left as it is until
        // the user steps.
        {
            const QSignalBlocker blocker(stepper);
            stepper->setValue(settings->parallelWorkers());
        }
        connect(stepper, &QSpinBox::valueChanged, settings, &SettingsStore::setParallelWorkers);
        connect(settings, &SettingsStore::parallelWorkersChanged, stepper, [stepper](int value) {
            if (stepper->value() == value)
                return;
            const QSignalBlocker blocker(stepper);
            stepper->setValue(value);
        });
    }
    return {workers};
}

QWidgetList SettingsView::buildAbout()
{
    auto *name = new SettingsValueRow(QStringLiteral("Programm"), AboutView::appName(), std::nullopt, true);
    name->setObjectName(QStringLiteral("appNameRow"));
    auto *version = new SettingsValueRow(
        QStringLiteral("Version"), QStringLiteral("%1 (%2)").arg(AboutView::versionString(), AboutView::buildNumber()),
        std::nullopt, true);
    version->setObjectName(QStringLiteral("versionRow"));
    auto *bundle = new SettingsValueRow(QStringLiteral("Bundle-ID"), bundleIdentifierText(), std::nullopt, true);
    bundle->setObjectName(QStringLiteral("bundleIdentifierRow"));

    auto *about = new QWidget;
    about->setObjectName(QStringLiteral("aboutRow"));
    auto *row = controlRow(about);
    row->addWidget(heading(QStringLiteral("Über")));
    row->addStretch(1);
    auto *open = plainButton(QStringLiteral("Über %1…").arg(AboutView::appName()), QStringLiteral("openAboutButton"));
    connect(open, &QPushButton::clicked, this, [] { WindowRegistry::instance().open(QStringLiteral("about")); });
    row->addWidget(open);

    auto *rights = caption(AboutView::rightsNotice());
    rights->setObjectName(QStringLiteral("rightsNotice"));
    rights->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return {name, version, bundle, about, rights};
}
