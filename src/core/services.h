#pragma once

namespace backend {
class DragPasteboard;
class DragSession;
class GlobalEventMonitor;
class Screens;
class WindowSystem;
} // namespace backend

namespace desktop {
class Application;
class ColorSchemeService;
class SymbolImage;
class UserDefaults;
class Workspace;
} // namespace desktop

namespace core {

class DiagnosticLog;
class MainQueue;

// The platform services, built once in main (and by each test with fakes) and handed to
// the objects that need them. Non-owning; whoever builds the bundle keeps the services alive.
struct Services {
    MainQueue* mainQueue = nullptr;
    backend::DragPasteboard* dragPasteboard = nullptr;
    backend::GlobalEventMonitor* eventMonitor = nullptr;
    DiagnosticLog* log = nullptr;
    backend::DragSession* dragSession = nullptr;
    desktop::Workspace* workspace = nullptr;
    const desktop::SymbolImage* symbols = nullptr;
    desktop::Application* application = nullptr;
    desktop::UserDefaults* userDefaults = nullptr;
    backend::Screens* screens = nullptr;
    // May stay null: no window-manager hints then (Qt's offscreen platform).
    backend::WindowSystem* windowSystem = nullptr;
    // The effective colour scheme views draw with, and its change signal.
    desktop::ColorSchemeService* colorSchemes = nullptr;
};

} // namespace core
