#pragma once

#include "LegalWidget.h"

#include <QDate>

class QLabel;

// The footer of a legal page: a divider and "<Zuletzt aktualisiert>: <long date>".
class LegalLastUpdated final : public LegalWidget
{
    Q_OBJECT

public:
    explicit LegalLastUpdated(const QDate &date, QWidget *parent = nullptr);

    QString lineText() const;
    // The date as a long date without time in the locale's language ("7. Dezember 2026").
    static QString longDate(const QDate &date, const QLocale &locale);

protected:
    void applyEnvironment() override;

private:
    QDate m_date;
    QLabel *m_line = nullptr;
};
