#pragma once

namespace platform {

// The effective colour scheme the views draw with.
enum class ColorScheme { Light, Dark };

} // namespace platform
