#include "legacy_open_settings.h"

#include <QByteArray>
#include <QMetaObject>

namespace settings_access {

bool sendToApplicationDelegate(const SettingsPlatform& platform, const char* selector) {
    QObject* delegate = platform.applicationDelegate ? platform.applicationDelegate() : nullptr;
    if (!delegate)
        return false;
    const QByteArray signature =
        QMetaObject::normalizedSignature((QByteArray(selector) + "()").constData());
    if (delegate->metaObject()->indexOfSlot(signature.constData()) < 0)
        return false;
    QMetaObject::invokeMethod(delegate, selector, Qt::DirectConnection);
    return true;
}

std::optional<LegacyOpenSettingsError> legacyOpenSettings(const SettingsPlatform& platform) {
    if (platform.systemVersion.hasSettingsLink())
        return LegacyOpenSettingsError::unsupportedPlatform;
    if (sendToApplicationDelegate(platform, kShowSettingsWindow))
        return std::nullopt;
    if (sendToApplicationDelegate(platform, kShowPreferencesWindow))
        return std::nullopt;
    return LegacyOpenSettingsError::selectorNotFound;
}

} // namespace settings_access
