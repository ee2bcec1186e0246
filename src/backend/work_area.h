#pragma once

#include <QRect>

#include <optional>

namespace backend {

// The part of the desktop that docks and panels leave free. GUI thread only.
class WorkArea {
public:
    virtual ~WorkArea() = default;

    // The current desktop's work area in device pixels; nothing when the window manager
    // publishes none or it cannot be read.
    virtual std::optional<QRect> currentWorkArea() const = 0;
};

} // namespace backend
