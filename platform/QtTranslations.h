#pragma once

#include "Result.h"

#include <QLocale>
#include <QString>

// Qt's own texts (standard buttons, file dialogs, context menus) in the language of the
// interface, from the catalogues Qt installs beside itself.
namespace QtTranslations {

// The folder Qt's catalogues are installed in.
QString defaultDirectory();

// Loads Qt's catalogue for the locale's language from the folder and installs it into the
// application. Fails (and leaves Qt's texts as they were) when there is no catalogue for it.
Status install(const QLocale &locale = QLocale(QLocale::German, QLocale::Germany),
               const QString &directory = defaultDirectory());

} // namespace QtTranslations
