#pragma once

namespace views {

// Makes the shelf read well to screen readers: the entry list is a list whose children are its
// tiles, and each tile a list item,
// named by its caption and described by what it holds, whose children are its controls only
// (its pictures are decoration). Idempotent; GUI thread.
void installShelfAccessibility();

} // namespace views
