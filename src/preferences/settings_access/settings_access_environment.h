#pragma once

#include "open_settings_access_action.h"
#include "settings_platform.h"

#include <memory>

namespace settings_access {

// What the settings-access views of one application read: its platform and the shared
// open-settings action. Built once by the application and handed to the views that need it.
class SettingsAccessEnvironment final {
public:
    explicit SettingsAccessEnvironment(SettingsPlatform platform)
        : m_platform(platform), m_openSettings(std::move(platform)) {}

    const SettingsPlatform& platform() const { return m_platform; }
    // The entry under OpenSettingsKey: the same action on every read. Any thread.
    std::shared_ptr<OpenSettingsAccessAction> openSettings() const {
        return m_openSettings.defaultValue();
    }

private:
    SettingsPlatform m_platform;
    OpenSettingsKey m_openSettings;
};

} // namespace settings_access
