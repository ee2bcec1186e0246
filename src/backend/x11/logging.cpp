#include "backend/x11/logging.h"

namespace backend::x11 {

Q_LOGGING_CATEGORY(lcX11, "holdfin.x11", QtInfoMsg)

} // namespace backend::x11
