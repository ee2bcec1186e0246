#pragma once

#include <QString>

#include <functional>

class QAction;
class QObject;

namespace settings_access {

class SettingsAccessEnvironment;

// A menu entry labelled `label` that runs `preAction`, opens the settings window through the
// environment's action, then runs `postAction`; an environment gone by then opens nothing.
// Empty actions are skipped. Owned by `parent`. GUI thread.
QAction* settingsButton(const SettingsAccessEnvironment& environment, const QString& label,
                        std::function<void()> preAction, std::function<void()> postAction,
                        QObject* parent);

} // namespace settings_access
