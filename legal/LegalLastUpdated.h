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
    // The date as a long date without time in the locale's language and calendar
    // ("7. Dezember 2026"; "۱۸ اسفند ۱۴۰۴" under "fa_IR").
    static QString longDate(const QDate &date, const QLocale &locale);
    // The same for an ICU locale identifier, which may name a calendar
    // ("ja_JP@calendar=japanese").
    static QString longDate(const QDate &date, const QString &icuLocaleID);

protected:
    void applyEnvironment() override;

private:
    QDate m_date;
    QLabel *m_line = nullptr;
};
