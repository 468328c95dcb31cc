#pragma once

#include "LegalEntity.h"
#include "LegalPage.h"

#include <QDate>

#include <optional>

class LegalSection;

// The imprint: provider, contact, VAT number, responsible person, disclaimer and the
// date of the last revision, all from one entity.
class ImprintView final : public LegalPage
{
    Q_OBJECT

public:
    ImprintView(const LegalEntity &entity, const std::optional<QDate> &lastUpdated,
                QWidget *disclaimerOverride = nullptr, QWidget *parent = nullptr);

    LegalSection *section(const QString &objectName) const;

private:
    static QWidget *standardDisclaimer();
};
