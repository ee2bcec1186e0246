#pragma once

#include "desktop/color_scheme.h"

namespace desktop {

// The running application. GUI thread only.
class Application {
public:
    virtual ~Application() = default;

    // Whether Holdfin's ordinary windows (the settings window) show in the taskbar; the shelf
    // panel never does.
    virtual void setListedInTaskbar(bool listed) = 0;
    virtual bool isListedInTaskbar() const = 0;
    // Raises and focuses the settings window, if one is shown.
    virtual void activate() = 0;
    // Gives the focus back: Holdfin stops being the active application.
    virtual void deactivate() = 0;
    // Ends the event loop; the process exits.
    virtual void terminate() = 0;
    // Light or Dark forces that colour scheme on every window; System follows the desktop.
    virtual void setAppearance(Appearance appearance) = 0;
};

} // namespace desktop
