#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// A text of the legal pages: a localisation key (read through the legal bundle of the
// page's locale, with "%@" arguments), or a string shown verbatim.
class LocalizedText
{
public:
    LocalizedText() = default;
    static LocalizedText key(const QString &key, const QStringList &arguments = {});
    static LocalizedText verbatim(const QString &text);

    bool isKey() const { return m_isKey; }
    QString source() const { return m_source; }
    QString resolved(const QLocale &locale) const;

    bool operator==(const LocalizedText &) const = default;

private:
    QString m_source;
    QStringList m_arguments;
    bool m_isKey = false;
};

// Shorthand used by the pages: the key in the legal bundle of `locale`.
QString legalString(const QString &key, const QLocale &locale, const QStringList &arguments = {});
