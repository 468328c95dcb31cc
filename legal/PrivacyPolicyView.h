#pragma once

#include "LegalEntity.h"
#include "LegalPage.h"

#include <QDate>

#include <optional>

class LegalLinkRow;
class LegalSection;

// The privacy-policy frame around a host's own sections: header, the sections, the
// privacy contact and, when dated, the last-updated line.
class PrivacyPolicyView final : public LegalPage
{
    Q_OBJECT

public:
    PrivacyPolicyView(const LegalEntity &entity, const std::optional<QDate> &lastUpdated, QWidget *appSections,
                      QWidget *parent = nullptr);

    LegalSection *contactSection() const { return m_contact; }
    LegalLinkRow *contactRow() const { return m_contactRow; }

private:
    LegalSection *m_contact = nullptr;
    LegalLinkRow *m_contactRow = nullptr;
};
