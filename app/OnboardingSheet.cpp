#include "OnboardingSheet.h"

#include <AppModel.h>
#include <AppPalette.h>
#include <ControlStyles.h>
#include <GlassSurface.h>
#include <SymbolLabel.h>
#include <TextStyle.h>

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

OnboardingSheet::FolderChooser &folderChooser()
{
    static OnboardingSheet::FolderChooser chooser = [](QWidget *parent, const QString &title, const QString &start) {
        return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
    };
    return chooser;
}

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
    // A long path must not widen the fixed-width sheet: it is elided, and whole in the tooltip.
    m_folder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_folder->setMinimumWidth(60);
    m_folder->installEventFilter(this);
    auto *folderTexts = new QVBoxLayout;
    folderTexts->setSpacing(2);
    folderTexts->addWidget(folderCaption);
    folderTexts->addWidget(m_folder);
    m_choose = new QPushButton(QStringLiteral("Ändern…"), folderCard);
    m_choose->setObjectName(QStringLiteral("onboardingChooseFolder"));
    m_choose->setCursor(Qt::PointingHandCursor);
    m_choose->setFont(TextStyles::font(TextStyle::Callout, QFont::Medium));
    m_choose->setAutoDefault(false);
    ControlStyles::makeBordered(m_choose);
    connect(m_choose, &QPushButton::clicked, this, &OnboardingSheet::chooseFolder);
    auto *folderRow = new QHBoxLayout(folderCard);
    folderRow->setSpacing(12);
    folderRow->addWidget(folderIcon);
    folderRow->addLayout(folderTexts, 1);
    folderRow->addWidget(m_choose, 0, Qt::AlignVCenter);

    // The settings show the folder read only; this sheet is where it changes.
    auto *hint = textLabel(m_model->isDemo()
                               ? QStringLiteral("Im Demo-Modus gilt die Auswahl nur bis zum Beenden.")
                               : QStringLiteral("Den Ordner kannst du später hier wieder ändern – in den "
                                                "Einstellungen über „Onboarding erneut zeigen“."),
                           TextStyle::Footnote, AppPalette::tertiaryText(), this);
    hint->setObjectName(QStringLiteral("onboardingFolderHint"));

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

    connect(m_model, &AppModel::projectsRootChanged, this, &OnboardingSheet::syncFolder);
    syncFolder();
}

void OnboardingSheet::setFolderChooser(FolderChooser chooser)
{
    folderChooser() = std::move(chooser);
}

bool OnboardingSheet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_folder && (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
        elideFolder();
    return QDialog::eventFilter(watched, event);
}

void OnboardingSheet::syncFolder()
{
    const QString folder = m_model->projectsRootText();
    if (m_folderText == folder)
        return;
    m_folderText = folder;
    m_folder->setToolTip(folder);
    elideFolder();
}

void OnboardingSheet::elideFolder()
{
    const QString shown = m_folder->fontMetrics().elidedText(m_folderText, Qt::ElideMiddle, qMax(0, m_folder->width()));
    if (m_folder->text() != shown)
        m_folder->setText(shown);
}

void OnboardingSheet::chooseFolder()
{
    const QString current = m_model->projectsRoot();
    const QString start = QFileInfo(current).isDir() ? current : QDir::homePath();
    const QString chosen = folderChooser() ? folderChooser()(this, QStringLiteral("Projektordner wählen"), start) : QString();
    // The model scans the new folder at once; closing the sheet need not.
    if (!chosen.isEmpty())
        m_model->chooseProjectsRoot(chosen);
}
