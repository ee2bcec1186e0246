#include "desktop/gtk_color_scheme.h"

#include "desktop/gtk_settings.h"

namespace desktop {

namespace {
std::optional<ColorScheme> preferenceOf(const GtkSettings& settings) {
    return settings.isDark() ? std::optional(ColorScheme::Dark) : std::nullopt;
}
} // namespace

GtkColorScheme::GtkColorScheme(const GtkSettings& settings, QObject* parent)
    : DesktopColorScheme(parent), m_preference(preferenceOf(settings)) {}

void GtkColorScheme::follow(const GtkSettings& settings) {
    const std::optional<ColorScheme> preference = preferenceOf(settings);
    if (preference == m_preference)
        return;
    m_preference = preference;
    emit preferenceChanged();
}

} // namespace desktop
