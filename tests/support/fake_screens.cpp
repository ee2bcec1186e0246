#include "fake_screens.h"

namespace testing_support {

std::optional<backend::ScreenInfo> FakeScreens::primary() const {
    if (m_screens.isEmpty())
        return std::nullopt;
    return m_screens.front();
}

QRect FakeScreens::primaryAvailableGeometry() const {
    if (onVisibleFrameQueried)
        onVisibleFrameQueried();
    if (m_screens.isEmpty())
        return {};
    return m_visibleFrame.isEmpty() ? m_screens.front().geometry : m_visibleFrame;
}

void FakeScreens::setScreens(QList<backend::ScreenInfo> screens, QRect visibleFrame) {
    m_screens = std::move(screens);
    m_visibleFrame = visibleFrame;
    emit screensChanged();
}

} // namespace testing_support
