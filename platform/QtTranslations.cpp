#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace QtTranslations {

QString defaultDirectory()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

Status install(const QLocale &locale, const QString &directory)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return Status::failure(QStringLiteral("Keine Anwendung, in die Qts Übersetzungen geladen werden könnten"));
    // The translator lives as long as the application that uses it.
    auto *translator = new QTranslator(app);
    // "qtbase" holds every text of the widgets the program shows (dialogs, buttons, menus).
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), directory)) {
        delete translator;
        return Status::failure(QStringLiteral("Qts Übersetzungen für „%1“ fehlen in %2").arg(locale.name(), directory));
    }
    QCoreApplication::installTranslator(translator);
    return Status::success();
}

} // namespace QtTranslations
