#pragma once

// A fresh home for one application test: user defaults and Application Support live in a
// temporary folder that goes away with it.

#include <AppPaths.h>
#include <UserDefaults.h>

#include <QTemporaryDir>

class TemporaryHome final
{
public:
    TemporaryHome()
    {
        UserDefaults::useFile(m_dir.filePath(QStringLiteral("defaults.ini")));
        AppPaths::overrideApplicationSupport(m_dir.filePath(QStringLiteral("support")));
    }
    ~TemporaryHome() { AppPaths::overrideApplicationSupport(QString()); }
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
