#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// The application-wide notification centre: one sender posts a named notification with
// user info, anyone interested listens to `posted`. Lives on the GUI thread.
class NotificationHub final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationHub)

public:
    static NotificationHub &instance();

    void post(const QString &name, const QVariantMap &userInfo = {});

Q_SIGNALS:
    void posted(const QString &name, const QVariantMap &userInfo);

private:
    NotificationHub() = default;
};
