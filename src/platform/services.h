#pragma once

namespace platform {

class MainQueue;
class DragPasteboard;
class GlobalEventMonitor;
class DiagnosticLog;
class DragSession;
class Workspace;
class SymbolImage;

// The platform services, built once in main (and by each test with fakes) and handed to
// the objects that need them. Non-owning; whoever builds the bundle keeps the services alive.
struct Services {
    MainQueue* mainQueue = nullptr;
    DragPasteboard* dragPasteboard = nullptr;
    GlobalEventMonitor* eventMonitor = nullptr;
    DiagnosticLog* log = nullptr;
    DragSession* dragSession = nullptr;
    Workspace* workspace = nullptr;
    const SymbolImage* symbols = nullptr;
};

} // namespace platform
