#include "NorCard.h"

#include "CardShadowEffect.h"
#include "CardSurface.h"
#include "SettingsTheme.h"

#include <QPainter>

NorCard::NorCard(QWidget *parent)
    : QWidget(parent)
    , m_shadow(new CardShadowEffect(this))
{
    setObjectName(QStringLiteral("norCard"));
    setAttribute(Qt::WA_TranslucentBackground);
    setGraphicsEffect(m_shadow);
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

NorCard::NorCard(qreal cornerRadius, QWidget *parent)
    : NorCard(parent)
{
    setFixedCornerRadius(cornerRadius);
}

void NorCard::setFixedCornerRadius(std::optional<qreal> radius)
{
    if (m_fixedRadius == radius)
        return;
    m_fixedRadius = radius;
    applyTheme();
}

qreal NorCard::cornerRadius() const
{
    return m_fixedRadius ? *m_fixedRadius : SettingsTheme::of(this).cardCornerRadius;
}

void NorCard::applyTheme()
{
    m_shadow->setCornerRadius(cornerRadius());
    update();
}

void NorCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The shadow comes from the effect so that it may reach beyond the widget.
    CardSurface::paintNorCard(painter, rect(), SettingsTheme::of(this), cornerRadius(), false);
}
