#pragma once

#include "backend/window_system.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QSet>

#include <cstdint>
#include <vector>

struct xcb_connection_t;

namespace backend::x11 {

class X11Connection;

// Extended window-manager hints (_NET_WM_STATE, _NET_WM_DESKTOP, _NET_WM_WINDOW_TYPE,
// _NET_ACTIVE_WINDOW) over Qt's own X connection. On a platform other than xcb every call does
// nothing.
class X11WindowSystem final : public WindowSystem, private QAbstractNativeEventFilter {
public:
    // `isWaylandSession`: Holdfin runs through XWayland. Atoms come from `atoms`.
    explicit X11WindowSystem(X11Connection& atoms, bool isWaylandSession = false);
    ~X11WindowSystem() override;

    void preparePanel(QWindow* window) override;
    void letInputPass(QWindow* window) override;
    void setSkipTaskbar(QWindow* window, bool skip) override;
    void yieldActivation() override;
    // As a transient of the full-screen window: EWMH window managers keep a window's
    // transients in its layer and above it. In a Wayland session no full-screen window shows
    // on the X side, so the panel is lifted for every drag, by its window type.
    void liftAboveFullScreen(QWindow* window, bool isLifted) override;
    bool keepsDragSourceInPlace() const override { return m_isWaylandSession; }

    // Call as Holdfin's own drag starts and as soon as it has ended, before any panel moves.
    // In a Wayland session the shown panels are utility windows for the drag, docks otherwise.
    // mutter puts up the X window that takes an X drag into a Wayland window only when the
    // window it finds under the pointer changes; it skips docks (and windows that take no
    // focus, which the panel is not to mutter: Qt offers WM_TAKE_FOCUS) in that search, and
    // keeps its last finding from one drag to the next. A drag out of a dock panel over the
    // Wayland window of the previous drag out would show it no change, and find no target.
    void setOwnDragInProgress(bool inProgress);

private:
    using Atom = std::uint32_t;
    using Window = std::uint32_t;

    Atom atom(const char* name);
    void setWindowType(Window window, const char* type);
    // Over a full-screen Wayland window mutter finds a utility window for a drag, but no
    // dock. KWin finds neither, only a critical notification, and takes that type only before
    // the window is first mapped: there the panel stays below such a window.
    void liftInWaylandSession(Window window, bool isLifted);
    // mutter marks the panel as demanding attention when a drag first brings it up, and never
    // clears that: a shell tells the user that Holdfin is ready, for nothing.
    void dropDemandsAttention(Window window);
    bool isMapped(Window window) const;
    bool isOwn(Window window) const;
    // Adds or removes states: written straight into the property of a withdrawn window (the
    // window manager reads it on map), asked of the window manager for a mapped one.
    void changeStates(Window window, std::initializer_list<Atom> states, bool add);
    void sendToRoot(Window window, Atom type, std::initializer_list<std::uint32_t> data);
    // Asks the window manager, which manages `window`, for the panel's states.
    void requestPanelStates(Window window);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    X11Connection& m_atoms;
    xcb_connection_t* m_connection = nullptr;
    Window m_root = 0;
    QSet<Window> m_panels;
    std::vector<Window> m_retypedPanels; // utility windows for the drag under way
    QSet<Window> m_liftedPanels;         // above a full-screen window for the drag
    bool m_isWaylandSession;
};

} // namespace backend::x11
