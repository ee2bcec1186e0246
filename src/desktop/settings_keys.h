#pragma once

#include <QLatin1String>

// The persisted preferences, spelled like the properties bound to them, and the values
// their readers assume when a key is absent.
namespace desktop::settings_keys {

// Bool; its presence alone means Holdfin has been launched before.
inline constexpr QLatin1String hasLaunchedBefore("hasLaunchedBefore");
// Bool: the first launch's notice is still to be shown, since no notification server took it.
inline constexpr QLatin1String firstLaunchNoticePending("firstLaunchNoticePending");
inline constexpr QLatin1String showMenuBarIcon("showMenuBarIcon");
inline constexpr QLatin1String launchAtLogin("launchAtLogin");
// One of the appearance values below.
inline constexpr QLatin1String selectedAppearance("selectedAppearance");
// Bool: the shelf is saved and comes back at the next start.
inline constexpr QLatin1String keepShelf("keepShelf");
// String: the global shortcut that shows or hides the shelf, in QKeySequence's portable text;
// absent or empty for none.
inline constexpr QLatin1String showShelfShortcut("showShelfShortcut");

inline constexpr bool showMenuBarIconFallback = true;
inline constexpr bool launchAtLoginFallback = false;
inline constexpr bool keepShelfFallback = true;
inline constexpr QLatin1String appearanceLight("Light");
inline constexpr QLatin1String appearanceDark("Dark");
inline constexpr QLatin1String appearanceSystem("System");

} // namespace desktop::settings_keys
