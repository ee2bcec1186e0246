#pragma once

#include <QString>

#include <optional>

namespace backend::x11 {

// Why no X11 display can be used (DISPLAY unset or unreachable), or nothing when one can.
// Call before the QApplication exists: Qt's xcb platform aborts without a display.
std::optional<QString> whyNoDisplay();

} // namespace backend::x11
