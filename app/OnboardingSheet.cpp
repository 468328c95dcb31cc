#include "OnboardingSheet.h"

#include <AppModel.h>
#include <AppPalette.h>
#include <GlassSurface.h>
#include <SymbolLabel.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *textLabel(const QString &text, TextStyle style, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(TextStyles::font(style));
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}
} // namespace

OnboardingSheet::OnboardingSheet(AppModel *model, QWidget *parent)
    : QDialog(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("onboardingSheet"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(QStringLiteral("Willkommen"));
    setFixedWidth(480);

    auto *symbol = new SymbolLabel(QStringLiteral("sparkles"), TextStyle::Body, this);
    symbol->setPixelSize(40);
    symbol->setColor(AppPalette::accent());

    auto *title = new QLabel(QStringLiteral("Willkommen bei Velorance Studio"), this);
    title->setObjectName(QStringLiteral("onboardingTitle"));
    title->setFont(TextStyles::font(TextStyle::Title2, QFont::Bold));

    auto *intro = textLabel(
        QStringLiteral("Velorance Studio findet die Xcode-Projekte in deinem Projektordner und "
                       "plant, nimmt auf und erstellt ihre App-Store-Screenshots."),
        TextStyle::Body, AppPalette::secondaryText(), this);

    auto *folderCard = new GlassSurface(this);
    folderCard->setCornerRadius(12);
    folderCard->setPadding(QMargins(14, 10, 14, 10));
    auto *folderIcon = new SymbolLabel(QStringLiteral("folder"), TextStyle::Title3, folderCard);
    folderIcon->setColor(AppPalette::accent());
    auto *folderCaption = textLabel(QStringLiteral("Projektordner"), TextStyle::Caption, AppPalette::secondaryText(), folderCard);
    m_folder = new QLabel(folderCard);
    m_folder->setObjectName(QStringLiteral("onboardingFolder"));
    m_folder->setFont(TextStyles::monospaced(TextStyle::Callout));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *folderTexts = new QVBoxLayout;
    folderTexts->setSpacing(2);
    folderTexts->addWidget(folderCaption);
    folderTexts->addWidget(m_folder);
    auto *folderRow = new QHBoxLayout(folderCard);
    folderRow->setSpacing(12);
    folderRow->addWidget(folderIcon);
    folderRow->addLayout(folderTexts, 1);

    auto *hint = textLabel(QStringLiteral("Den Ordner kannst du jederzeit in den Einstellungen ändern."),
                           TextStyle::Footnote, AppPalette::tertiaryText(), this);

    m_start = new QPushButton(QStringLiteral("Loslegen"), this);
    m_start->setObjectName(QStringLiteral("onboardingStart"));
    m_start->setDefault(true);
    m_start->setCursor(Qt::PointingHandCursor);
    m_start->setFont(TextStyles::font(TextStyle::Body, QFont::DemiBold));
    m_start->setStyleSheet(QStringLiteral(
        "QPushButton { background: #0A84FF; color: white; border: none; border-radius: 8px; padding: 7px 22px; }"
        "QPushButton:hover { background: #2B95FF; }"
        "QPushButton:pressed { background: #0870D8; }"));
    connect(m_start, &QPushButton::clicked, this, [this] {
        accept();
        m_model->completeOnboarding();
    });
    // Closing without the button only hides the sheet; it comes back on the next start.
    connect(this, &QDialog::rejected, this, [this] { m_model->setShowOnboarding(false); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_start);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 28, 22);
    layout->setSpacing(12);
    layout->addWidget(symbol);
    layout->addWidget(title);
    layout->addWidget(intro);
    layout->addSpacing(4);
    layout->addWidget(folderCard);
    layout->addWidget(hint);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_model->settings(), &SettingsStore::projectsRootChanged, this, &OnboardingSheet::syncFolder);
    syncFolder();
}

void OnboardingSheet::syncFolder()
{
    const QString folder = m_model->settings()->projectsRoot();
    if (m_folder->text() != folder)
        m_folder->setText(folder);
}
