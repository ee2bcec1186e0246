#pragma once

#include "binding.h"
#include "open_settings_error.h"
#include "settings_platform.h"

#include <memory>
#include <mutex>
#include <optional>

namespace settings_access {

// Opens the settings window from code. On systems with a settings link it is usable only once a
// hidden settings link (OpenSettingsInjectionView) has written its trigger through
// `closureBinding`; before, it opens by action message from creation. Created on any thread;
// used on the GUI thread.
class OpenSettingsAccessAction final
    : public std::enable_shared_from_this<OpenSettingsAccessAction> {
    struct Private {};

public:
    static std::shared_ptr<OpenSettingsAccessAction> create(SettingsPlatform platform);
    OpenSettingsAccessAction(Private, SettingsPlatform platform);

    const FallibleAction& closure() const { return m_closure; }
    void setClosure(FallibleAction closure) { m_closure = std::move(closure); }
    // Reads and writes `closure`, holding this action weakly: gone, it reads absent and ignores
    // writes. A constant absent binding on systems without a settings link.
    const Binding<FallibleAction>& closureBinding() const { return m_closureBinding; }

    // Starts the open request on a later turn of the main queue and returns at once; the outcome
    // is not reported.
    void operator()();
    // The open request that invoking runs: the closure's outcome, a legacy error mapped to the
    // open-settings error of the same case; `settingsLinkNotConnected` without a closure.
    std::optional<ActionError> perform() const;

private:
    SettingsPlatform m_platform;
    FallibleAction m_closure;
    Binding<FallibleAction> m_closureBinding;
};

// The environment entry under which views find the shared action. Reading it gives the same
// action every time; writing it is not offered.
class OpenSettingsKey final {
public:
    explicit OpenSettingsKey(SettingsPlatform platform) : m_platform(std::move(platform)) {}

    // Created on the first read, exactly once even when several threads read at the same time.
    std::shared_ptr<OpenSettingsAccessAction> defaultValue() const;

private:
    SettingsPlatform m_platform;
    mutable std::once_flag m_once;
    mutable std::shared_ptr<OpenSettingsAccessAction> m_defaultValue;
};

} // namespace settings_access
