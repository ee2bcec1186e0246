#pragma once

#include <QObject>

namespace platform {

enum class ActivationPolicy { Regular = 0, Accessory = 1 };
// The appearance forced on the whole application; System follows the desktop.
enum class Appearance { Light, Dark, System };

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
    virtual void setAppearance(Appearance appearance) = 0;
};

} // namespace platform
