#include "LocalizedText.h"

#include "LegalBundle.h"

LocalizedText LocalizedText::key(const QString &key, const QStringList &arguments)
{
    LocalizedText text;
    text.m_source = key;
    text.m_arguments = arguments;
    text.m_isKey = true;
    return text;
}

LocalizedText LocalizedText::verbatim(const QString &text)
{
    LocalizedText result;
    result.m_source = text;
    return result;
}

QString LocalizedText::resolved(const QLocale &locale) const
{
    if (!m_isKey)
        return m_source;
    return legalString(m_source, locale, m_arguments);
}

QString legalString(const QString &key, const QLocale &locale, const QStringList &arguments)
{
    const ResourceBundle bundle = legalBundle(locale);
    return arguments.isEmpty() ? bundle.localizedString(key) : bundle.localizedFormat(key, arguments);
}
