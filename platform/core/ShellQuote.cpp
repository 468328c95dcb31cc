#include "ShellQuote.h"

#include <algorithm>

namespace ShellQuote {
namespace {
bool isHarmless(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
        || u == u'_' || u == u'-' || u == u'.' || u == u'/' || u == u',' || u == u':' || u == u'+'
        || u == u'@' || u == u'%';
}
} // namespace

QString quote(const QString &value)
{
    QString clean = value;
    clean.remove(QChar(u'\0'));
    if (!clean.isEmpty() && std::all_of(clean.cbegin(), clean.cend(), isHarmless))
        return clean;
    QString quoted;
    quoted.reserve(clean.size() + 2);
    quoted += QLatin1Char('\'');
    for (QChar c : clean) {
        if (c == QLatin1Char('\''))
            quoted += QStringLiteral("'\\''");
        else
            quoted += c;
    }
    quoted += QLatin1Char('\'');
    return quoted;
}

QString join(const QStringList &values)
{
    QStringList quoted;
    quoted.reserve(values.size());
    for (const QString &value : values)
        quoted.append(quote(value));
    return quoted.join(QLatin1Char(' '));
}

} // namespace ShellQuote
