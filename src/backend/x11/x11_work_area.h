#pragma once

#include "backend/work_area.h"

namespace backend::x11 {

class X11Connection;

// _NET_WORKAREA of the current desktop (_NET_CURRENT_DESKTOP), read from Qt's X connection
// at each call. Nothing on a platform other than xcb or without a window manager publishing it.
class X11WorkArea final : public WorkArea {
public:
    // Atoms come from `atoms`.
    explicit X11WorkArea(X11Connection& atoms) : m_atoms(atoms) {}

    std::optional<QRect> currentWorkArea() const override;

private:
    X11Connection& m_atoms;
};

} // namespace backend::x11
