#include "LegalText.h"

#include <QLabel>
#include <QVBoxLayout>

LegalText::LegalText(const LocalizedText &text, QWidget *parent)
    : LegalWidget(parent)
    , m_text(text)
    , m_label(LegalStyle::wrappingLabel(this))
{
    setObjectName(QStringLiteral("legalText"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_label->setFont(LegalStyle::font(TextStyle::Body));
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_label);
    watchEnvironment();
}

LegalText::LegalText(const QString &verbatim, QWidget *parent)
    : LegalText(LocalizedText::verbatim(verbatim), parent)
{
}

QString LegalText::shownText() const
{
    return m_label->text();
}

void LegalText::applyEnvironment()
{
    LegalStyle::setColor(m_label, theme().textSecondary);
    LegalStyle::setText(m_label, m_text.resolved(locale()));
}
