#include "GlassCard.h"

#include <AppPalette.h>
#include <SymbolLabel.h>
#include <TextStyle.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

GlassCard::GlassCard(const QString &title, const QString &systemImage, QWidget *content, QWidget *parent)
    : GlassSurface(parent)
{
    setObjectName(QStringLiteral("glassCard"));
    setCornerRadius(16);
    setPadding(16);

    m_icon = new SymbolLabel(systemImage, TextStyle::Headline, this);
    m_icon->setObjectName(QStringLiteral("glassCardIcon"));
    m_icon->setColor(AppPalette::accent());
    m_title = new QLabel(title, this);
    m_title->setObjectName(QStringLiteral("glassCardTitle"));
    m_title->setFont(TextStyles::font(TextStyle::Headline));

    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(8);
    header->addWidget(m_icon);
    header->addWidget(m_title, 1);

    m_layout = new QVBoxLayout(this);
    m_layout->setSpacing(12);
    m_layout->addLayout(header);
    setContent(content);
}

QString GlassCard::title() const
{
    return m_title->text();
}

QString GlassCard::systemImage() const
{
    return m_icon->symbolName();
}

void GlassCard::setTitle(const QString &title)
{
    if (m_title->text() != title)
        m_title->setText(title);
}

void GlassCard::setSystemImage(const QString &systemImage)
{
    m_icon->setSymbolName(systemImage);
}

void GlassCard::setContent(QWidget *content)
{
    if (content == m_content)
        return;
    delete m_content;
    m_content = content;
    if (m_content)
        m_layout->addWidget(m_content, 1);
}
