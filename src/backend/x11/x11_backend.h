#pragma once

#include "backend/backend.h"

#include <memory>

namespace backend::x11 {

// The X11 back-end. The system-wide watchers share a connection of their own to the X server,
// beside Qt's.
class X11Backend final : public Backend {
public:
    X11Backend();
    ~X11Backend() override;

    DragSelection& dragSelection() override;
    GlobalEventMonitor& eventMonitor() override;
    DragSession& dragSession() override;
    WindowSystem& windowSystem() override;
    Screens& screens() override;
    DesktopSettings& desktopSettings() override;
    GlobalShortcuts& globalShortcuts() override;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace backend::x11
