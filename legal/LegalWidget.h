#pragma once

#include <SettingsTheme.h>
#include <TextStyle.h>

#include <QLocale>
#include <QWidget>

#include <optional>

class NorCard;
class QFrame;
class QLabel;
class QVBoxLayout;

// Base of every legal block and page: re-reads theme and locale whenever either changes
// above it, and updates its texts and colours in place.
class LegalWidget : public QWidget
{
    Q_OBJECT

public:
    explicit LegalWidget(QWidget *parent = nullptr);

    SettingsTheme theme() const { return SettingsTheme::of(this); }
    QLocale locale() const;

protected:
    // Derived constructors call this last; it applies the environment now and on every change.
    void watchEnvironment();
    virtual void applyEnvironment() = 0;
};

namespace LegalStyle {
// A label whose text wraps onto further lines instead of being cut ("fixed vertical").
QLabel *wrappingLabel(QWidget *parent = nullptr);
QLabel *plainLabel(QWidget *parent = nullptr);
void setText(QLabel *label, const QString &text);
void setColor(QWidget *widget, const QColor &color);
QFont font(TextStyle style, QFont::Weight weight = QFont::Normal, bool monospaced = false);
// Fills `owner` with a card surface (the theme's radius, or `cornerRadius` when given) and
// returns the card's column, padded by `margins` with `spacing` between items.
QVBoxLayout *cardColumn(QWidget *owner, const QMargins &margins, int spacing, std::optional<qreal> cornerRadius = std::nullopt);
// A thin horizontal rule in a faint foreground colour.
QFrame *divider(QWidget *parent = nullptr);
QFont fontOfSize(qreal pixelSize, QFont::Weight weight = QFont::Normal, bool monospaced = false);
}
