#pragma once

#include "settings_access_environment.h"
#include "settings_platform.h"

#include <QString>

class QAction;
class QObject;

namespace settings_access {

// A menu entry labelled `label` that opens the settings window: `preAction` runs before the
// window opens and `postAction` after, also when opening fails (which is dropped). Owned by
// `parent`. GUI thread.
QAction* settingsButton(const SettingsAccessEnvironment& environment, const QString& label,
                        PlainAction preAction, PlainAction postAction, QObject* parent);

} // namespace settings_access
