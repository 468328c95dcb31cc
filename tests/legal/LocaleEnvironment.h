#pragma once

// Sets the locale variables a process reads its date locale from (LC_ALL, LC_TIME, LANG)
// for the life of the object, and puts the old values back after. An empty value unsets.

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <optional>

class LocaleEnvironment final
{
public:
    LocaleEnvironment(const QByteArray &all, const QByteArray &time = {}, const QByteArray &lang = {})
    {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (qEnvironmentVariableIsSet(names[i]))
                m_saved[i] = qgetenv(names[i]);
        }
        set({all, time, lang});
    }
    ~LocaleEnvironment()
    {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (m_saved[i])
                qputenv(names[i], *m_saved[i]);
            else
                qunsetenv(names[i]);
        }
    }
    LocaleEnvironment(const LocaleEnvironment &) = delete;
    LocaleEnvironment &operator=(const LocaleEnvironment &) = delete;

private:
    static constexpr std::array<const char *, 3> names{"LC_ALL", "LC_TIME", "LANG"};

    static void set(const std::array<QByteArray, 3> &values)
    {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (values[i].isEmpty())
                qunsetenv(names[i]);
            else
                qputenv(names[i], values[i]);
        }
    }

    std::array<std::optional<QByteArray>, 3> m_saved;
};
