#include "SheetHeader.h"

#include "BusyIndicator.h"
#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <SymbolLabel.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int standardPadding = 16;
constexpr int busyDiameter = 16;
} // namespace

SheetHeader::SheetHeader(const QString &symbolName, const QString &title, QWidget *parent)
    : QWidget(parent)
{
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(standardPadding, standardPadding, standardPadding, standardPadding);
    m_row->setSpacing(12);
    m_row->setAlignment(Qt::AlignTop);

    // The symbol and the busy indicator share one slot, so the titles do not move between them.
    auto *iconSlot = new QWidget(this);
    m_iconSlot = iconSlot;
    auto *slot = new QHBoxLayout(iconSlot);
    slot->setContentsMargins(0, 0, 0, 0);
    m_symbol = new SymbolLabel(symbolName, TextStyle::Title2, iconSlot);
    slot->addWidget(m_symbol);
    m_busy = new BusyIndicator(busyDiameter, iconSlot);
    m_busy->hide();
    slot->addWidget(m_busy, 0, Qt::AlignCenter);
    iconSlot->setFixedWidth(TextStyles::pixelSize(TextStyle::Title2) + 4);
    m_row->addWidget(iconSlot, 0, Qt::AlignTop);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    m_title = PlanEditorStyle::label(title, TextStyle::Headline, this);
    titles->addWidget(m_title);
    m_subtitle = PlanEditorStyle::caption(QString(), this);
    titles->addWidget(m_subtitle);
    m_row->addLayout(titles, 1);
    m_titles = titles;
    m_row->addSpacing(12);

    m_close = new QToolButton(this);
    m_close->setAutoRaise(true);
    m_close->setText(Symbols::ligature(QStringLiteral("xmark.circle.fill")));
    m_close->setFont(Symbols::font(TextStyles::pixelSize(TextStyle::Title2)));
    m_close->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; color: %1; }"
                                          "QToolButton:hover { color: %2; }")
                               .arg(AppPalette::secondaryText().name(QColor::HexArgb),
                                    AppPalette::primaryText().name(QColor::HexArgb)));
    m_close->setToolTip(QStringLiteral("Schließen"));
    m_close->setCursor(Qt::PointingHandCursor);
    connect(m_close, &QToolButton::clicked, this, &SheetHeader::closeRequested);
    m_row->addWidget(m_close, 0, Qt::AlignTop);
}

void SheetHeader::setSymbol(const QString &symbolName, const QColor &color)
{
    if (m_symbol->symbolName() != symbolName)
        m_symbol->setSymbolName(symbolName);
    if (m_symbol->color() != color)
        m_symbol->setColor(color);
}

void SheetHeader::setTitle(const QString &title)
{
    if (m_title->text() != title)
        m_title->setText(title);
}

void SheetHeader::setSubtitle(const QString &subtitle)
{
    if (m_subtitle->text() != subtitle)
        m_subtitle->setText(subtitle);
}

void SheetHeader::setBusy(bool busy)
{
    m_symbol->setVisible(!busy);
    m_busy->setVisible(busy);
}

void SheetHeader::setPadding(int padding)
{
    m_row->setContentsMargins(padding, padding, padding, padding);
}

void SheetHeader::setVerticalAlignment(Qt::Alignment alignment)
{
    const Qt::Alignment vertical = alignment & Qt::AlignVertical_Mask;
    m_row->setAlignment(vertical);
    m_row->setAlignment(m_iconSlot, vertical);
    m_row->setAlignment(m_titles, vertical);
    m_row->setAlignment(m_close, vertical);
}
