#pragma once

#include <QLoggingCategory>

namespace backend::x11 {

// holdfin.x11: what the X server lacks or did; warnings on by default, debug output off.
Q_DECLARE_LOGGING_CATEGORY(lcX11)

} // namespace backend::x11
