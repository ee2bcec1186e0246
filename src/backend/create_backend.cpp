#include "backend/backend.h"
#include "backend/x11/x11_backend.h"
#include "backend/x11/x11_display.h"

#include <QGuiApplication>

namespace backend {

std::optional<QString> prepareDisplay() {
    // Holdfin watches X11 drags; in a Wayland session it runs through XWayland.
    qputenv("QT_QPA_PLATFORM", "xcb");
    return x11::whyNoDisplay();
}

std::unique_ptr<Backend> createBackend() {
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return std::make_unique<x11::X11Backend>();
    return nullptr;
}

} // namespace backend
