#include "SettingsTheme.h"

#include <QCoreApplication>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace {

constexpr auto themeProperty = "norkit.settingsTheme";

// Forwards parent changes and theme changes of one widget to its apply function.
class ThemeWatcher final : public QObject
{
public:
    ThemeWatcher(QWidget *widget, std::function<void()> apply)
        : QObject(widget)
        , m_apply(std::move(apply))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent()) {
            if (event->type() == SettingsTheme::changedEventType() || event->type() == QEvent::Polish) {
                // Polish comes before the first show: by then a subtree built apart has
                // found its place under a themed ancestor.
                m_apply();
            } else if (event->type() == QEvent::ParentChange) {
                // The subtree may now sit under another theme.
                SettingsTheme::notifySubtree(static_cast<QWidget *>(watched));
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_apply;
};

} // namespace

QFont KitFontSpec::toFont() const
{
    const bool mono = design == FontDesign::Monospaced;
    if (platformStyle)
        return mono ? TextStyles::monospaced(style, weight) : TextStyles::font(style, weight);
    return TextStyles::systemFont(pixelSize, weight, mono);
}

const SettingsTheme &SettingsTheme::defaultTheme()
{
    static const SettingsTheme theme;
    return theme;
}

void SettingsTheme::install(QWidget *root, const SettingsTheme &theme)
{
    if (!root)
        return;
    root->setProperty(themeProperty, QVariant::fromValue(theme));
    notifySubtree(root);
}

void SettingsTheme::uninstall(QWidget *root)
{
    if (!root)
        return;
    root->setProperty(themeProperty, QVariant());
    notifySubtree(root);
}

SettingsTheme SettingsTheme::of(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant value = w->property(themeProperty);
        if (value.canConvert<SettingsTheme>() && value.isValid())
            return value.value<SettingsTheme>();
    }
    return defaultTheme();
}

QEvent::Type SettingsTheme::changedEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void SettingsTheme::watch(QWidget *widget, std::function<void()> apply)
{
    if (!widget)
        return;
    apply();
    new ThemeWatcher(widget, std::move(apply));
}

void SettingsTheme::notifySubtree(QWidget *root)
{
    if (!root)
        return;
    QList<QPointer<QWidget>> targets{root};
    for (QWidget *child : root->findChildren<QWidget *>())
        targets.append(child);
    for (const QPointer<QWidget> &target : targets) {
        if (target) {
            QEvent event(changedEventType());
            QCoreApplication::sendEvent(target, &event);
        }
    }
}

qreal SettingsTheme::pointSize(KitTextStyle style)
{
    switch (style) {
    case KitTextStyle::Body: return 17;
    case KitTextStyle::Headline: return 17;
    case KitTextStyle::Caption: return 12;
    case KitTextStyle::Footnote: return 13;
    }
    return 17;
}

TextStyle SettingsTheme::platformStyle(KitTextStyle style)
{
    switch (style) {
    case KitTextStyle::Body: return TextStyle::Body;
    case KitTextStyle::Headline: return TextStyle::Headline;
    case KitTextStyle::Caption: return TextStyle::Caption;
    case KitTextStyle::Footnote: return TextStyle::Footnote;
    }
    return TextStyle::Body;
}

QFont SettingsTheme::scaledFont(const QFont &base, qreal size, QFont::Weight weight, FontDesign design) const
{
    if (metricScale == 1.0)
        return base;
    return TextStyles::systemFont(size * metricScale, weight, design == FontDesign::Monospaced);
}

KitFontSpec SettingsTheme::fontSpec(KitTextStyle style, QFont::Weight weight, FontDesign design) const
{
    KitFontSpec spec;
    spec.style = platformStyle(style);
    spec.weight = weight;
    spec.design = design;
    spec.platformStyle = metricScale == 1.0;
    spec.pixelSize = spec.platformStyle ? TextStyles::pixelSize(spec.style) : pointSize(style) * metricScale;
    return spec;
}

QFont SettingsTheme::font(KitTextStyle style, QFont::Weight weight, FontDesign design) const
{
    return fontSpec(style, weight, design).toFont();
}
