#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;

// The user's defaults: a flat key-value store over an INI file in the user's config
// folder. Keys are used exactly as given ("buildSteps.Recorder: My App"); "/" and ":" in a
// key round-trip. Every write reaches the file at once.
class UserDefaults final
{
public:
    static UserDefaults &standard();
    // Points the standard defaults at another file (tests use a temporary one).
    static void useFile(const QString &iniPath);
    static QString defaultFilePath();

    explicit UserDefaults(const QString &iniPath);
    ~UserDefaults();
    UserDefaults(const UserDefaults &) = delete;
    UserDefaults &operator=(const UserDefaults &) = delete;

    bool contains(const QString &key) const;
    QVariant value(const QString &key) const;
    std::optional<QString> string(const QString &key) const;
    std::optional<bool> boolean(const QString &key) const;
    // Only a stored whole number (or text holding one) counts; anything else gives nothing.
    std::optional<qint64> integer(const QString &key) const;

    void setValue(const QString &key, const QVariant &value);
    void remove(const QString &key);
    QString filePath() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
