#include "app/first_launch_notice.h"

#include "desktop/desktop_notifications.h"
#include "desktop/settings.h"
#include "desktop/settings_keys.h"

#include <QCoreApplication>
#include <QPointer>

namespace app {

namespace keys = desktop::settings_keys;

bool showFirstLaunchNotice(desktop::Settings& settings,
                           desktop::DesktopNotifications& notifications) {
    if (settings.contains(keys::hasLaunchedBefore) &&
        !settings.boolValue(keys::firstLaunchNoticePending, false))
        return false;
    // A notification daemon that starts late in the session gets its turn at the next launch.
    settings.setValue(keys::firstLaunchNoticePending, true);
    const QPointer<desktop::Settings> store(&settings);
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
