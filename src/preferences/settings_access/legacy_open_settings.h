#pragma once

#include "open_settings_error.h"
#include "settings_platform.h"

#include <optional>

namespace settings_access {

// The action messages, as the names of argument-less slots of the application's delegate.
inline constexpr char kShowSettingsWindow[] = "showSettingsWindow";
inline constexpr char kShowPreferencesWindow[] = "showPreferencesWindow";

// Sends `selector` to the application's delegate: false when there is no delegate or it has no
// such slot, true once the message was sent, whatever the slot did. GUI thread.
bool sendToApplicationDelegate(const SettingsPlatform& platform, const char* selector);

// Opens the settings window by action message, the first message the delegate takes of
// showSettingsWindow then showPreferencesWindow. On systems with a settings link it is not
// supported. GUI thread.
std::optional<LegacyOpenSettingsError> legacyOpenSettings(const SettingsPlatform& platform);

} // namespace settings_access
