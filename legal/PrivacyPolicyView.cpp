#include "PrivacyPolicyView.h"

#include "LegalLastUpdated.h"
#include "LegalLinkRow.h"
#include "LegalPageHeader.h"
#include "LegalSection.h"
#include "LegalText.h"

#include <QVBoxLayout>

PrivacyPolicyView::PrivacyPolicyView(const LegalEntity &entity, const std::optional<QDate> &lastUpdated,
                                     QWidget *appSections, QWidget *parent)
    : LegalPage(QStringLiteral("privacy.title"), parent)
{
    setObjectName(QStringLiteral("privacyPolicyView"));
    addPart(new LegalPageHeader(QStringLiteral("lock.shield.fill"), LocalizedText::key(QStringLiteral("privacy.header.tagline"))));
    addPart(appSections);

    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(new LegalText(LocalizedText::key(QStringLiteral("privacy.contact.intro"))));
    m_contactRow = new LegalLinkRow(QStringLiteral("envelope.fill"), LocalizedText::key(QStringLiteral("legal.contact.email")),
                                    entity.effectivePrivacyEmail(), entity.privacyEmailURL());
    layout->addWidget(m_contactRow);
    m_contact = new LegalSection(QStringLiteral("envelope.fill"), LocalizedText::key(QStringLiteral("legal.section.contact")), content);
    m_contact->setObjectName(QStringLiteral("contactSection"));
    addPart(m_contact);

    if (lastUpdated)
        addPart(new LegalLastUpdated(*lastUpdated));
    watchEnvironment();
}
