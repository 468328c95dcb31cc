#include "SaveErrorBar.h"

#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace {
constexpr qreal kCornerRadius = 8;
constexpr int kGroundAlpha = 28;
constexpr int kEdgeAlpha = 90;
} // namespace

SaveErrorBar::SaveErrorBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("saveErrorBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(8);
    auto *icon = new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), TextStyle::Body, this);
    icon->setObjectName(QStringLiteral("saveErrorBarSymbol"));
    icon->setColor(AppPalette::destructive());
    layout->addWidget(icon, 0, Qt::AlignTop);
    m_text = PlanEditorStyle::label(QString(), TextStyle::Body, this, AppPalette::destructive());
    m_text->setObjectName(QStringLiteral("saveErrorBarText"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_text, 1);
}

void SaveErrorBar::setText(const QString &text)
{
    if (m_text->text() != text)
        m_text->setText(text);
}

QString SaveErrorBar::text() const
{
    return m_text->text();
}

void SaveErrorBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ground = AppPalette::destructive();
    ground.setAlpha(kGroundAlpha);
    QColor edge = AppPalette::destructive();
    edge.setAlpha(kEdgeAlpha);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(ground);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
}
