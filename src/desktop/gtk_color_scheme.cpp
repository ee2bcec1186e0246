#include "desktop/gtk_color_scheme.h"

#include "desktop/gtk_settings.h"

namespace desktop {

GtkColorScheme::GtkColorScheme(const GtkSettings& settings, QObject* parent)
    : DesktopColorScheme(parent),
      m_preference(settings.isDark() ? std::optional(ColorScheme::Dark) : std::nullopt) {}

} // namespace desktop
