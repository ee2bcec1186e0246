#pragma once

#include "platform/desktop_color_scheme.h"

namespace testing_support {

// A desktop whose colour-scheme preference a test sets.
class FakeDesktopColorScheme final : public platform::DesktopColorScheme {
    Q_OBJECT
public:
    std::optional<platform::ColorScheme> preference() const override { return m_preference; }
    void setPreference(std::optional<platform::ColorScheme> preference) {
        m_preference = preference;
        emit preferenceChanged();
    }

private:
    std::optional<platform::ColorScheme> m_preference;
};

} // namespace testing_support
