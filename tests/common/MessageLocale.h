#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <clocale>
#include <cstring>

// Sets the language the C library words its messages in (strerror, and so Qt's error texts)
// while it lives, as LANG would at start-up. "C": the C locale. Any other language: its
// locale where the system has generated one (fr -> fr_FR.UTF-8), else C.UTF-8 with LANGUAGE
// set, which gettext follows there too.
class MessageLocale final
{
public:
    explicit MessageLocale(const QByteArray &language)
        : m_hadLanguage(qEnvironmentVariableIsSet("LANGUAGE"))
        , m_language(qgetenv("LANGUAGE"))
        , m_locale(std::setlocale(LC_ALL, nullptr))
    {
        if (language == "C") {
            qunsetenv("LANGUAGE");
            std::setlocale(LC_ALL, "C");
            return;
        }
        qputenv("LANGUAGE", language);
        const QByteArray full = language + '_' + language.toUpper() + ".UTF-8";
        if (!std::setlocale(LC_ALL, full.constData()))
            std::setlocale(LC_ALL, "C.UTF-8");
    }
    ~MessageLocale()
    {
        if (m_hadLanguage)
            qputenv("LANGUAGE", m_language);
        else
            qunsetenv("LANGUAGE");
        std::setlocale(LC_ALL, m_locale.constData());
    }
    MessageLocale(const MessageLocale &) = delete;
    MessageLocale &operator=(const MessageLocale &) = delete;

    // The system's text of an error as the process words it now.
    static QString systemText(int code) { return QString::fromUtf8(std::strerror(code)); }
    // True when the system's texts are no longer the C locale's English.
    static bool speaksOtherThanEnglish() { return systemText(ENOTDIR) != QStringLiteral("Not a directory"); }

private:
    bool m_hadLanguage;
    QByteArray m_language;
    QByteArray m_locale;
};
