#include "app/first_launch_notice.h"

#include "desktop/defaults_keys.h"
#include "desktop/desktop_notifications.h"
#include "desktop/user_defaults.h"

#include <QCoreApplication>
#include <QPointer>

namespace app {

namespace keys = desktop::defaults_keys;

bool showFirstLaunchNotice(desktop::UserDefaults& defaults,
                           desktop::DesktopNotifications& notifications) {
    if (defaults.contains(keys::hasLaunchedBefore) &&
        !defaults.boolForKey(keys::firstLaunchNoticePending, false))
        return false;
    // A notification daemon that starts late in the session gets its turn at the next launch.
    defaults.setBool(keys::firstLaunchNoticePending, true);
    const QPointer<desktop::UserDefaults> store(&defaults);
    return notifications.notify(
        QCoreApplication::translate("FirstLaunchNotice", "Holdfin is ready"),
        QCoreApplication::translate("FirstLaunchNotice",
                                    "Drag anything (files, text, pictures, links) to see the "
                                    "shelf at the left edge of the screen, and drop it there "
                                    "to keep it for later."),
        [store] {
            if (store)
                store->remove(keys::firstLaunchNoticePending);
        });
}

} // namespace app
