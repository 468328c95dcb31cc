#pragma once

#include <QString>
#include <QStringList>

// What the languages card offers and how its menu label reads. Pure functions of the plan's
// languages and the languages the Xcode project declares.
namespace StoreLocales {

// The 39 locale codes of the App Store, in store order.
const QStringList &storeLocaleCodes();

// The project's languages when it declares any, else the store locales.
QStringList offeredLanguages(const QStringList &supportedLocales);
// "Vom Projekt unterstützt" or "App Store Connect".
QString offeredHeader(const QStringList &supportedLocales);
// Plan languages that are not offered, in plan order (exact comparison).
QStringList extraLanguages(const QStringList &planLanguages, const QStringList &offered);
// "Sprachen wählen" for no languages, else the display names joined with ", ".
QString languageSummary(const QStringList &planLanguages);

} // namespace StoreLocales
