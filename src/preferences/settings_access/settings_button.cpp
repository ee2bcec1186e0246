#include "settings_button.h"

#include "legacy_open_settings.h"
#include "pre_post_actions_button_style.h"

#include <QAction>

namespace settings_access {

QAction* settingsButton(const SettingsAccessEnvironment& environment, const QString& label,
                        PlainAction preAction, PlainAction postAction, QObject* parent) {
    const SettingsPlatform& platform = environment.platform();
    auto* button = new QAction(label, parent);
    if (platform.systemVersion.hasSettingsLink()) {
        const SettingsLink link(label, platform.openSettingsWindow);
        const PrePostActionsButtonStyle style(platform.systemVersion, std::move(preAction),
                                              std::move(postAction));
        const ButtonBody body = style.makeBody(link.configuration());
        button->setText(body.label);
        QObject::connect(button, &QAction::triggered, button, [action = body.action] { action(); });
        return button;
    }
    QObject::connect(button, &QAction::triggered, button,
                     [platform, pre = std::move(preAction), post = std::move(postAction)] {
                         if (pre)
                             pre();
                         legacyOpenSettings(platform);
                         if (post)
                             post();
                     });
    return button;
}

} // namespace settings_access
