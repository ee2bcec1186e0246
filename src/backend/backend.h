#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace backend {

class DesktopSettings;
class DragSelection;
class DragSession;
class GlobalEventMonitor;
class GlobalShortcuts;
class Screens;
class WindowSystem;

// The display server's side of Holdfin: noticing drags anywhere on the desktop, running drags
// out of the shelf, the panel's window hints, the screens and the desktop's toolkit settings.
// GUI thread only.
class Backend {
public:
    virtual ~Backend() = default;

    virtual DragSelection& dragSelection() = 0;
    virtual GlobalEventMonitor& eventMonitor() = 0;
    virtual DragSession& dragSession() = 0;
    virtual WindowSystem& windowSystem() = 0;
    virtual Screens& screens() = 0;
    virtual DesktopSettings& desktopSettings() = 0;
    virtual GlobalShortcuts& globalShortcuts() = 0;
};

// Chooses the Qt platform plugin Holdfin runs on and checks that its display can be reached.
// Call before the QApplication exists; returns why Holdfin cannot run here, or nothing.
std::optional<QString> prepareDisplay();

// The back-end for the running Qt platform; null when Holdfin has none for it.
std::unique_ptr<Backend> createBackend();

} // namespace backend
