#include "LegalDataItem.h"

#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

LegalDataItem::LegalDataItem(const QString &title, const QString &description, const QString &storage, QWidget *parent)
    : LegalWidget(parent)
    , m_title(LegalStyle::wrappingLabel())
    , m_description(LegalStyle::wrappingLabel())
    , m_arrow(new SymbolLabel(QStringLiteral("arrow.right.circle.fill"), TextStyle::Caption))
    , m_storage(LegalStyle::wrappingLabel())
{
    setObjectName(QStringLiteral("legalDataItem"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(6);
    m_title->setFont(LegalStyle::font(TextStyle::Body, QFont::DemiBold));
    m_title->setText(title);
    m_description->setFont(LegalStyle::font(TextStyle::Caption));
    m_description->setText(description);
    m_storage->setFont(LegalStyle::font(TextStyle::Caption));
    m_storage->setText(storage);
    column->addWidget(m_title);
    column->addWidget(m_description);
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(m_arrow);
    row->addWidget(m_storage, 1);
    column->addLayout(row);
    watchEnvironment();
}

void LegalDataItem::applyEnvironment()
{
    const SettingsTheme t = theme();
    LegalStyle::setColor(m_title, t.textPrimary);
    LegalStyle::setColor(m_description, t.textSecondary);
    LegalStyle::setColor(m_storage, t.textSecondary);
    m_arrow->setColor(t.accent);
    update();
}

void LegalDataItem::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = theme().accent;
    fill.setAlphaF(0.05);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 8, 8);
    painter.fillPath(path, fill);
}
