#pragma once

#include "open_settings_access_action.h"
#include "settings_access_environment.h"

#include <QWidget>

#include <memory>

class QPushButton;

namespace settings_access {

// Wraps `content` so that the shared open-settings action can open the settings window from
// code: on systems with a settings link it holds a hidden, zero-sized link that hands its press
// to the action each time the view is shown. Elsewhere the content is shown unchanged.
class OpenSettingsInjectionView final : public QWidget {
    Q_OBJECT
public:
    OpenSettingsInjectionView(const SettingsAccessEnvironment& environment, QWidget* content,
                              QWidget* parent = nullptr);

    QWidget* content() const { return m_content; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildHiddenLink();

    SettingsPlatform m_platform;
    std::shared_ptr<OpenSettingsAccessAction> m_openSettingsLegacy;
    QWidget* m_content;
    QPushButton* m_hiddenLink = nullptr;
};

} // namespace settings_access
