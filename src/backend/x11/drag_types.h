#pragma once

#include "backend/drag_selection.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace backend::x11 {

// What the shelf can take from a drag offering a type of this name (a MIME type or an X
// target name such as UTF8_STRING); nothing for anything else.
std::optional<DragContent> classOfDragType(std::string_view type);

// Whether any of `types` reads as one of `kinds`.
bool canReadAny(const std::vector<std::string>& types, std::initializer_list<DragContent> kinds);

// Types to ask a source for when it names none of its types: the cheap ones first (a request
// runs the source's data handler), an encoded image last.
const std::vector<std::string>& probeTypes();

} // namespace backend::x11
