#pragma once

namespace desktop {
class DesktopNotifications;
class Settings;
} // namespace desktop

namespace app {

// Tells a new user what Holdfin is for, once: on the first launch (no hasLaunchedBefore yet;
// ask before start-up seeds it), and on each later one until a notification server took it,
// one desktop notification says to drag anything. Whether it was sent.
bool showFirstLaunchNotice(desktop::Settings& settings,
                           desktop::DesktopNotifications& notifications);

} // namespace app
