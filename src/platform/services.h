#pragma once

namespace platform {

class MainQueue;
class DragPasteboard;
class GlobalEventMonitor;
class DiagnosticLog;
class DragSession;
class Workspace;
class SymbolImage;
class Application;
class UserDefaults;
class Screens;
class WindowSystem;
class ColorSchemeService;

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
    Application* application = nullptr;
    UserDefaults* userDefaults = nullptr;
    Screens* screens = nullptr;
    // May stay null: no window-manager hints then (Qt's offscreen platform).
    WindowSystem* windowSystem = nullptr;
    // The effective colour scheme views draw with, and its change signal.
    ColorSchemeService* colorSchemes = nullptr;
};

} // namespace platform
