#include "LegalEnvironment.h"

#include <SettingsTheme.h>

#include <QVariant>
#include <QWidget>

namespace LegalEnvironment {
namespace {

constexpr auto localeProperty = "legal.locale";
constexpr auto displayOnlyProperty = "legal.contactDisplayOnly";

QVariant nearest(const QWidget *widget, const char *property)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant value = w->property(property);
        if (value.isValid())
            return value;
    }
    return {};
}

} // namespace

void setLocale(QWidget *root, const QLocale &locale)
{
    if (!root)
        return;
    root->setProperty(localeProperty, QVariant::fromValue(locale));
    SettingsTheme::notifySubtree(root);
}

QLocale locale(const QWidget *widget)
{
    const QVariant value = nearest(widget, localeProperty);
    return value.isValid() ? value.value<QLocale>() : QLocale();
}

void setContactDisplayOnly(QWidget *root, bool displayOnly)
{
    if (!root)
        return;
    root->setProperty(displayOnlyProperty, displayOnly);
    SettingsTheme::notifySubtree(root);
}

bool contactDisplayOnly(const QWidget *widget)
{
    const QVariant value = nearest(widget, displayOnlyProperty);
    return value.isValid() && value.toBool();
}

} // namespace LegalEnvironment
