#pragma once

#include <functional>

namespace preferences {

// What the preference setters may ask of the running application delegate. Any member may be
// empty: an empty `isDelegateRegistered` means no delegate.
struct AppDelegateHooks {
    // Whether the delegate is registered, i.e. start-up has happened.
    std::function<bool()> isDelegateRegistered;
    // Applies the stored appearance to the whole application.
    std::function<void()> applyAppearance;
    // Starts Holdfin at login from now on (true) or no longer (false).
    std::function<void(bool)> updateLaunchAtLogin;
    // Whether Holdfin starts at login, as the desktop has it now.
    std::function<bool()> isLaunchingAtLogin;
};

} // namespace preferences
