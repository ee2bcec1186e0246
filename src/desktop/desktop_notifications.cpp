#include "desktop/desktop_notifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace desktop {

DesktopNotifications::DesktopNotifications(QString appId, QDBusConnection bus)
    : m_appId(std::move(appId)), m_bus(std::move(bus)) {}

bool DesktopNotifications::notify(const QString& summary, const QString& body,
                                  std::function<void()> onAccepted) {
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry hint lets the desktop file the notification under Holdfin's name.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), m_appId}};
    call << QStringLiteral("Holdfin") << 0u << m_appId << summary << body << QStringList() << hints
         << -1;
    if (!onAccepted)
        return m_bus.send(call);
    // Answered later, or with an error where no server runs: never waited for.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [accepted = std::move(onAccepted)](QDBusPendingCallWatcher* call) {
                         const QDBusPendingReply<uint> reply = *call;
                         if (!reply.isError())
                             accepted();
                         call->deleteLater();
                     });
    return true;
}

} // namespace desktop
