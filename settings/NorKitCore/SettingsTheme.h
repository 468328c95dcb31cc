#pragma once

#include <TextStyle.h>

#include <QColor>
#include <QEvent>
#include <QFont>
#include <QMetaType>

#include <functional>

class QWidget;

// Surface of an accordion card where no glass is drawn.
enum class LegacyCardSurface { Material, PlainWhite };

// Font designs the kit asks for; rounded and serif fall back to the application font.
enum class FontDesign { Default, Rounded, Monospaced, Serif };

// The kit's base text styles, each with its own point size (body 17, headline 17,
// caption 12, footnote 13) used when the metric scale is not 1.
enum class KitTextStyle { Body, Headline, Caption, Footnote };

// The font a kit text resolves to, before it becomes a QFont; lets callers and tests see
// whether the plain platform style or a scaled system size is used.
struct KitFontSpec
{
    bool platformStyle = true; // true: the platform's text style, unchanged
    TextStyle style = TextStyle::Body;
    qreal pixelSize = 0;       // the style's size, or point size × metric scale
    QFont::Weight weight = QFont::Normal;
    FontDesign design = FontDesign::Default;

    QFont toFont() const;
    bool operator==(const KitFontSpec &) const = default;
};

// The look every kit widget shares. Travels down a widget subtree (install/of); a widget
// that finds none installed gets the default theme.
struct SettingsTheme
{
    QColor accent = QColor(0x0A, 0x84, 0xFF);
    QColor textPrimary = QColor(255, 255, 255);
    QColor textSecondary = QColor::fromRgbF(1, 1, 1, 0.7);
    QColor textTertiary = QColor::fromRgbF(1, 1, 1, 0.5);
    qreal cardCornerRadius = 16;
    qreal metricScale = 1.0;
    QColor glassTint = QColor(Qt::transparent);
    double pressGlow = 0.16;
    double pressFade = 0.28; // seconds
    LegacyCardSurface legacySurface = LegacyCardSurface::Material;
    std::function<void()> hapticTap = [] {};

    // The theme in effect where none is installed; built once per process.
    static const SettingsTheme &defaultTheme();

    // Installs the theme on `root` and its whole subtree, and tells the kit widgets in it.
    static void install(QWidget *root, const SettingsTheme &theme);
    // Removes a theme installed on `root` (its subtree then inherits from further up).
    static void uninstall(QWidget *root);
    // The nearest theme installed on `widget` or one of its ancestors, else the default.
    static SettingsTheme of(const QWidget *widget);

    // Sent to every widget of a subtree whose theme may have changed.
    static QEvent::Type changedEventType();
    // Calls `apply` now, whenever a theme is installed above `widget`, when `widget` moves
    // to another parent and when it is polished before its first show. Kit widgets re-read
    // the theme in `apply`.
    static void watch(QWidget *widget, std::function<void()> apply);
    // Sends changedEventType() to `root` and all its descendants.
    static void notifySubtree(QWidget *root);

    // The kit's own point size of a base style.
    static qreal pointSize(KitTextStyle style);
    static TextStyle platformStyle(KitTextStyle style);

    // The scaling rule: `base` unchanged at a scale of exactly 1.0, else the system font of
    // pointSize × metricScale with the weight and design.
    QFont scaledFont(const QFont &base, qreal pointSize, QFont::Weight weight,
                     FontDesign design = FontDesign::Default) const;
    // The rule applied to one of the kit's base styles.
    KitFontSpec fontSpec(KitTextStyle style, QFont::Weight weight = QFont::Normal,
                         FontDesign design = FontDesign::Default) const;
    QFont font(KitTextStyle style, QFont::Weight weight = QFont::Normal,
               FontDesign design = FontDesign::Default) const;
    // A scaled metric (spacing, padding, frame width).
    qreal scaled(qreal value) const { return value * metricScale; }
    int scaledInt(qreal value) const { return qRound(value * metricScale); }
};

Q_DECLARE_METATYPE(SettingsTheme)
