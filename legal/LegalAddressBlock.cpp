#include "LegalAddressBlock.h"

#include "LocalizedText.h"

#include <QLabel>
#include <QVBoxLayout>

LegalAddressBlock::LegalAddressBlock(const QStringList &lines, QWidget *parent)
    : LegalWidget(parent)
    , m_lines(lines)
{
    build();
}

LegalAddressBlock::LegalAddressBlock(const LegalEntity &entity, bool includeCompany, QWidget *parent)
    : LegalWidget(parent)
    , m_lines(lines(entity, includeCompany))
    , m_appendGermany(!entity.country.has_value())
{
    build();
}

QStringList LegalAddressBlock::lines(const LegalEntity &entity, bool includeCompany)
{
    QStringList result;
    if (includeCompany)
        result << entity.companyName;
    result << entity.personName << entity.street << entity.city;
    if (entity.country)
        result << *entity.country;
    return result;
}

void LegalAddressBlock::build()
{
    setObjectName(QStringLiteral("legalAddressBlock"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (int i = 0; i < m_lines.size(); ++i) {
        QLabel *label = LegalStyle::wrappingLabel(this);
        label->setFont(LegalStyle::font(TextStyle::Body, i == 0 ? QFont::DemiBold : QFont::Normal));
        label->setText(m_lines.at(i));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
        m_labels.append(label);
    }
    if (m_appendGermany) {
        m_germany = LegalStyle::wrappingLabel(this);
        m_germany->setObjectName(QStringLiteral("legalGermanyLine"));
        m_germany->setFont(LegalStyle::font(TextStyle::Body));
        layout->addWidget(m_germany);
    }
    watchEnvironment();
}

QStringList LegalAddressBlock::shownLines() const
{
    QStringList shown;
    for (const QLabel *label : m_labels)
        shown << label->text();
    if (m_germany)
        shown << m_germany->text();
    return shown;
}

void LegalAddressBlock::applyEnvironment()
{
    const SettingsTheme t = theme();
    for (int i = 0; i < m_labels.size(); ++i)
        LegalStyle::setColor(m_labels.at(i), i == 0 ? t.textPrimary : t.textSecondary);
    if (m_germany) {
        LegalStyle::setColor(m_germany, t.textSecondary);
        LegalStyle::setText(m_germany, legalString(QStringLiteral("legal.country.germany"), locale()));
    }
}
