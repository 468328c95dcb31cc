#include "LegalLinkRow.h"

#include "LegalEnvironment.h"

#include <SymbolLabel.h>

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace LegalLinkOpener {
namespace {
Opener &current()
{
    static Opener opener = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    return opener;
}
} // namespace

void setOpener(Opener opener)
{
    current() = std::move(opener);
}

void open(const QUrl &url)
{
    if (current())
        current()(url);
}
} // namespace LegalLinkOpener

LegalLinkRow::LegalLinkRow(const QString &icon, const LocalizedText &label, const QString &value,
                           const QUrl &destination, QWidget *parent)
    : LegalWidget(parent)
    , m_label(label)
    , m_value(value)
    , m_destination(destination)
    , m_icon(new SymbolLabel(icon, TextStyle::Body))
    , m_labelLabel(LegalStyle::plainLabel())
    , m_valueLabel(LegalStyle::wrappingLabel())
    , m_arrow(new SymbolLabel(QStringLiteral("arrow.up.right"), TextStyle::Caption))
{
    setObjectName(QStringLiteral("legalLinkRow"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);
    m_icon->setFixedWidth(24);
    row->addWidget(m_icon);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_labelLabel->setFont(LegalStyle::font(TextStyle::Caption));
    m_valueLabel->setFont(LegalStyle::font(TextStyle::Body));
    m_valueLabel->setText(m_value);
    m_valueLabel->setObjectName(QStringLiteral("legalLinkValue"));
    texts->addWidget(m_labelLabel);
    texts->addWidget(m_valueLabel);
    row->addLayout(texts, 1);
    m_arrow->setObjectName(QStringLiteral("legalLinkArrow"));
    row->addWidget(m_arrow);
    watchEnvironment();
}

bool LegalLinkRow::isLinked() const
{
    return !LegalEnvironment::contactDisplayOnly(this);
}

QString LegalLinkRow::labelText() const
{
    return m_labelLabel->text();
}

QString LegalLinkRow::valueText() const
{
    return m_valueLabel->text();
}

bool LegalLinkRow::showsArrow() const
{
    return !m_arrow->isHidden();
}

QColor LegalLinkRow::valueColor() const
{
    return m_valueLabel->palette().color(QPalette::WindowText);
}

void LegalLinkRow::applyEnvironment()
{
    const SettingsTheme t = theme();
    const bool linked = isLinked();
    m_icon->setColor(t.accent);
    m_arrow->setColor(t.accent);
    m_arrow->setVisible(linked);
    LegalStyle::setColor(m_labelLabel, t.textSecondary);
    LegalStyle::setColor(m_valueLabel, linked ? t.accent : t.textPrimary);
    LegalStyle::setText(m_labelLabel, m_label.resolved(locale()));
    setCursor(linked ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setFocusPolicy(linked ? Qt::StrongFocus : Qt::NoFocus);
    setToolTip(linked ? m_destination.toString() : QString());
    update();
}

void LegalLinkRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = theme().accent;
    fill.setAlphaF(backgroundOpacity());
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 8, 8);
    painter.fillPath(path, fill);
    if (hasFocus()) {
        painter.setPen(QPen(theme().accent, 1.5));
        painter.drawPath(path);
    }
}

void LegalLinkRow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        activate();
    LegalWidget::mouseReleaseEvent(event);
}

void LegalLinkRow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        activate();
        return;
    }
    LegalWidget::keyPressEvent(event);
}

void LegalLinkRow::activate()
{
    if (!isLinked())
        return;
    Q_EMIT activated(m_destination);
    LegalLinkOpener::open(m_destination);
}
