#pragma once

#include <functional>
#include <memory>

class QAction;

namespace settings_access {

// The one action that opens the settings window, or brings it to the front, for every
// "Preferences…" entry of the application. Built once by the application and handed to the
// views that need it. GUI thread.
class SettingsAccessEnvironment final {
public:
    // Triggering the action runs `openSettingsWindow`; without one it does nothing.
    explicit SettingsAccessEnvironment(std::function<void()> openSettingsWindow = {});
    ~SettingsAccessEnvironment();

    QAction& openSettings() const { return *m_openSettings; }

private:
    std::unique_ptr<QAction> m_openSettings;
};

} // namespace settings_access
