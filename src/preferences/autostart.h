#pragma once

namespace preferences {

// Whether the desktop starts Holdfin when the user logs in. GUI thread.
class Autostart {
public:
    virtual ~Autostart() = default;

    // Makes the desktop start Holdfin at login; false when that could not be arranged.
    virtual bool enable() = 0;
    // Stops the desktop starting Holdfin (not started counts as done); false when it failed.
    virtual bool disable() = 0;
    // Whether Holdfin will start at the next login, whoever enabled or disabled it.
    virtual bool isEnabled() const = 0;
};

} // namespace preferences
