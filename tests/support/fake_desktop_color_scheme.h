#pragma once

#include "desktop/desktop_color_scheme.h"

namespace testing_support {

// A desktop whose colour-scheme preference a test sets.
class FakeDesktopColorScheme final : public desktop::DesktopColorScheme {
    Q_OBJECT
public:
    std::optional<desktop::ColorScheme> preference() const override { return m_preference; }
    void setPreference(std::optional<desktop::ColorScheme> preference) {
        m_preference = preference;
        emit preferenceChanged();
    }

private:
    std::optional<desktop::ColorScheme> m_preference;
};

} // namespace testing_support
