#include "NodeBadge.h"

#include "BusyIndicator.h"

#include <AppPalette.h>
#include <Spring.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QLabel>
#include <QPainter>
#include <QTextLayout>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {

constexpr int titleMaxLines = 2;
constexpr int busyDiameter = 16;

// The title broken into at most two lines of the column's width; the rest is elided.
QString fittedTitle(const QString &title, const QFont &font, int width)
{
    QTextLayout layout(title, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == titleMaxLines - 1) {
            const QString rest = title.mid(line.textStart());
            lines << QFontMetrics(font).elidedText(rest.simplified(), Qt::ElideRight, width);
            break;
        }
        lines << title.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

} // namespace

// ---------------------------------------------------------------------------------------

NodeConnector::NodeConnector(QWidget *parent)
    : QWidget(parent)
    , m_color(AppPalette::quaternaryFill())
    , m_animation(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("nodeConnector"));
    setFixedSize(26, 2);
    const Spring spring{0.5, 0.85};
    m_animation->setDuration(spring.durationMs());
    m_animation->setEasingCurve(spring.easingCurve());
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_color = value.value<QColor>();
        update();
    });
}

void NodeConnector::setFilled(bool filled)
{
    if (filled == m_filled)
        return;
    m_filled = filled;
    const QColor target = filled ? AppPalette::accent() : AppPalette::quaternaryFill();
    m_animation->stop();
    if (!Motion::animationsEnabled() || !isVisible()) {
        m_color = target;
        update();
        return;
    }
    m_animation->setStartValue(m_color);
    m_animation->setEndValue(target);
    m_animation->start();
}

void NodeConnector::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
}

// ---------------------------------------------------------------------------------------

class NodeBadge::Circle final : public QWidget
{
public:
    explicit Circle(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("nodeCircle"));
        setFixedSize(circleDiameter, circleDiameter);
    }

    void setState(RunNodeState state)
    {
        m_state = state;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        QColor fill;
        QString symbol;
        QColor symbolColor = Qt::white;
        switch (m_state) {
        case RunNodeState::Pending:
            fill = AppPalette::quaternaryFill();
            symbol = QStringLiteral("circle.dashed");
            symbolColor = AppPalette::secondaryText();
            break;
        case RunNodeState::Running:
            fill = AppPalette::accent();
            fill.setAlphaF(0.25f);
            break;
        case RunNodeState::Done:
            fill = AppPalette::accent();
            symbol = QStringLiteral("checkmark");
            break;
        case RunNodeState::Failed:
            fill = AppPalette::destructive();
            symbol = QStringLiteral("xmark");
            break;
        }
        painter.setBrush(fill);
        painter.drawEllipse(QRectF(rect()));
        if (symbol.isEmpty())
            return; // the busy indicator sits on top
        painter.setFont(Symbols::font(TextStyles::pixelSize(TextStyle::Title3)));
        painter.setPen(symbolColor);
        painter.drawText(rect(), Qt::AlignCenter, Symbols::ligature(symbol));
    }

private:
    RunNodeState m_state = RunNodeState::Pending;
};

NodeBadge::NodeBadge(const QString &title, RunNodeState state, QWidget *parent)
    : QWidget(parent)
    , m_title(title)
    , m_state(state)
{
    setObjectName(QStringLiteral("nodeBadge"));
    setFixedWidth(columnWidth);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    m_circle = new Circle(this);
    layout->addWidget(m_circle, 0, Qt::AlignHCenter);

    auto *busyLayout = new QVBoxLayout(m_circle);
    busyLayout->setContentsMargins(0, 0, 0, 0);
    m_busy = new BusyIndicator(busyDiameter, m_circle);
    m_busy->setColor(AppPalette::accent());
    busyLayout->addWidget(m_busy, 0, Qt::AlignCenter);

    const QFont font = TextStyles::font(TextStyle::Caption);
    m_titleLabel = new QLabel(fittedTitle(title, font, columnWidth), this);
    m_titleLabel->setObjectName(QStringLiteral("nodeTitle"));
    m_titleLabel->setTextFormat(Qt::PlainText);
    m_titleLabel->setFont(font);
    m_titleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_titleLabel->setFixedWidth(columnWidth);
    m_titleLabel->setToolTip(title);
    const int lines = std::max<qsizetype>(1, m_titleLabel->text().count(QLatin1Char('\n')) + 1);
    m_titleLabel->setFixedHeight(lines * QFontMetrics(font).lineSpacing());
    layout->addWidget(m_titleLabel, 0, Qt::AlignHCenter);
    layout->addStretch(1);

    m_circle->setState(state);
    m_busy->setVisible(state == RunNodeState::Running);
}

void NodeBadge::setState(RunNodeState state)
{
    if (state == m_state)
        return;
    m_state = state;
    m_circle->setState(state);
    m_busy->setVisible(state == RunNodeState::Running);
}
