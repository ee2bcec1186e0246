#pragma once

#include "backend/screens.h"

#include <functional>

namespace testing_support {

// Monitors a test sets up; every change emits screensChanged.
class FakeScreens final : public backend::Screens {
    Q_OBJECT
public:
    QList<backend::ScreenInfo> screens() const override { return m_screens; }
    std::optional<backend::ScreenInfo> primary() const override;
    QRect primaryAvailableGeometry() const override;

    // The first screen becomes the primary; `visibleFrame` empty means its whole geometry.
    void setScreens(QList<backend::ScreenInfo> screens, QRect visibleFrame = {});
    // Runs whenever primaryAvailableGeometry is asked (to see when someone asks).
    std::function<void()> onVisibleFrameQueried;

private:
    QList<backend::ScreenInfo> m_screens;
    QRect m_visibleFrame;
};

} // namespace testing_support
