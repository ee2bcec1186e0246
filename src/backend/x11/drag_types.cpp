#include "backend/x11/drag_types.h"

#include <algorithm>

namespace backend::x11 {

std::optional<DragContent> classOfDragType(std::string_view type) {
    if (type.starts_with("image/") || type == "application/x-qt-image")
        return DragContent::Image;
    if (type == "application/x-color")
        return DragContent::Color;
    if (type == "text/uri-list" || type == "text/x-moz-url" || type == "_NETSCAPE_URL")
        return DragContent::Url;
    // "text/plain" and its parameterised forms ("text/plain;charset=utf-8"), not "text/plainx".
    if (type == "text/plain" || type.starts_with("text/plain;") || type == "UTF8_STRING" ||
        type == "STRING" || type == "TEXT")
        return DragContent::Text;
    return std::nullopt;
}

bool canReadAny(const std::vector<std::string>& types, std::initializer_list<DragContent> kinds) {
    return std::any_of(types.begin(), types.end(), [&](const std::string& type) {
        const auto kind = classOfDragType(type);
        return kind && std::find(kinds.begin(), kinds.end(), *kind) != kinds.end();
    });
}

const std::vector<std::string>& probeTypes() {
    static const std::vector<std::string> types = {
        "text/uri-list", "UTF8_STRING", "application/x-color", "text/plain", "image/png"};
    return types;
}

} // namespace backend::x11
