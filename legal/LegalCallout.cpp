#include "LegalCallout.h"

#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

LegalCallout::LegalCallout(const QString &icon, const LocalizedText &title, const LocalizedText &text,
                           const QColor &tint, QWidget *parent)
    : LegalWidget(parent)
    , m_titleText(title)
    , m_bodyText(text)
    , m_tint(tint)
    , m_icon(new SymbolLabel(icon, TextStyle::Title3))
    , m_title(LegalStyle::wrappingLabel())
    , m_body(LegalStyle::wrappingLabel())
{
    setObjectName(QStringLiteral("legalCallout"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(12);
    auto *header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(m_icon);
    m_title->setFont(LegalStyle::font(TextStyle::Headline, QFont::DemiBold));
    header->addWidget(m_title, 1);
    column->addLayout(header);
    m_body->setFont(LegalStyle::font(TextStyle::Body));
    column->addWidget(m_body);
    watchEnvironment();
}

LegalCallout::LegalCallout(const QString &icon, const QString &title, const QString &text, const QColor &tint,
                           QWidget *parent)
    : LegalCallout(icon, LocalizedText::verbatim(title), LocalizedText::verbatim(text), tint, parent)
{
}

void LegalCallout::applyEnvironment()
{
    m_icon->setColor(m_tint);
    LegalStyle::setColor(m_title, m_tint);
    LegalStyle::setColor(m_body, theme().textPrimary);
    LegalStyle::setText(m_title, m_titleText.resolved(locale()));
    LegalStyle::setText(m_body, m_bodyText.resolved(locale()));
}

void LegalCallout::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    QColor fill = m_tint;
    fill.setAlphaF(0.12);
    painter.fillPath(path, fill);
    QColor stroke = m_tint;
    stroke.setAlphaF(0.4);
    painter.setPen(QPen(stroke, 1));
    painter.drawPath(path);
}
