#pragma once

namespace desktop {

// The effective colour scheme the views draw with.
enum class ColorScheme { Light, Dark };

// The appearance forced on the whole application; System follows the desktop.
enum class Appearance { Light, Dark, System };

} // namespace desktop
