// Shows one legal page in a window, the way a host application would:
//   legal-pages-viewer [appinfo|imprint|privacy] [de|en] [--width <px>] [--height <px>|fit]
//                      [--screenshot <file.png>]
// "--height fit" makes the window as tall as the page is at its width. Dates and the copyright
// year count in the calendar of the environment's locale: LANG=th_TH.UTF-8 shows the Buddhist era.
#include <AppInfoView.h>
#include <ImprintView.h>
#include <LegalBullet.h>
#include <LegalCallout.h>
#include <LegalDataItem.h>
#include <LegalEnvironment.h>
#include <LegalSection.h>
#include <LegalText.h>
#include <PrivacyPolicyView.h>

#include <AppPalette.h>
#include <SettingsTheme.h>
#include <TextStyle.h>

#include <QApplication>
#include <QScrollArea>
#include <QStyleFactory>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The host's own texts, in the page's language like a host would give them.
QString hostText(bool english, const char *german, const char *inEnglish)
{
    return QString::fromUtf8(english ? inEnglish : german);
}

QWidget *sampleSections(bool english)
{
    auto *sections = new QWidget;
    auto *layout = new QVBoxLayout(sections);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(24);

    auto *dataColumn = new QWidget;
    auto *data = new QVBoxLayout(dataColumn);
    data->setContentsMargins(0, 0, 0, 0);
    data->setSpacing(12);
    data->addWidget(new LegalText(hostText(english, "Velorance Studio arbeitet lokal. Pläne, Aufnahmen und Screenshots bleiben in deinen Projekten.",
                                           "Velorance Studio works locally. Plans, recordings and screenshots stay in your projects.")));
    data->addWidget(new LegalDataItem(hostText(english, "Screenshot-Pläne", "Screenshot plans"),
                                      hostText(english, "Schritte, Sprachen und Start-Optionen deiner Aufnahmen.",
                                               "Steps, languages and launch options of your recordings."),
                                      hostText(english, "fastlane/velorancestudio/shots.json im Projekt",
                                               "fastlane/velorancestudio/shots.json in the project")));
    data->addWidget(new LegalBullet(QStringLiteral("checkmark.circle.fill"),
                                    hostText(english, "Keine Analyse, kein Tracking, keine Werbung.", "No analytics, no tracking, no ads.")));
    layout->addWidget(new LegalSection(QStringLiteral("iphone"),
                                       LocalizedText::verbatim(hostText(english, "Was die App speichert", "What the app stores")), dataColumn));
    layout->addWidget(new LegalCallout(QStringLiteral("hand.raised.fill"), hostText(english, "Deine Rechte", "Your rights"),
                                       hostText(english, "Du kannst jederzeit Auskunft, Berichtigung oder Löschung verlangen.",
                                                "You can ask for access, correction or deletion at any time."),
                                       AppPalette::warning()));
    return sections;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(AppPalette::palette());
    QApplication::setFont(TextStyles::font(TextStyle::Body));

    const QStringList args = QApplication::arguments();
    const QString page = args.value(1, QStringLiteral("appinfo"));
    const QLocale locale(args.value(2, QStringLiteral("de")));
    const bool english = locale.language() == QLocale::English;
    const auto option = [&args](const QString &name) {
        const int index = args.indexOf(name);
        return index > 0 ? args.value(index + 1) : QString();
    };
    const QString screenshot = option(QStringLiteral("--screenshot"));
    const int width = option(QStringLiteral("--width")).toInt() > 0 ? option(QStringLiteral("--width")).toInt() : 640;
    const QString heightOption = option(QStringLiteral("--height"));

    const LegalEntity entity = LegalEntity::norvane(QStringLiteral("velorance"), QStringLiteral("DE123456789"));
    const QDate updated(2026, 12, 1);
    QWidget *view = nullptr;
    if (page == QLatin1String("imprint"))
        view = new ImprintView(entity, updated);
    else if (page == QLatin1String("privacy"))
        view = new PrivacyPolicyView(entity, updated, sampleSections(english));
    else
        view = new AppInfoView(QStringLiteral("Velorance Studio"),
                               hostText(english, "Screenshots, die sich selbst aufnehmen.", "Screenshots that take themselves."),
                               QStringLiteral("camera.viewfinder"), entity,
                               hostText(english, "1. Dezember 2026", "December 1, 2026"), true);

    SettingsTheme theme;
    theme.accent = AppPalette::accent();
    SettingsTheme::install(view, theme);
    LegalEnvironment::setLocale(view, locale);
    int height = heightOption.toInt() > 0 ? heightOption.toInt() : 900;
    if (heightOption == QLatin1String("fit")) {
        // The column's height at this width, with the texts of the chosen language in place.
        if (auto *scroll = view->findChild<QScrollArea *>(QStringLiteral("legalPageScroll")))
            height = scroll->widget()->heightForWidth(width);
    }
    view->resize(width, height);
    view->show();

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(600, view, [view, screenshot] {
            view->grab().save(screenshot);
            QApplication::quit();
        });
    }
    return app.exec();
}
