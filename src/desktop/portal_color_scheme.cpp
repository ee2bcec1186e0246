#include "desktop/portal_color_scheme.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace desktop {

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kGroup = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("color-scheme");

// Read answers a variant holding the variant that holds the value; unwrap every layer.
QVariant unwrap(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}
} // namespace

PortalColorScheme::PortalColorScheme(QDBusConnection bus, QObject* parent)
    : DesktopColorScheme(parent), m_bus(std::move(bus)) {
    if (!m_bus.isConnected())
        return;
    // A QDBusMessage slot needs no D-Bus type look-up of its parameters, which can fail while
    // the bus connection is still being set up.
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                  SLOT(onSettingChanged(QDBusMessage)));

    QDBusMessage read =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    read << kGroup << kKey;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(read, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QDBusVariant> reply = *call;
                if (reply.isError())
                    return;
                setPreference(fromPortalValue(unwrap(reply.argumentAt(0))));
            });
}

std::optional<ColorScheme> PortalColorScheme::fromPortalValue(const QVariant& value) {
    bool isNumber = false;
    const uint number = unwrap(value).toUInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    if (number == 1)
        return ColorScheme::Dark;
    if (number == 2)
        return ColorScheme::Light;
    return std::nullopt;
}

void PortalColorScheme::onSettingChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() == 3 && arguments.at(0).toString() == kGroup &&
        arguments.at(1).toString() == kKey)
        setPreference(fromPortalValue(arguments.at(2)));
}

void PortalColorScheme::setPreference(std::optional<ColorScheme> preference) {
    if (preference == m_preference)
        return;
    m_preference = preference;
    emit preferenceChanged();
}

} // namespace desktop
