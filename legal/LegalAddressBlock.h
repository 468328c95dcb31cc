#pragma once

#include "LegalEntity.h"
#include "LegalWidget.h"

#include <QStringList>

class QLabel;
class QVBoxLayout;

// Postal address lines: the first emphasised, the rest secondary, and for an entity
// without a country the localised name of Germany as the last line.
class LegalAddressBlock final : public LegalWidget
{
    Q_OBJECT

public:
    explicit LegalAddressBlock(const QStringList &lines, QWidget *parent = nullptr);
    LegalAddressBlock(const LegalEntity &entity, bool includeCompany, QWidget *parent = nullptr);

    // The address lines of an entity (company when asked, person, street, city, country).
    static QStringList lines(const LegalEntity &entity, bool includeCompany);

    QStringList addressLines() const { return m_lines; }
    bool appendsLocalizedGermany() const { return m_appendGermany; }
    // Every line as shown, the Germany line included.
    QStringList shownLines() const;

protected:
    void applyEnvironment() override;

private:
    void build();

    QStringList m_lines;
    bool m_appendGermany = false;
    QList<QLabel *> m_labels;
    QLabel *m_germany = nullptr;
};
