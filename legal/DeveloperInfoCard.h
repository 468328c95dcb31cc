#pragma once

#include "LegalEntity.h"
#include "LegalWidget.h"

class LegalLinkRow;
class QLabel;
class SymbolLabel;

// The app-info page's maker card: made-by line, copyright, and optionally the web links.
class DeveloperInfoCard final : public LegalWidget
{
    Q_OBJECT

public:
    DeveloperInfoCard(const LegalEntity &entity, int copyrightYear, bool showWebsiteLinks, QWidget *parent = nullptr);

    int copyrightYear() const { return m_year; }
    // Shows another year in the copyright line, in place.
    void setCopyrightYear(int year);

    QString madeByText() const;
    QString copyrightText() const;
    QString madeWithLoveText() const;
    QList<LegalLinkRow *> linkRows() const { return m_links; }

    // "Copyright © <year> <company>": plain digits, never a range, not localised.
    static QString copyrightLine(int year, const QString &companyName);
    // The host name of a web address, or its whole text when it has none.
    static QString websiteValue(const QUrl &url);

protected:
    void applyEnvironment() override;

private:
    LegalEntity m_entity;
    int m_year = 0;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_madeBy = nullptr;
    QLabel *m_copyright = nullptr;
    QLabel *m_love = nullptr;
    QList<LegalLinkRow *> m_links;
};
