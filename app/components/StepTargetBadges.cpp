#include "StepTargetBadges.h"

#include <AppPalette.h>
#include <PercentText.h>
#include <SymbolLabel.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

// One tinted badge: a symbol and a short text on a rounded background of the tint colour.
class TargetBadge final : public QWidget
{
public:
    TargetBadge(const QString &systemImage, bool monospacedDigits, QWidget *parent)
        : QWidget(parent)
    {
        m_icon = new SymbolLabel(systemImage, TextStyle::Callout, this);
        m_text = new QLabel(this);
        m_text->setObjectName(QStringLiteral("badgeText"));
        m_text->setFont(monospacedDigits ? TextStyles::monospaced(TextStyle::Callout, QFont::DemiBold)
                                         : TextStyles::font(TextStyle::Callout, QFont::DemiBold));
        m_text->setTextInteractionFlags(Qt::NoTextInteraction);
        auto *layout = new QHBoxLayout(this);
        layout->setContentsMargins(9, 4, 9, 4);
        layout->setSpacing(5);
        layout->addWidget(m_icon);
        layout->addWidget(m_text);
        setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    }

    QString text() const { return m_text->text(); }
    void setText(const QString &text)
    {
        if (m_text->text() != text)
            m_text->setText(text);
    }
    void setTint(const QColor &tint)
    {
        m_tint = tint;
        m_icon->setColor(tint);
        QPalette palette = m_text->palette();
        palette.setColor(QPalette::WindowText, tint);
        m_text->setPalette(palette);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, true);
        QColor background = m_tint;
        background.setAlphaF(0.12f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(background);
        painter.drawRoundedRect(QRectF(rect()), 7, 7);
    }

private:
    SymbolLabel *m_icon = nullptr;
    QLabel *m_text = nullptr;
    QColor m_tint;
};

StepTargetBadges::StepTargetBadges(const QString &label, const std::optional<NormPoint> &point, QWidget *parent)
    : QWidget(parent)
    , m_label(label)
    , m_point(point)
    , m_tint(AppPalette::accent())
{
    setObjectName(QStringLiteral("stepTargetBadges"));

    m_labelBadge = new TargetBadge(QStringLiteral("text.alignleft"), false, this);
    m_labelBadge->setObjectName(QStringLiteral("labelBadge"));
    m_pointBadge = new TargetBadge(QStringLiteral("scope"), true, this);
    m_pointBadge->setObjectName(QStringLiteral("pointBadge"));
    m_noTarget = new QLabel(noTargetText(), this);
    m_noTarget->setObjectName(QStringLiteral("noTargetLabel"));
    m_noTarget->setFont(TextStyles::font(TextStyle::Caption));
    QPalette palette = m_noTarget->palette();
    palette.setColor(QPalette::WindowText, AppPalette::secondaryText());
    m_noTarget->setPalette(palette);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_labelBadge);
    layout->addWidget(m_pointBadge);
    layout->addWidget(m_noTarget);
    layout->addStretch(1);

    m_labelBadge->setTint(m_tint);
    m_pointBadge->setTint(m_tint);
    refresh();
}

void StepTargetBadges::setLabel(const QString &label)
{
    if (m_label == label)
        return;
    m_label = label;
    refresh();
}

void StepTargetBadges::setPoint(const std::optional<NormPoint> &point)
{
    if (m_point == point)
        return;
    m_point = point;
    refresh();
}

void StepTargetBadges::setTarget(const QString &label, const std::optional<NormPoint> &point)
{
    if (m_label == label && m_point == point)
        return;
    m_label = label;
    m_point = point;
    refresh();
}

void StepTargetBadges::setTintColor(const QColor &tint)
{
    if (m_tint == tint)
        return;
    m_tint = tint;
    m_labelBadge->setTint(tint);
    m_pointBadge->setTint(tint);
}

QString StepTargetBadges::pointText(const NormPoint &point)
{
    return percentText(point.x) + QStringLiteral(" \u00B7 ") + percentText(point.y);
}

QString StepTargetBadges::noTargetText()
{
    return QStringLiteral("kein Ziel erfasst");
}

void StepTargetBadges::refresh()
{
    const bool hasLabel = !m_label.isEmpty();
    m_labelBadge->setText(m_label);
    m_labelBadge->setVisible(hasLabel);
    if (m_point)
        m_pointBadge->setText(pointText(*m_point));
    m_pointBadge->setVisible(m_point.has_value());
    m_noTarget->setVisible(!hasLabel && !m_point);
}
