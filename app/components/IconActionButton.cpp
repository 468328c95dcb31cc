#include "IconActionButton.h"

#include <AppPalette.h>
#include <Spring.h>
#include <SurfacePainter.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

namespace {
constexpr int horizontalPadding = 12;
constexpr int verticalPadding = 6;
constexpr int iconSpacing = 6;
constexpr qreal hoverScale = 1.05;
const Spring hoverSpring{0.3, 0.65};

QFont labelFont()
{
    return TextStyles::font(TextStyle::Callout);
}

int symbolPixelSize()
{
    return TextStyles::pixelSize(TextStyle::Callout) + 2;
}
} // namespace

IconActionButton::IconActionButton(const QString &title, const QString &systemImage,
                                   std::optional<ButtonRole> role, std::function<void()> action,
                                   QWidget *parent)
    : QAbstractButton(parent)
    , m_systemImage(systemImage)
    , m_role(role)
    , m_action(std::move(action))
{
    setObjectName(QStringLiteral("iconActionButton"));
    setText(title);
    setToolTip(title);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover, true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_animation = new QVariantAnimation(this);
    m_animation->setDuration(hoverSpring.durationMs());
    m_animation->setEasingCurve(hoverSpring.easingCurve());
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_scale = value.toReal();
        update();
    });
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
}

void IconActionButton::setTitle(const QString &title)
{
    if (text() == title)
        return;
    setText(title);
    setToolTip(title);
    updateGeometry();
}

void IconActionButton::setSystemImage(const QString &systemImage)
{
    if (m_systemImage == systemImage)
        return;
    m_systemImage = systemImage;
    update();
}

void IconActionButton::setRole(std::optional<ButtonRole> role)
{
    if (m_role == role)
        return;
    m_role = role;
    update();
}

void IconActionButton::setAction(std::function<void()> action)
{
    m_action = std::move(action);
}

QColor IconActionButton::labelColor() const
{
    if (m_role == ButtonRole::Destructive)
        return AppPalette::destructive();
    return isEnabled() ? AppPalette::primaryText() : AppPalette::tertiaryText();
}

QSize IconActionButton::capsuleSize() const
{
    const QFontMetrics metrics(labelFont());
    const int width = symbolPixelSize() + iconSpacing + metrics.horizontalAdvance(text());
    const int height = std::max(metrics.height(), symbolPixelSize());
    return QSize(width + 2 * horizontalPadding, height + 2 * verticalPadding);
}

QSize IconActionButton::sizeHint() const
{
    // Room for the hover growth so the grown capsule is never clipped.
    const QSize capsule = capsuleSize();
    const int extraX = int(std::ceil(capsule.width() * (hoverScale - 1.0) / 2.0)) + 1;
    const int extraY = int(std::ceil(capsule.height() * (hoverScale - 1.0) / 2.0)) + 1;
    return capsule + QSize(2 * extraX, 2 * extraY);
}

void IconActionButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    const QSizeF capsule = capsuleSize();
    const QPointF centre = QRectF(rect()).center();
    painter.translate(centre);
    painter.scale(m_scale, m_scale);
    const QRectF body(-capsule.width() / 2.0, -capsule.height() / 2.0, capsule.width(), capsule.height());

    SurfacePainter::Style style;
    style.kind = SurfacePainter::Kind::RegularGlass;
    style.shadow = false;
    style.highlighted = m_hovered || isDown();
    SurfacePainter::paintCapsule(painter, body, style);
    if (hasFocus()) {
        painter.setPen(QPen(AppPalette::accent(), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(body.adjusted(1, 1, -1, -1), body.height() / 2 - 1, body.height() / 2 - 1);
    }

    const QColor color = labelColor();
    const QRectF content = body.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    const QRectF iconRect(content.left(), content.top(), symbolPixelSize(), content.height());
    painter.setPen(color);
    Symbols::draw(painter, iconRect, m_systemImage, symbolPixelSize());
    painter.setFont(labelFont());
    const QRectF textRect = content.adjusted(symbolPixelSize() + iconSpacing, 0, 0, 0);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text());
}

void IconActionButton::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void IconActionButton::leaveEvent(QEvent *event)
{
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void IconActionButton::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    const qreal target = hovered ? hoverScale : 1.0;
    m_animation->stop();
    if (!Motion::animationsEnabled()) {
        m_scale = target;
        update();
        return;
    }
    m_animation->setStartValue(m_scale);
    m_animation->setEndValue(target);
    m_animation->start();
}
