#pragma once

#include <QLocale>

class QWidget;

// What the legal pages read from their surroundings besides the theme: the locale their
// texts are shown in, and whether contact rows are plain text instead of links. Both
// travel down a widget subtree like the settings theme does.
namespace LegalEnvironment {

// Installs a locale on `root` and its subtree; pages under it are localised in that language.
void setLocale(QWidget *root, const QLocale &locale);
// The nearest installed locale, else the application's default locale.
QLocale locale(const QWidget *widget);

// When true, every contact row below `root` shows its value as plain text.
void setContactDisplayOnly(QWidget *root, bool displayOnly);
bool contactDisplayOnly(const QWidget *widget);

} // namespace LegalEnvironment
