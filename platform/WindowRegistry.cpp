#include "WindowRegistry.h"

WindowRegistry &WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::registerFactory(const QString &identifier, Factory factory)
{
    m_factories.insert(identifier, std::move(factory));
}

QWidget *WindowRegistry::open(const QString &identifier)
{
    QPointer<QWidget> &existing = m_windows[identifier];
    if (!existing) {
        const auto factory = m_factories.constFind(identifier);
        if (factory == m_factories.constEnd() || !*factory)
            return nullptr;
        existing = (*factory)();
        if (!existing)
            return nullptr;
    }
    existing->show();
    existing->raise();
    existing->activateWindow();
    return existing;
}

QWidget *WindowRegistry::window(const QString &identifier) const
{
    return m_windows.value(identifier);
}
