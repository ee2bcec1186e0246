#pragma once

class QWindow;

namespace backend {

// Window-manager hints that Qt's window flags do not give. GUI thread only; every call on a
// window without a native handle, or without a window manager, does nothing.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Marks `window` as a shelf panel: above other windows, on every desktop, skipped by
    // taskbar and pager, and free to wait outside the screens. Call right before each show,
    // and after each change of the window's flags.
    virtual void preparePanel(QWindow* window) = 0;
    // Lets the pointer, and drags, pass through `window` to what lies beneath it.
    virtual void letInputPass(QWindow* window) = 0;
    // Adds or removes `window` from the taskbar, shown or not.
    virtual void setSkipTaskbar(QWindow* window, bool skip) = 0;
    // If one of Holdfin's windows is the active window, hands activation to the topmost window
    // of another application; nothing otherwise.
    virtual void yieldActivation() = 0;
    // While `isLifted`, keeps the panel `window` above the full-screen window that has the
    // focus (if any), which window managers otherwise keep above every other window; with
    // `isLifted` false, gives that up again. Call as a drag starts and as it ends.
    virtual void liftAboveFullScreen(QWindow* window, bool isLifted) = 0;
    // Whether a window a drag starts from must stay where it is, in sight, until the drag
    // ends: in a Wayland session, taking it away under the pressed button hands the pointer
    // to the window below and the drag stalls.
    virtual bool keepsDragSourceInPlace() const = 0;
};

} // namespace backend
