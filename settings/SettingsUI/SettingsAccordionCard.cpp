#include "SettingsAccordionCard.h"

#include <CardSurface.h>
#include <Spring.h>
#include <SymbolLabel.h>
#include <Symbols.h>

#include <QAbstractButton>
#include <QEvent>
#include <QGraphicsEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <QtMath>

namespace {

qreal lerp(qreal from, qreal to, qreal t)
{
    return from + (to - from) * t;
}

// The card's own surfaces: the header's and the body's, behind the children.
void paintLegacySurface(QPainter &painter, const QRectF &rect, const SettingsTheme &theme, qreal radius, bool shadow)
{
    if (theme.legacySurface == LegacyCardSurface::PlainWhite) {
        if (!shadow)
            CardSurface::paintPlainWhite(painter, rect, radius);
        return;
    }
    if (shadow)
        CardSurface::paintShadow(painter, rect, radius);
    else
        CardSurface::paintNorCard(painter, rect, theme, radius, false);
}

// Paints the card's shadows and body surface behind the card, reaching beyond its bounds
// so that the shadows are not cut at the card's edge.
class SurfaceEffect final : public QGraphicsEffect
{
public:
    SurfaceEffect(std::function<void(QPainter &)> paint, QObject *parent)
        : QGraphicsEffect(parent)
        , m_paint(std::move(paint))
    {
    }

    QRectF boundingRectFor(const QRectF &rect) const override
    {
        const qreal reach = CardSurface::shadowReach;
        return rect.adjusted(-reach, -reach, reach, reach + CardSurface::shadowOffsetY);
    }

protected:
    void draw(QPainter *painter) override
    {
        m_paint(*painter);
        drawSource(painter);
    }

private:
    std::function<void(QPainter &)> m_paint;
};

// The tappable header: its own surface, a white glow while pressed that fades out with an
// ease-out, and the row of icon, title and chevron.
class HeaderButton final : public QAbstractButton
{
public:
    explicit HeaderButton(QWidget *parent)
        : QAbstractButton(parent)
        , m_glowAnimation(new QVariantAnimation(this))
    {
        setObjectName(QStringLiteral("accordionHeader"));
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
        m_glowAnimation->setEasingCurve(QEasingCurve::OutCubic);
        connect(m_glowAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
            m_glow = v.toReal();
            update();
        });
        connect(this, &QAbstractButton::pressed, this, [this] { fadeGlow(true); });
        connect(this, &QAbstractButton::released, this, [this] { fadeGlow(false); });
    }

    qreal glow() const { return m_glow; }
    qreal cornerRadius = 50;

    QSize sizeHint() const override { return layout() ? layout()->sizeHint() : QSize(100, 40); }
    QSize minimumSizeHint() const override { return layout() ? layout()->minimumSize() : QSize(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const SettingsTheme theme = SettingsTheme::of(this);
        paintLegacySurface(painter, rect(), theme, cornerRadius, false);
        if (m_glow > 0.0) {
            painter.fillPath(CardSurface::continuousRect(rect(), cornerRadius),
                             QColor::fromRgbF(1, 1, 1, float(m_glow)));
        }
    }

private:
    void fadeGlow(bool pressed)
    {
        const SettingsTheme theme = SettingsTheme::of(this);
        const qreal target = pressed ? theme.pressGlow : 0.0;
        m_glowAnimation->stop();
        if (!Motion::animationsEnabled() || theme.pressFade <= 0) {
            m_glow = target;
            update();
            return;
        }
        m_glowAnimation->setDuration(qRound(theme.pressFade * 1000.0));
        m_glowAnimation->setStartValue(m_glow);
        m_glowAnimation->setEndValue(target);
        m_glowAnimation->start();
    }

    QVariantAnimation *m_glowAnimation;
    qreal m_glow = 0;
};

// The "chevron.up" symbol, turned about its centre.
class ChevronView final : public QWidget
{
public:
    explicit ChevronView(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("accordionChevron"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setRotation(qreal radians)
    {
        if (qFuzzyCompare(m_rotation + 1.0, radians + 1.0))
            return;
        m_rotation = radians;
        update();
    }
    qreal rotation() const { return m_rotation; }

    void setLook(qreal pixelSize, const QColor &color)
    {
        m_pixelSize = pixelSize;
        m_color = color;
        // The chevron's ink sits well inside its em square, so turning it never clips.
        const int side = qCeil(pixelSize);
        setFixedSize(side, side);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(QRectF(rect()).center());
        painter.rotate(qRadiansToDegrees(m_rotation));
        painter.setFont(Symbols::font(m_pixelSize));
        painter.setPen(m_color);
        const qreal half = width() / 2.0;
        const QRectF box(-half, -half, 2 * half, 2 * half);
        painter.drawText(box, Qt::AlignCenter, Symbols::ligature(QStringLiteral("chevron.up")));
    }

private:
    qreal m_rotation = M_PI;
    qreal m_pixelSize = 16;
    QColor m_color = Qt::white;
};

} // namespace

SettingsAccordionCard::SettingsAccordionCard(const QString &title, const std::optional<QString> &icon,
                                             SettingsCardStyle style, std::optional<Binding<bool>> isExpanded,
                                             ContentBuilder content, QWidget *parent)
    : QWidget(parent)
    , m_title(title)
    , m_icon(icon)
    , m_style(style)
    , m_external(std::move(isExpanded))
    , m_builder(std::move(content))
    , m_layoutAnimation(new QVariantAnimation(this))
    , m_bubbleAnimation(new QVariantAnimation(this))
    , m_fadeAnimation(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("settingsAccordionCard"));
    setAttribute(Qt::WA_TranslucentBackground);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    // z-order: the body bubble lies below the header.
    m_bubble = new QWidget(this);
    m_bubble->setObjectName(QStringLiteral("accordionBody"));

    auto *header = new HeaderButton(this);
    header->setAccessibleName(m_title);
    m_header = header;
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    if (m_icon) {
        m_iconLabel = new SymbolLabel(*m_icon, TextStyle::Body, header);
        m_iconLabel->setObjectName(QStringLiteral("accordionIcon"));
        m_iconLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_iconLabel->setForegroundRole(QPalette::WindowText);
        row->addWidget(m_iconLabel, 0, Qt::AlignVCenter);
    }
    m_titleLabel = new QLabel(m_title, header);
    m_titleLabel->setObjectName(QStringLiteral("accordionTitle"));
    m_titleLabel->setTextFormat(Qt::PlainText);
    m_titleLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_titleLabel->setForegroundRole(QPalette::WindowText);
    row->addWidget(m_titleLabel, 0, Qt::AlignVCenter);
    row->addStretch(1);
    m_chevron = new ChevronView(header);
    row->addWidget(m_chevron, 0, Qt::AlignVCenter);
    connect(header, &QAbstractButton::clicked, this, [this] { toggle(); });

    for (QVariantAnimation *animation : {m_layoutAnimation, m_bubbleAnimation}) {
        animation->setStartValue(0.0);
        animation->setEndValue(1.0);
    }
    connect(m_layoutAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_layoutProgress = v.toReal();
        relayout();
    });
    connect(m_bubbleAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_bubbleProgress = v.toReal();
        relayout();
    });
    connect(m_bubbleAnimation, &QVariantAnimation::finished, this, [this] {
        if (!m_shownExpanded)
            dropContent();
    });

    connect(m_fadeAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_contentOpacity = v.toReal();
        if (m_contentOpacity > 0.0 && m_contentPicture.isNull() && m_contentHost && m_shownExpanded) {
            // Taken once the body has nearly unfolded, at the content's final size.
            m_contentHost->ensurePolished();
            if (m_contentHost->layout())
                m_contentHost->layout()->activate();
            m_contentPicture = m_contentHost->grab();
        }
        update();
    });
    connect(m_fadeAnimation, &QVariantAnimation::finished, this, [this] {
        if (m_shownExpanded)
            endContentFade();
    });

    setGraphicsEffect(new SurfaceEffect([this](QPainter &painter) { paintSurfaces(painter); }, this));

    m_shownExpanded = this->isExpanded();
    m_layoutProgress = m_bubbleProgress = m_shownExpanded ? 1.0 : 0.0;
    // Shown open from the start: no transition, the content is simply there.
    if (m_shownExpanded)
        buildContent(false);
    m_bubble->setAttribute(Qt::WA_TransparentForMouseEvents, !m_shownExpanded);

    SettingsTheme::watch(this, [this] { applyTheme(); });
}

SettingsAccordionCard::SettingsAccordionCard(const QString &title, const std::optional<QString> &icon,
                                             SettingsCardStyle style, std::optional<Binding<bool>> isExpanded,
                                             SingleContentBuilder content, QWidget *parent)
    : SettingsAccordionCard(title, icon, style, std::move(isExpanded),
                            ContentBuilder([content = std::move(content)]() -> QWidgetList {
                                if (!content)
                                    return {};
                                QWidget *widget = content();
                                return widget ? QWidgetList{widget} : QWidgetList{};
                            }),
                            parent)
{
}

SettingsAccordionCard::~SettingsAccordionCard() = default;

bool SettingsAccordionCard::usesGlassLayout() const
{
    return SettingsCardStyles::usesGlassLayout(m_style, SettingsCardStyles::systemSupportsGlass());
}

bool SettingsAccordionCard::isExpanded() const
{
    if (m_external && m_external->get)
        return m_external->get();
    return m_local;
}

QAbstractButton *SettingsAccordionCard::header() const
{
    return m_header;
}

void SettingsAccordionCard::toggle()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    if (theme.hapticTap)
        theme.hapticTap();
    setExpanded(!isExpanded());
}

void SettingsAccordionCard::setExpanded(bool expanded)
{
    if (m_external) {
        if (m_external->set)
            m_external->set(expanded);
    } else {
        m_local = expanded;
    }
    syncFromBinding();
}

void SettingsAccordionCard::syncFromBinding(bool animated)
{
    const bool now = isExpanded();
    if (now == m_shownExpanded) {
        // Still moving towards this state: finish at once when asked to.
        if (!animated)
            animateTo(now, false);
        return;
    }
    m_shownExpanded = now;
    m_bubble->setAttribute(Qt::WA_TransparentForMouseEvents, !now);
    if (now)
        buildContent(animated);
    animateTo(now, animated);
    Q_EMIT expandedChanged(now);
}

AccordionMetrics SettingsAccordionCard::metrics() const
{
    return AccordionMetrics::compute(SettingsTheme::of(this), usesGlassLayout(), m_shownExpanded);
}

void SettingsAccordionCard::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    const AccordionMetrics m = AccordionMetrics::compute(theme, usesGlassLayout(), m_shownExpanded);

    auto *row = static_cast<QHBoxLayout *>(m_header->layout());
    row->setContentsMargins(m.headerPadding.toMargins());
    row->setSpacing(qRound(m.headerSpacing));
    if (m_iconLabel) {
        // Symbols of the icon font fill less of their box than text glyphs; a quarter
        // larger makes them match a 16-point symbol.
        m_iconLabel->setPixelSize(m.iconPixelSize * 1.25);
        m_iconLabel->setFixedWidth(qRound(m.iconFrameWidth));
        m_iconLabel->setColor(theme.accent);
    }
    m_titleLabel->setFont(m.titleFont);
    QPalette pal = m_titleLabel->palette();
    pal.setColor(QPalette::WindowText, theme.textPrimary);
    m_titleLabel->setPalette(pal);
    static_cast<ChevronView *>(m_chevron)->setLook(m.chevronFont.pixelSize() * 1.5, theme.textSecondary);
    static_cast<HeaderButton *>(m_header)->cornerRadius = m.headerCornerRadius;

    if (m_contentHost) {
        auto *stack = static_cast<QVBoxLayout *>(m_contentHost->layout());
        stack->setContentsMargins(m.contentPadding.toMargins());
        stack->setSpacing(qRound(m.contentSpacing));
    }
    relayout();
    update();
}

void SettingsAccordionCard::buildContent(bool fadeIn)
{
    if (m_contentHost) {
        // Reopened while the old content was still fading out: show that one again.
        endContentFade();
        return;
    }
    const SettingsTheme theme = SettingsTheme::of(this);
    const AccordionMetrics m = AccordionMetrics::compute(theme, usesGlassLayout(), true);
    auto *host = new QWidget(m_bubble);
    host->setObjectName(QStringLiteral("accordionContent"));
    auto *stack = new QVBoxLayout(host);
    stack->setContentsMargins(m.contentPadding.toMargins());
    stack->setSpacing(qRound(m.contentSpacing));
    const QWidgetList items = m_builder ? m_builder() : QWidgetList{};
    for (QWidget *item : items) {
        if (item)
            stack->addWidget(item);
    }
    host->installEventFilter(this);
    m_contentHost = host;
    if (fadeIn && Motion::animationsEnabled())
        fadeContentIn();
    else
        host->show();
    relayout();
}

void SettingsAccordionCard::fadeContentIn()
{
    // In after the body has mostly unfolded: linear over 0.3 s after a 0.6 s delay.
    m_fadeAnimation->stop();
    m_contentPicture = QPixmap();
    m_contentOpacity = 0;
    m_contentHost->hide();
    m_fadeAnimation->setDuration(900);
    m_fadeAnimation->setEasingCurve(QEasingCurve::Linear);
    m_fadeAnimation->setKeyValues({{0.0, 0.0}, {600.0 / 900.0, 0.0}, {1.0, 1.0}});
    m_fadeAnimation->start();
}

void SettingsAccordionCard::fadeContentOut()
{
    // Out quickly: linear over 0.1 s; dropped once the body has folded.
    m_fadeAnimation->stop();
    if (m_contentHost->isVisible() || m_contentPicture.isNull())
        m_contentPicture = m_contentHost->grab();
    m_contentHost->hide();
    m_fadeAnimation->setDuration(100);
    m_fadeAnimation->setEasingCurve(QEasingCurve::Linear);
    m_fadeAnimation->setKeyValues({{0.0, m_contentOpacity}, {1.0, 0.0}});
    m_fadeAnimation->start();
}

void SettingsAccordionCard::endContentFade()
{
    m_fadeAnimation->stop();
    m_contentPicture = QPixmap();
    m_contentOpacity = 1;
    if (m_contentHost)
        m_contentHost->show();
    update();
}

void SettingsAccordionCard::dropContent()
{
    m_fadeAnimation->stop();
    m_contentPicture = QPixmap();
    m_contentOpacity = 1;
    if (!m_contentHost)
        return;
    QWidget *host = m_contentHost;
    m_contentHost = nullptr;
    host->removeEventFilter(this);
    host->hide();
    host->deleteLater();
    relayout();
}

void SettingsAccordionCard::animateTo(bool expanded, bool animated)
{
    const bool glass = usesGlassLayout();
    const qreal target = expanded ? 1.0 : 0.0;
    m_layoutAnimation->stop();
    m_bubbleAnimation->stop();
    if (!animated || !Motion::animationsEnabled()) {
        m_layoutProgress = m_bubbleProgress = target;
        if (!expanded)
            dropContent();
        else if (m_contentHost)
            endContentFade();
        applyTheme();
        return;
    }
    const Spring tap = AccordionMetrics::tapSpring(glass);
    m_layoutAnimation->setDuration(tap.durationMs());
    m_layoutAnimation->setEasingCurve(tap.easingCurve());
    m_layoutAnimation->setStartValue(m_layoutProgress);
    m_layoutAnimation->setEndValue(target);

    const Spring morph = AccordionMetrics::morphSpring(glass);
    m_bubbleAnimation->setDuration(morph.durationMs());
    m_bubbleAnimation->setEasingCurve(morph.easingCurve());
    m_bubbleAnimation->setStartValue(m_bubbleProgress);
    m_bubbleAnimation->setEndValue(target);

    if (!expanded && m_contentHost)
        fadeContentOut();
    applyTheme();
    m_layoutAnimation->start();
    m_bubbleAnimation->start();
}

qreal SettingsAccordionCard::stackSpacing() const
{
    const bool glass = usesGlassLayout();
    return lerp(0.0, glass ? 15.0 : 20.0, m_layoutProgress);
}

qreal SettingsAccordionCard::outerVertical() const
{
    return lerp(4.0, 10.0, m_layoutProgress);
}

int SettingsAccordionCard::contentHeightFor(int width) const
{
    if (!m_contentHost || width <= 0)
        return 0;
    if (m_contentHost->hasHeightForWidth())
        return m_contentHost->heightForWidth(width);
    return m_contentHost->sizeHint().height();
}

int SettingsAccordionCard::heightForWidth(int width) const
{
    const qreal inner = qMax(0, width - 32);
    const qreal headerHeight = m_header->sizeHint().height();
    const qreal bodyHeight = contentHeightFor(int(inner)) * qBound<qreal>(0.0, m_bubbleProgress, 1.5);
    return qCeil(2 * outerVertical() + headerHeight + stackSpacing() + qMax<qreal>(0.0, bodyHeight));
}

QSize SettingsAccordionCard::sizeHint() const
{
    int width = m_header->sizeHint().width();
    if (m_contentHost)
        width = qMax(width, m_contentHost->sizeHint().width());
    width += 32;
    return QSize(width, heightForWidth(width));
}

QSize SettingsAccordionCard::minimumSizeHint() const
{
    int width = m_header->minimumSizeHint().width();
    if (m_contentHost)
        width = qMax(width, m_contentHost->minimumSizeHint().width());
    width += 32;
    return QSize(width, heightForWidth(width));
}

void SettingsAccordionCard::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

bool SettingsAccordionCard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_contentHost && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        relayout();
    }
    return QWidget::eventFilter(watched, event);
}

qreal SettingsAccordionCard::bubbleCornerRadius() const
{
    return lerp(50.0, usesGlassLayout() ? 26.0 : 10.0, m_bubbleProgress);
}

double SettingsAccordionCard::bubbleOpacity() const
{
    if (usesGlassLayout())
        return 1.0;
    return qBound(0.0, m_bubbleProgress, 1.0);
}

void SettingsAccordionCard::relayout()
{
    const qreal w = width();
    const qreal inner = qMax<qreal>(0.0, w - 32);
    const qreal top = outerVertical();
    const qreal headerHeight = m_header->sizeHint().height();
    m_headerRect = QRectF(16, top, inner, headerHeight);
    m_header->setGeometry(m_headerRect.toRect());

    const int contentHeight = contentHeightFor(int(inner));
    const qreal bodyTop = m_headerRect.bottom() + stackSpacing();
    const QRectF open(16, bodyTop, inner, contentHeight);
    const qreal collapsedWidth = qMin<qreal>(150.0, inner);
    const QRectF collapsed(16 + (inner - collapsedWidth) / 2.0 + 95.0, m_headerRect.bottom() - 45.0, collapsedWidth, 0.0);
    const qreal t = m_bubbleProgress;
    m_bubbleRect = QRectF(lerp(collapsed.x(), open.x(), t), lerp(collapsed.y(), open.y(), t),
                          qMax<qreal>(0.0, lerp(collapsed.width(), open.width(), t)),
                          qMax<qreal>(0.0, lerp(collapsed.height(), open.height(), t)));
    m_bubble->setGeometry(m_bubbleRect.toAlignedRect());
    if (m_contentHost)
        m_contentHost->setGeometry(0, 0, int(inner), contentHeight);

    if (auto *chevron = static_cast<ChevronView *>(m_chevron))
        chevron->setRotation(lerp(M_PI, 0.0, m_layoutProgress));

    const int wanted = heightForWidth(int(w));
    if (wanted != height())
        updateGeometry();
    update();
}

void SettingsAccordionCard::paintSurfaces(QPainter &painter)
{
    const SettingsTheme theme = SettingsTheme::of(this);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The body slides behind the header: none of it shows through the header's surface.
    QPainterPath outsideHeader;
    outsideHeader.addRect(QRectF(rect()).adjusted(-CardSurface::shadowReach, -CardSurface::shadowReach,
                                                  CardSurface::shadowReach, CardSurface::shadowReach + CardSurface::shadowOffsetY));
    outsideHeader = outsideHeader.subtracted(CardSurface::continuousRect(m_headerRect, 50.0));
    painter.setClipPath(outsideHeader, Qt::IntersectClip);
    const double opacity = bubbleOpacity();
    if (opacity > 0.0 && m_bubbleRect.height() > 0.5) {
        painter.setOpacity(opacity);
        paintLegacySurface(painter, m_bubbleRect, theme, bubbleCornerRadius(), true);
        paintLegacySurface(painter, m_bubbleRect, theme, bubbleCornerRadius(), false);
        painter.setOpacity(1.0);
    }
    if (!m_contentPicture.isNull() && m_contentOpacity > 0.0 && !m_bubbleRect.isEmpty()) {
        painter.save();
        painter.setClipPath(CardSurface::continuousRect(m_bubbleRect, bubbleCornerRadius()));
        painter.setOpacity(m_contentOpacity);
        painter.drawPixmap(m_bubbleRect.topLeft(), m_contentPicture);
        painter.restore();
    }
    // The header's own widget draws its surface; its shadow lies over the body's.
    paintLegacySurface(painter, m_headerRect, theme, 50.0, true);
    painter.restore();
}
