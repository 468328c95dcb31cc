#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

// The application's windows by identifier ("main", "about"). The open-window action opens
// the window of an identifier, or raises it when it is open already.
class WindowRegistry final
{
public:
    using Factory = std::function<QWidget *()>;

    static WindowRegistry &instance();

    void registerFactory(const QString &identifier, Factory factory);
    // Opens (or raises) the window; returns it, or nullptr for an unknown identifier.
    QWidget *open(const QString &identifier);
    QWidget *window(const QString &identifier) const;

private:
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_windows;
};
