#pragma once

#include "desktop/color_scheme_service.h"
#include "desktop/symbol_image.h"
#include "support/fake_application.h"
#include "support/fake_desktop_services.h"
#include "support/fake_drag_selection.h"
#include "support/fake_drag_session.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"
#include "support/fake_screens.h"
#include "support/fake_thumbnails.h"
#include "support/recording_log.h"

namespace testing_support {

// Every service the shelf's views need, faked, on one 1280 by 800 screen; colour schemes
// follow no desktop. Tests hand them to the objects they build.
struct FakePlatform {
    FakePlatform() {
        screens.setScreens({{QStringLiteral("DP-1"), {0, 0, 1280, 800}}}, {0, 0, 1280, 800});
    }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeMainQueue queue;
    FakeDragSelection dragSelection;
    FakeGlobalEventMonitor events;
    RecordingLog log;
    FakeDragSession session;
    FakeDesktopServices desktopServices;
    FakeThumbnails thumbnails;
    FakeApplication application;
    FakeScreens screens;
    const desktop::SymbolImage symbols;
    desktop::ColorSchemeService colorSchemes{nullptr};
};

} // namespace testing_support
