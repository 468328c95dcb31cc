#include "LegalTitledItem.h"

#include <QLabel>
#include <QVBoxLayout>

LegalTitledItem::LegalTitledItem(const LocalizedText &title, QWidget *content, QWidget *parent)
    : LegalWidget(parent)
    , m_titleText(title)
    , m_title(LegalStyle::wrappingLabel())
{
    setObjectName(QStringLiteral("legalTitledItem"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    m_title->setFont(LegalStyle::font(TextStyle::Body, QFont::DemiBold));
    column->addWidget(m_title);
    if (content)
        column->addWidget(content);
    watchEnvironment();
}

LegalTitledItem::LegalTitledItem(const QString &title, QWidget *content, QWidget *parent)
    : LegalTitledItem(LocalizedText::verbatim(title), content, parent)
{
}

QString LegalTitledItem::titleText() const
{
    return m_title->text();
}

void LegalTitledItem::applyEnvironment()
{
    LegalStyle::setColor(m_title, theme().textPrimary);
    LegalStyle::setText(m_title, m_titleText.resolved(locale()));
}
