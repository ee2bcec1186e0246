#pragma once

#include "backend/work_area.h"

namespace backend::x11 {

// _NET_WORKAREA of the current desktop (_NET_CURRENT_DESKTOP), read from Qt's X connection
// at each call. Nothing on a platform other than xcb or without a window manager publishing it.
class X11WorkArea final : public WorkArea {
public:
    std::optional<QRect> currentWorkArea() const override;
};

} // namespace backend::x11
