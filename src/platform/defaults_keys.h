#pragma once

#include <QString>

// The four persisted preferences, spelled like the properties bound to them.
namespace platform::defaults_keys {

// Bool; its presence alone means Holdfin has been launched before.
inline const QString hasLaunchedBefore = QStringLiteral("hasLaunchedBefore");
// Bool; true when absent.
inline const QString showMenuBarIcon = QStringLiteral("showMenuBarIcon");
// Bool; false when absent.
inline const QString launchAtLogin = QStringLiteral("launchAtLogin");
// String, "Light", "Dark" or "System"; "System" when absent.
inline const QString selectedAppearance = QStringLiteral("selectedAppearance");

} // namespace platform::defaults_keys
