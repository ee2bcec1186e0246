#pragma once

#include "binding.h"
#include "settings_platform.h"
#include "system_version.h"

#include <QString>

#include <functional>
#include <optional>

namespace settings_access {

enum class ButtonRole { destructive, cancel };

// What a button style is given to build a button from: the label, the press it stands for and
// the role it was declared with.
struct ButtonConfiguration {
    QString label;
    std::function<void()> trigger;
    std::optional<ButtonRole> role;
};

// A built button: what it shows and what pressing it runs.
struct ButtonBody {
    QString label;
    std::function<void()> action;
    std::optional<ButtonRole> role;
};

// Builds buttons that run `preAction`, then the configuration's own press, then `postAction`,
// and that hand their press to `performAction` so that code can trigger it.
class PrePostActionsButtonStyle final {
public:
    PrePostActionsButtonStyle(
        SystemVersion systemVersion, PlainAction preAction, PlainAction postAction,
        Binding<FallibleAction> performAction = Binding<FallibleAction>::constant({}));

    // Records the configuration's trigger through `performAction` (on every build), then builds
    // the button. GUI thread.
    ButtonBody makeBody(const ButtonConfiguration& configuration) const;

private:
    SystemVersion m_systemVersion;
    PlainAction m_preAction;
    PlainAction m_postAction;
    Binding<FallibleAction> m_performAction;
};

// The settings link: a button whose press opens the settings scene's window.
class SettingsLink final {
public:
    SettingsLink(QString label, std::function<void()> openSettingsWindow)
        : m_label(std::move(label)), m_openSettingsWindow(std::move(openSettingsWindow)) {}

    ButtonConfiguration configuration() const { return {m_label, m_openSettingsWindow, {}}; }

private:
    QString m_label;
    std::function<void()> m_openSettingsWindow;
};

} // namespace settings_access
