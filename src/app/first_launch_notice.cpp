#include "app/first_launch_notice.h"

#include "desktop/defaults_keys.h"
#include "desktop/desktop_notifications.h"
#include "desktop/user_defaults.h"

#include <QCoreApplication>

namespace app {

bool showFirstLaunchNotice(const desktop::UserDefaults& defaults,
                           desktop::DesktopNotifications& notifications) {
    if (defaults.contains(desktop::defaults_keys::hasLaunchedBefore))
        return false;
    return notifications.notify(
        QCoreApplication::translate("FirstLaunchNotice", "Holdfin is ready"),
        QCoreApplication::translate("FirstLaunchNotice",
                                    "Drag anything (files, text, pictures, links) to see the "
                                    "shelf at the left edge of the screen, and drop it there "
                                    "to keep it for later."));
}

} // namespace app
