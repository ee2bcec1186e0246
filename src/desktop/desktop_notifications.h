#pragma once

#include <QDBusConnection>
#include <QString>

#include <functional>

namespace desktop {

// Desktop notifications through the freedesktop notification service (org.freedesktop.
// Notifications) on a D-Bus bus. Where there is no bus or no such service, nothing shows and
// nothing is reported. GUI thread; never waits for the service.
class DesktopNotifications final {
public:
    // `appId` names Holdfin's icon in the icon theme and its desktop entry.
    explicit DesktopNotifications(QString appId,
                                  QDBusConnection bus = QDBusConnection::sessionBus());

    // Shows a notification of `summary` and `body` with Holdfin's name and icon; whether the
    // request could be sent (not whether anything showed). `onAccepted` runs, later, once a
    // notification server answered with the notification's id; never if none did.
    bool notify(const QString& summary, const QString& body, std::function<void()> onAccepted = {});

private:
    QString m_appId;
    QDBusConnection m_bus;
};

} // namespace desktop
