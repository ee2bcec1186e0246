#pragma once

#include <QDBusConnection>
#include <QString>

namespace desktop {

// Desktop notifications through the freedesktop notification service (org.freedesktop.
// Notifications) on a D-Bus bus. Where there is no bus or no such service, nothing shows and
// nothing is reported. GUI thread; never waits for the service.
class DesktopNotifications final {
public:
    // `iconName` names Holdfin's icon in the icon theme (its application id).
    explicit DesktopNotifications(QString iconName,
                                  QDBusConnection bus = QDBusConnection::sessionBus());

    // Shows a notification of `summary` and `body` with Holdfin's name and icon; whether the
    // request could be sent (not whether anything showed).
    bool notify(const QString& summary, const QString& body);

private:
    QString m_iconName;
    QDBusConnection m_bus;
};

} // namespace desktop
