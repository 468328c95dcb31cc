#include "LegalWidget.h"

#include "LegalEnvironment.h"

#include <NorCard.h>

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

LegalWidget::LegalWidget(QWidget *parent)
    : QWidget(parent)
{
}

QLocale LegalWidget::locale() const
{
    return LegalEnvironment::locale(this);
}

void LegalWidget::watchEnvironment()
{
    SettingsTheme::watch(this, [this] { applyEnvironment(); });
}

namespace LegalStyle {

QLabel *wrappingLabel(QWidget *parent)
{
    // The label's own policy keeps its height-for-width, so the page's column can follow
    // its width; a fixed vertical policy would size it as if it were always narrow.
    auto *label = plainLabel(parent);
    label->setWordWrap(true);
    return label;
}

QLabel *plainLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void setText(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

void setColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == color && palette.isBrushSet(QPalette::Active, QPalette::WindowText))
        return;
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

QFont font(TextStyle style, QFont::Weight weight, bool monospaced)
{
    return monospaced ? TextStyles::monospaced(style, weight) : TextStyles::font(style, weight);
}

QVBoxLayout *cardColumn(QWidget *owner, const QMargins &margins, int spacing, std::optional<qreal> cornerRadius)
{
    auto *outer = new QVBoxLayout(owner);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *card = cornerRadius ? new NorCard(*cornerRadius, owner) : new NorCard(owner);
    outer->addWidget(card);
    auto *column = new QVBoxLayout(card);
    column->setContentsMargins(margins);
    column->setSpacing(spacing);
    return column;
}

QFrame *divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("legalDivider"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    setColor(line, QColor(255, 255, 255, 36));
    return line;
}

QFont fontOfSize(qreal pixelSize, QFont::Weight weight, bool monospaced)
{
    return TextStyles::systemFont(pixelSize, weight, monospaced);
}

} // namespace LegalStyle
