#pragma once

#include "desktop/desktop_color_scheme.h"

namespace desktop {

class GtkSettings;

// The colour scheme a GTK desktop's theme implies: dark for a dark theme or the dark variant
// asked for; no preference otherwise, so that Qt's own palette decides as before. Changes
// only when told of new settings.
class GtkColorScheme final : public DesktopColorScheme {
    Q_OBJECT
public:
    explicit GtkColorScheme(const GtkSettings& settings, QObject* parent = nullptr);

    std::optional<ColorScheme> preference() const override { return m_preference; }
    // Takes the preference of `settings`, the desktop's settings of now; notifies a change.
    void follow(const GtkSettings& settings);

private:
    std::optional<ColorScheme> m_preference;
};

} // namespace desktop
