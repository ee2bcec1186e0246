#pragma once

#include <QLoggingCategory>

namespace shelf {

// holdfin.drop: how drops were taken apart; debug output off by default.
Q_DECLARE_LOGGING_CATEGORY(lcDrop)
// holdfin.shelf: keeping the shelf across runs and its shortcut.
Q_DECLARE_LOGGING_CATEGORY(lcShelf)

} // namespace shelf
