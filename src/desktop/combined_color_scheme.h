#pragma once

#include "desktop/desktop_color_scheme.h"

#include <QPointer>

#include <vector>

namespace desktop {

// The first preference stated among several desktop sources, in their order (the portal's
// setting before a theme's name, say); follows each source's changes. Does not own the
// sources; one that is destroyed counts as stating nothing.
class CombinedColorScheme final : public DesktopColorScheme {
    Q_OBJECT
public:
    explicit CombinedColorScheme(const std::vector<DesktopColorScheme*>& sources,
                                 QObject* parent = nullptr);

    std::optional<ColorScheme> preference() const override;

private:
    void update();

    std::vector<QPointer<DesktopColorScheme>> m_sources;
    std::optional<ColorScheme> m_preference;
};

} // namespace desktop
