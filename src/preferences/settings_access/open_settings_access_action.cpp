#include "open_settings_access_action.h"

#include "legacy_open_settings.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace settings_access {

std::shared_ptr<OpenSettingsAccessAction>
OpenSettingsAccessAction::create(SettingsPlatform platform) {
    auto action = std::make_shared<OpenSettingsAccessAction>(Private{}, std::move(platform));
    if (action->m_platform.systemVersion.hasSettingsLink()) {
        std::weak_ptr<OpenSettingsAccessAction> weak = action;
        action->m_closureBinding = Binding<FallibleAction>(
            [weak]() -> FallibleAction {
                auto strong = weak.lock();
                return strong ? strong->m_closure : FallibleAction{};
            },
            [weak](FallibleAction closure) {
                if (auto strong = weak.lock())
                    strong->m_closure = std::move(closure);
            });
    } else {
        action->m_closure = [platform = action->m_platform]() -> std::optional<ActionError> {
            if (auto error = legacyOpenSettings(platform))
                return toActionError(*error);
            return std::nullopt;
        };
    }
    return action;
}

OpenSettingsAccessAction::OpenSettingsAccessAction(Private, SettingsPlatform platform)
    : m_platform(std::move(platform)), m_closureBinding(Binding<FallibleAction>::constant({})) {}

void OpenSettingsAccessAction::operator()() {
    auto task = [self = shared_from_this()] { self->perform(); };
    if (m_platform.runOnMainQueue) {
        m_platform.runOnMainQueue(std::move(task));
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

std::optional<ActionError> OpenSettingsAccessAction::perform() const {
    if (!m_closure)
        return toActionError(OpenSettingsError::settingsLinkNotConnected);
    std::optional<ActionError> error = m_closure();
    if (error) {
        if (auto legacy = legacyOpenSettingsError(*error))
            return toActionError(toOpenSettingsError(*legacy));
    }
    return error;
}

std::shared_ptr<OpenSettingsAccessAction> OpenSettingsKey::defaultValue() const {
    std::call_once(m_once,
                   [this] { m_defaultValue = OpenSettingsAccessAction::create(m_platform); });
    return m_defaultValue;
}

} // namespace settings_access
