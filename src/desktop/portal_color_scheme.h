#pragma once

#include "desktop/desktop_color_scheme.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace desktop {

// The XDG desktop portal's `org.freedesktop.appearance color-scheme` setting, read once
// without blocking and then followed through the portal's SettingChanged signal. Without a
// session bus or a portal it states no preference.
class PortalColorScheme final : public DesktopColorScheme {
    Q_OBJECT
public:
    explicit PortalColorScheme(QDBusConnection bus = QDBusConnection::sessionBus(),
                               QObject* parent = nullptr);

    std::optional<ColorScheme> preference() const override { return m_preference; }

    // The portal's value (0 no preference, 1 dark, 2 light) as a scheme; anything else
    // states none.
    static std::optional<ColorScheme> fromPortalValue(const QVariant& value);

private slots:
    void onSettingChanged(const QDBusMessage& message);

private:
    void setPreference(std::optional<ColorScheme> preference);

    QDBusConnection m_bus;
    std::optional<ColorScheme> m_preference;
};

} // namespace desktop
