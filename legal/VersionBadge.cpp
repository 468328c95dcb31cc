#include "VersionBadge.h"

#include "LegalBundle.h"
#include "LocalizedText.h"

#include <AppVersion.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

VersionBadge::VersionBadge(QWidget *parent)
    : LegalWidget(parent)
    , m_version(LegalStyle::plainLabel())
    , m_build(LegalStyle::plainLabel())
{
    setObjectName(QStringLiteral("versionBadge"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 6, 12, 6);
    row->setSpacing(4);
    m_version->setFont(LegalStyle::fontOfSize(14, QFont::Bold, true));
    m_build->setFont(LegalStyle::fontOfSize(12, QFont::DemiBold, true));
    row->addWidget(m_version, 0, Qt::AlignVCenter);
    row->addWidget(m_build, 0, Qt::AlignVCenter);
    watchEnvironment();
}

QString VersionBadge::versionText() const
{
    return m_version->text();
}

QString VersionBadge::buildText() const
{
    return m_build->text();
}

void VersionBadge::applyEnvironment()
{
    QColor color = theme().textPrimary;
    color.setAlphaF(color.alphaF() * 0.9);
    LegalStyle::setColor(m_version, color);
    LegalStyle::setColor(m_build, color);
    LegalStyle::setText(m_version, QStringLiteral("v") + AppVersion::marketing());
    // The host application has no strings table of its own here, so the format shows as composed.
    const QString buildLabel = legalString(QStringLiteral("appinfo.build"), locale());
    LegalStyle::setText(m_build, fillFormat(QStringLiteral("(%@ %@)"), {buildLabel, AppVersion::build()}));
}

void VersionBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(1, 1, 1, 0.2));
    const qreal radius = height() / 2.0;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
}
