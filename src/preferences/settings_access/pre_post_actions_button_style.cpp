#include "pre_post_actions_button_style.h"

#include <utility>

namespace settings_access {

PrePostActionsButtonStyle::PrePostActionsButtonStyle(SystemVersion systemVersion,
                                                     PlainAction preAction, PlainAction postAction,
                                                     Binding<FallibleAction> performAction)
    : m_systemVersion(std::move(systemVersion)), m_preAction(std::move(preAction)),
      m_postAction(std::move(postAction)), m_performAction(std::move(performAction)) {}

ButtonBody PrePostActionsButtonStyle::makeBody(const ButtonConfiguration& configuration) const {
    const std::function<void()> trigger = configuration.trigger;
    m_performAction.set([trigger]() -> std::optional<ActionError> {
        if (trigger)
            trigger();
        return std::nullopt;
    });

    ButtonBody body;
    body.label = configuration.label;
    body.action = [pre = m_preAction, trigger, post = m_postAction] {
        if (pre)
            pre();
        if (trigger)
            trigger();
        if (post)
            post();
    };
    if (m_systemVersion.hasButtonRoles())
        body.role = configuration.role;
    return body;
}

} // namespace settings_access
