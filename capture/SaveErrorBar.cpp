#include "SaveErrorBar.h"

#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace {
constexpr qreal kCornerRadius = 8;
constexpr int kGroundAlpha = 28;
constexpr int kEdgeAlpha = 90;
} // namespace

SaveErrorBar::SaveErrorBar(QWidget *parent, Kind kind)
    : QWidget(parent)
    , m_kind(kind)
{
    const bool error = kind == Kind::Error;
    const QString name = error ? QStringLiteral("saveErrorBar") : QStringLiteral("keptNoticeBar");
    setObjectName(name);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, error ? 12 : 6, 8);
    layout->setSpacing(8);
    auto *icon = new SymbolLabel(error ? QStringLiteral("exclamationmark.triangle.fill") : QStringLiteral("info.circle.fill"),
                                 TextStyle::Body, this);
    icon->setObjectName(name + QStringLiteral("Symbol"));
    icon->setColor(tint());
    // The error's symbol heads its first line; the notice, with its close button, is one row
    // centred on its middle.
    const Qt::Alignment ends = error ? Qt::AlignTop : Qt::AlignVCenter;
    layout->addWidget(icon, 0, ends);
    m_text = PlanEditorStyle::label(QString(), TextStyle::Body, this,
                                    error ? AppPalette::destructive() : AppPalette::primaryText());
    m_text->setObjectName(name + QStringLiteral("Text"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_text, 1);
    if (!error) {
        m_close = PlanEditorStyle::symbolButton(QStringLiteral("xmark"), AppPalette::secondaryText(),
                                                QStringLiteral("Schließen"), this);
        m_close->setObjectName(name + QStringLiteral("Close"));
        connect(m_close, &QToolButton::clicked, this, &SaveErrorBar::closeClicked);
        layout->addWidget(m_close, 0, ends);
    }
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

QColor SaveErrorBar::tint() const
{
    return m_kind == Kind::Error ? AppPalette::destructive() : AppPalette::accent();
}

void SaveErrorBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ground = tint();
    ground.setAlpha(kGroundAlpha);
    QColor edge = tint();
    edge.setAlpha(kEdgeAlpha);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(ground);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
}
