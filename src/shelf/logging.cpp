#include "shelf/logging.h"

namespace shelf {

Q_LOGGING_CATEGORY(lcDrop, "holdfin.drop", QtInfoMsg)

} // namespace shelf
