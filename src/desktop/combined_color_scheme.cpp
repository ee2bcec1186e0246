#include "desktop/combined_color_scheme.h"

namespace desktop {

CombinedColorScheme::CombinedColorScheme(const std::vector<DesktopColorScheme*>& sources,
                                         QObject* parent)
    : DesktopColorScheme(parent) {
    for (DesktopColorScheme* source : sources) {
        if (!source)
            continue;
        m_sources.emplace_back(source);
        connect(source, &DesktopColorScheme::preferenceChanged, this, &CombinedColorScheme::update);
    }
    m_preference = preference();
}

std::optional<ColorScheme> CombinedColorScheme::preference() const {
    for (const auto& source : m_sources) {
        if (source) {
            if (auto stated = source->preference())
                return stated;
        }
    }
    return std::nullopt;
}

void CombinedColorScheme::update() {
    const auto current = preference();
    if (current == m_preference)
        return;
    m_preference = current;
    emit preferenceChanged();
}

} // namespace desktop
