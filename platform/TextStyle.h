#pragma once

#include <QFont>

// The text styles the screens are described in, mapped to pixel sizes and weights of the
// application font (Inter), with a monospaced variant for code-like text.
enum class TextStyle {
    LargeTitle,
    Title,
    Title2,
    Title3,
    Headline,
    Subheadline,
    Body,
    Callout,
    Footnote,
    Caption,
    Caption2,
};

namespace TextStyles {

int pixelSize(TextStyle style);
QFont::Weight defaultWeight(TextStyle style);

// The application font at the style's size; `weight` overrides the style's own weight.
QFont font(TextStyle style);
QFont font(TextStyle style, QFont::Weight weight);
QFont monospaced(TextStyle style, QFont::Weight weight = QFont::Normal);
// A plain system-font size (for the settings kit's own scaling rule).
QFont systemFont(qreal pixelSize, QFont::Weight weight = QFont::Normal, bool monospaced = false);

QString applicationFamily();
QString monospacedFamily();

} // namespace TextStyles
