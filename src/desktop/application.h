#pragma once

#include "desktop/color_scheme.h"

namespace desktop {

enum class ActivationPolicy { Regular = 0, Accessory = 1 };

// The running application. GUI thread only.
class Application {
public:
    virtual ~Application() = default;

    // Accessory: Holdfin's windows stay out of the taskbar; Regular: the settings window
    // shows in it.
    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
    virtual ActivationPolicy activationPolicy() const = 0;
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
