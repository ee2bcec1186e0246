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
    // Registers Holdfin as a login item (true) or removes it (false).
    std::function<void(bool)> updateLaunchAtLogin;
    // Whether Holdfin is registered to start at login, as the system has it now.
    std::function<bool()> isLaunchingAtLogin;
};

} // namespace preferences
