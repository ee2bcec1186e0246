#pragma once

#include "platform/screens.h"

#include <functional>

namespace testing_support {

// Monitors a test sets up; every change emits screensChanged.
class FakeScreens final : public platform::Screens {
    Q_OBJECT
public:
    QList<platform::ScreenInfo> screens() const override { return m_screens; }
    std::optional<platform::ScreenInfo> primary() const override;
    QRect primaryVisibleFrame() const override;

    // The first screen becomes the primary; `visibleFrame` empty means its whole geometry.
    void setScreens(QList<platform::ScreenInfo> screens, QRect visibleFrame = {});
    // Runs whenever primaryVisibleFrame is asked (to see when someone asks).
    std::function<void()> onVisibleFrameQueried;

private:
    QList<platform::ScreenInfo> m_screens;
    QRect m_visibleFrame;
};

} // namespace testing_support
