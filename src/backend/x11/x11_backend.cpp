#include "x11_backend.h"

#include "backend/qt_drag_session.h"
#include "backend/qt_screens.h"
#include "compositor_client.h"
#include "compositor_drag_watcher.h"
#include "drag_selection_server.h"
#include "x11_connection.h"
#include "x11_desktop_settings.h"
#include "x11_drag_selection.h"
#include "x11_global_event_monitor.h"
#include "x11_global_shortcuts.h"
#include "x11_window_system.h"
#include "x11_work_area.h"

namespace backend::x11 {

// Declared in dependency order: each part is built after, and torn down before, what it uses.
struct X11Backend::Parts {
    X11Connection connection;
    X11DragSelection dragSelection{connection};
    X11GlobalEventMonitor eventMonitor{connection};
    CompositorDragWatcher compositorDrags{connection, dragSelection, eventMonitor, {}};
    bool isWaylandSession = x11::isWaylandSession();
    X11WindowSystem windowSystem{connection, isWaylandSession};
    X11WorkArea workArea{connection};
    QtScreens screens{&workArea};
    DragSelectionServer selectionServer{connection};
    QtDragSession dragSession{eventMonitor}; // asks the selection server in Wayland sessions
    X11DesktopSettings desktopSettings{connection};
    X11GlobalShortcuts shortcuts{connection};
};

X11Backend::X11Backend() : m_parts(std::make_unique<Parts>()) {
    // Peers ask for a drag's data at times Qt refuses (compositors, file managers), and only an
    // answer with data tells an accepted drop from one that took nothing.
    QObject::connect(&m_parts->dragSession, &QtDragSession::dragStarting, &m_parts->selectionServer,
                     &DragSelectionServer::serve);
    QObject::connect(&m_parts->selectionServer, &DragSelectionServer::handedOver,
                     &m_parts->dragSession, &QtDragSession::noteHandedOver);
    if (!m_parts->isWaylandSession)
        return;
    // A compositor's stand-in for a Wayland window may read at the release, before the drop.
    DragSelectionServer& selectionServer = m_parts->selectionServer;
    X11Connection& connection = m_parts->connection;
    m_parts->dragSession.setReadingEarlyCheck([&selectionServer, &connection] {
        return isCompositorWindow(connection, selectionServer.targetWindow());
    });
    QObject::connect(&selectionServer, &DragSelectionServer::dataRequested, &m_parts->dragSession,
                     &QtDragSession::noteDataRequested);
    // Qt's X connection carries both these and the panel's moves, so they arrive in order.
    X11WindowSystem& windowSystem = m_parts->windowSystem;
    QObject::connect(&m_parts->dragSession, &QtDragSession::dragStarting, &m_parts->dragSession,
                     [&windowSystem] { windowSystem.setOwnDragInProgress(true); });
    QObject::connect(&m_parts->dragSession, &QtDragSession::dragEnded, &m_parts->dragSession,
                     [&windowSystem] { windowSystem.setOwnDragInProgress(false); });
}

X11Backend::~X11Backend() = default;

DragSelection& X11Backend::dragSelection() {
    return m_parts->dragSelection;
}

GlobalEventMonitor& X11Backend::eventMonitor() {
    return m_parts->eventMonitor;
}

DragSession& X11Backend::dragSession() {
    return m_parts->dragSession;
}

WindowSystem& X11Backend::windowSystem() {
    return m_parts->windowSystem;
}

Screens& X11Backend::screens() {
    return m_parts->screens;
}

DesktopSettings& X11Backend::desktopSettings() {
    return m_parts->desktopSettings;
}

GlobalShortcuts& X11Backend::globalShortcuts() {
    return m_parts->shortcuts;
}

} // namespace backend::x11
