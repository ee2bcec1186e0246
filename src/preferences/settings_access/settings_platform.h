#pragma once

#include "open_settings_error.h"
#include "system_version.h"

#include <QObject>

#include <functional>
#include <optional>

namespace settings_access {

// An action without arguments or result that may fail; success is no error. Empty: absent.
using FallibleAction = std::function<std::optional<ActionError>()>;
// A pre- or post-action of a button. Empty: absent.
using PlainAction = std::function<void()>;

// What settings access needs of the application it runs in, handed in by whoever builds it.
struct SettingsPlatform {
    SystemVersion systemVersion = SystemVersion::current();
    // The application's delegate, which may answer the showSettingsWindow / showPreferencesWindow
    // messages as slots. Null (or empty) when there is none. GUI thread.
    std::function<QObject*()> applicationDelegate;
    // Runs a task on a later turn of the GUI thread. Empty: posted to the Qt event loop.
    std::function<void(std::function<void()>)> runOnMainQueue;
    // What pressing a settings link does: brings the settings scene's window to the front.
    // GUI thread.
    std::function<void()> openSettingsWindow;
};

} // namespace settings_access
