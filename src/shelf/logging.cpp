#include "shelf/logging.h"

namespace shelf {

Q_LOGGING_CATEGORY(lcDrop, "holdfin.drop", QtInfoMsg)
Q_LOGGING_CATEGORY(lcShelf, "holdfin.shelf", QtInfoMsg)

} // namespace shelf
