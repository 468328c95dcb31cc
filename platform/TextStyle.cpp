#include "TextStyle.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace TextStyles {

int pixelSize(TextStyle style)
{
    switch (style) {
    case TextStyle::LargeTitle: return 28;
    case TextStyle::Title: return 24;
    case TextStyle::Title2: return 20;
    case TextStyle::Title3: return 17;
    case TextStyle::Headline: return 14;
    case TextStyle::Subheadline: return 13;
    case TextStyle::Body: return 14;
    case TextStyle::Callout: return 13;
    case TextStyle::Footnote: return 12;
    case TextStyle::Caption: return 12;
    case TextStyle::Caption2: return 11;
    }
    return 14;
}

QFont::Weight defaultWeight(TextStyle style)
{
    return style == TextStyle::Headline ? QFont::DemiBold : QFont::Normal;
}

QString applicationFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const QString &candidate : {QStringLiteral("Inter"), QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")}) {
            if (families.contains(candidate))
                return candidate;
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QString monospacedFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const QString &candidate : {QStringLiteral("Noto Sans Mono"), QStringLiteral("DejaVu Sans Mono")}) {
            if (families.contains(candidate))
                return candidate;
        }
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    return family;
}

QFont systemFont(qreal pixelSize, QFont::Weight weight, bool monospaced)
{
    QFont f(monospaced ? monospacedFamily() : applicationFamily());
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(weight);
    if (monospaced)
        f.setStyleHint(QFont::Monospace);
    return f;
}

QFont font(TextStyle style)
{
    return font(style, defaultWeight(style));
}

QFont font(TextStyle style, QFont::Weight weight)
{
    return systemFont(pixelSize(style), weight, false);
}

QFont monospaced(TextStyle style, QFont::Weight weight)
{
    return systemFont(pixelSize(style), weight, true);
}

} // namespace TextStyles
