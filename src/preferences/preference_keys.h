#pragma once

#include <QLatin1String>

// The user-defaults keys and the values they take.
namespace preferences::keys {

inline constexpr QLatin1String hasLaunchedBefore("hasLaunchedBefore");
inline constexpr QLatin1String showMenuBarIcon("showMenuBarIcon");
inline constexpr QLatin1String launchAtLogin("launchAtLogin");
inline constexpr QLatin1String selectedAppearance("selectedAppearance");

// Values read when a key is absent.
inline constexpr bool showMenuBarIconFallback = true;
inline constexpr bool launchAtLoginFallback = false;
inline constexpr QLatin1String appearanceLight("Light");
inline constexpr QLatin1String appearanceDark("Dark");
inline constexpr QLatin1String appearanceSystem("System");

} // namespace preferences::keys
