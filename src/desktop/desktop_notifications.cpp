#include "desktop/desktop_notifications.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace desktop {

DesktopNotifications::DesktopNotifications(QString iconName, QDBusConnection bus)
    : m_iconName(std::move(iconName)), m_bus(std::move(bus)) {}

bool DesktopNotifications::notify(const QString& summary, const QString& body) {
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Holdfin") << 0u << m_iconName << summary << body << QStringList()
         << QVariantMap() << -1;
    // Sent without waiting for the answer, which nobody needs: an error is dropped with it.
    return m_bus.send(call);
}

} // namespace desktop
