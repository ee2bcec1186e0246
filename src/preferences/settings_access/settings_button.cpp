#include "settings_button.h"

#include "settings_access_environment.h"

#include <QAction>
#include <QPointer>

namespace settings_access {

QAction* settingsButton(const SettingsAccessEnvironment& environment, const QString& label,
                        std::function<void()> preAction, std::function<void()> postAction,
                        QObject* parent) {
    auto* button = new QAction(label, parent);
    QObject::connect(button, &QAction::triggered, button,
                     [open = QPointer<QAction>(&environment.openSettings()),
                      pre = std::move(preAction), post = std::move(postAction)] {
                         if (pre)
                             pre();
                         if (open)
                             open->trigger();
                         if (post)
                             post();
                     });
    return button;
}

} // namespace settings_access
