// Shows one legal page in a window, the way a host application would:
//   legal-pages-viewer [appinfo|imprint|privacy] [de|en] [--screenshot <file.png>]
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
#include <QStyleFactory>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QWidget *sampleSections()
{
    auto *sections = new QWidget;
    auto *layout = new QVBoxLayout(sections);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(24);

    auto *dataColumn = new QWidget;
    auto *data = new QVBoxLayout(dataColumn);
    data->setContentsMargins(0, 0, 0, 0);
    data->setSpacing(12);
    data->addWidget(new LegalText(QStringLiteral("Velorance Studio arbeitet lokal. Pläne, Aufnahmen und Screenshots bleiben in deinen Projekten.")));
    data->addWidget(new LegalDataItem(QStringLiteral("Screenshot-Pläne"),
                                      QStringLiteral("Schritte, Sprachen und Start-Optionen deiner Aufnahmen."),
                                      QStringLiteral("fastlane/velorancestudio/shots.json im Projekt")));
    data->addWidget(new LegalBullet(QStringLiteral("checkmark.circle.fill"), QStringLiteral("Keine Analyse, kein Tracking, keine Werbung.")));
    layout->addWidget(new LegalSection(QStringLiteral("iphone"), LocalizedText::verbatim(QStringLiteral("Was die App speichert")), dataColumn));
    layout->addWidget(new LegalCallout(QStringLiteral("hand.raised.fill"), QStringLiteral("Deine Rechte"),
                                       QStringLiteral("Du kannst jederzeit Auskunft, Berichtigung oder Löschung verlangen."),
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
    const int shotIndex = args.indexOf(QStringLiteral("--screenshot"));
    const QString screenshot = shotIndex > 0 ? args.value(shotIndex + 1) : QString();

    const LegalEntity entity = LegalEntity::norvane(QStringLiteral("velorance"), QStringLiteral("DE123456789"));
    const QDate updated(2026, 12, 1);
    QWidget *view = nullptr;
    if (page == QLatin1String("imprint"))
        view = new ImprintView(entity, updated);
    else if (page == QLatin1String("privacy"))
        view = new PrivacyPolicyView(entity, updated, sampleSections());
    else
        view = new AppInfoView(QStringLiteral("Velorance Studio"), QStringLiteral("Screenshots, die sich selbst aufnehmen."),
                               QStringLiteral("camera.viewfinder"), entity, QStringLiteral("1. Dezember 2026"), true);

    SettingsTheme theme;
    theme.accent = AppPalette::accent();
    SettingsTheme::install(view, theme);
    LegalEnvironment::setLocale(view, locale);
    view->resize(640, 900);
    view->show();

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(600, view, [view, screenshot] {
            view->grab().save(screenshot);
            QApplication::quit();
        });
    }
    return app.exec();
}
