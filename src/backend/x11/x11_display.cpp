#include "backend/x11/x11_display.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace backend::x11 {

std::optional<QString> whyNoDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return QStringLiteral("needs an X11 display, but DISPLAY is not set");
    Display* display = XOpenDisplay(name);
    if (!display)
        return QStringLiteral("needs an X11 display, but cannot connect to DISPLAY=%1")
            .arg(QString::fromLocal8Bit(name));
    XCloseDisplay(display);
    return std::nullopt;
}

} // namespace backend::x11
