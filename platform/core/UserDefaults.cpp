#include "UserDefaults.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

// QSettings treats "/" as a group separator and folds repeated slashes; escaping keeps
// every key exactly as given.
QString storedKey(const QString &key)
{
    QString escaped = key;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%25"));
    escaped.replace(QLatin1Char('/'), QStringLiteral("%2F"));
    escaped.replace(QLatin1Char('\\'), QStringLiteral("%5C"));
    return escaped;
}

std::unique_ptr<UserDefaults> &standardInstance()
{
    static std::unique_ptr<UserDefaults> instance;
    return instance;
}

} // namespace

UserDefaults &UserDefaults::standard()
{
    auto &instance = standardInstance();
    if (!instance)
        instance = std::make_unique<UserDefaults>(defaultFilePath());
    return *instance;
}

void UserDefaults::useFile(const QString &iniPath)
{
    standardInstance() = std::make_unique<UserDefaults>(iniPath);
}

QString UserDefaults::defaultFilePath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/VeloranceStudio/defaults.ini");
}

UserDefaults::UserDefaults(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

UserDefaults::~UserDefaults() = default;

bool UserDefaults::contains(const QString &key) const
{
    return m_settings->contains(storedKey(key));
}

QVariant UserDefaults::value(const QString &key) const
{
    return m_settings->value(storedKey(key));
}

std::optional<QString> UserDefaults::string(const QString &key) const
{
    const QVariant v = value(key);
    if (!v.isValid() || !v.canConvert<QString>())
        return std::nullopt;
    return v.toString();
}

std::optional<bool> UserDefaults::boolean(const QString &key) const
{
    const QVariant v = value(key);
    if (!v.isValid())
        return std::nullopt;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    const QString text = v.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<qint64> UserDefaults::integer(const QString &key) const
{
    const QVariant v = value(key);
    if (!v.isValid())
        return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toLongLong();
    default:
        break;
    }
    bool ok = false;
    const qint64 number = v.toString().trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

void UserDefaults::setValue(const QString &key, const QVariant &value)
{
    m_settings->setValue(storedKey(key), value);
    m_settings->sync();
}

void UserDefaults::remove(const QString &key)
{
    m_settings->remove(storedKey(key));
    m_settings->sync();
}

QString UserDefaults::filePath() const
{
    return m_settings->fileName();
}
