#include "DeveloperInfoCard.h"

#include "LegalLinkRow.h"
#include "LocalizedText.h"

#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

DeveloperInfoCard::DeveloperInfoCard(const LegalEntity &entity, int copyrightYear, bool showWebsiteLinks, QWidget *parent)
    : LegalWidget(parent)
    , m_entity(entity)
    , m_year(copyrightYear)
    , m_icon(new SymbolLabel(QStringLiteral("person.crop.circle.fill"), TextStyle::Title3))
    , m_madeBy(LegalStyle::wrappingLabel())
    , m_copyright(LegalStyle::wrappingLabel())
    , m_love(LegalStyle::wrappingLabel())
{
    setObjectName(QStringLiteral("developerInfoCard"));
    QVBoxLayout *column = LegalStyle::cardColumn(this, QMargins(20, 20, 20, 20), 16);

    auto *madeByRow = new QHBoxLayout;
    madeByRow->setSpacing(8);
    madeByRow->addStretch(1);
    madeByRow->addWidget(m_icon);
    m_madeBy->setFont(LegalStyle::font(TextStyle::Headline, QFont::DemiBold));
    m_madeBy->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    m_madeBy->setWordWrap(true); // a new policy drops the label's height-for-width; this restores it
    madeByRow->addWidget(m_madeBy);
    madeByRow->addStretch(1);
    column->addLayout(madeByRow);

    auto *lines = new QVBoxLayout;
    lines->setSpacing(8);
    for (QLabel *label : {m_copyright, m_love}) {
        label->setFont(LegalStyle::font(TextStyle::Body));
        label->setAlignment(Qt::AlignHCenter);
        lines->addWidget(label);
    }
    m_copyright->setObjectName(QStringLiteral("copyrightLine"));
    column->addLayout(lines);

    if (showWebsiteLinks) {
        auto *links = new QVBoxLayout;
        links->setSpacing(12);
        m_links << new LegalLinkRow(QStringLiteral("globe"), LocalizedText::key(QStringLiteral("legal.contact.website")),
                                    entity.websiteDisplay, entity.website);
        if (entity.personWebsite) {
            m_links << new LegalLinkRow(QStringLiteral("person.crop.square"), LocalizedText::verbatim(entity.personName),
                                        websiteValue(*entity.personWebsite), *entity.personWebsite);
        }
        for (LegalLinkRow *row : m_links)
            links->addWidget(row);
        column->addLayout(links);
    }
    watchEnvironment();
}

QString DeveloperInfoCard::copyrightLine(int year, const QString &companyName)
{
    return QStringLiteral("Copyright © ") + QString::number(year) + QLatin1Char(' ') + companyName;
}

QString DeveloperInfoCard::websiteValue(const QUrl &url)
{
    return url.host().isEmpty() ? url.toString() : url.host();
}

void DeveloperInfoCard::setCopyrightYear(int year)
{
    if (m_year == year)
        return;
    m_year = year;
    LegalStyle::setText(m_copyright, copyrightLine(m_year, m_entity.companyName));
}

QString DeveloperInfoCard::madeByText() const { return m_madeBy->text(); }
QString DeveloperInfoCard::copyrightText() const { return m_copyright->text(); }
QString DeveloperInfoCard::madeWithLoveText() const { return m_love->text(); }

void DeveloperInfoCard::applyEnvironment()
{
    const SettingsTheme t = theme();
    const QLocale l = locale();
    m_icon->setColor(t.accent);
    LegalStyle::setColor(m_madeBy, t.textPrimary);
    LegalStyle::setColor(m_copyright, t.textSecondary);
    LegalStyle::setColor(m_love, t.textSecondary);
    LegalStyle::setText(m_madeBy, legalString(QStringLiteral("appinfo.madeBy %@"), l, {m_entity.companyName}));
    LegalStyle::setText(m_copyright, copyrightLine(m_year, m_entity.companyName));
    LegalStyle::setText(m_love, legalString(QStringLiteral("appinfo.madeWithLove"), l));
}
