#include "settings_access_environment.h"

#include <QAction>

namespace settings_access {

SettingsAccessEnvironment::SettingsAccessEnvironment(std::function<void()> openSettingsWindow)
    : m_openSettings(std::make_unique<QAction>()) {
    if (openSettingsWindow)
        QObject::connect(m_openSettings.get(), &QAction::triggered, m_openSettings.get(),
                         [open = std::move(openSettingsWindow)] { open(); });
}

SettingsAccessEnvironment::~SettingsAccessEnvironment() = default;

} // namespace settings_access
