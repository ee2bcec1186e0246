#include "backend/x11/drag_types.h"

#include <algorithm>

namespace backend::x11 {

std::optional<PasteboardClass> classOfDragType(std::string_view type) {
    if (type.starts_with("image/") || type == "application/x-qt-image")
        return PasteboardClass::Image;
    if (type == "application/x-color")
        return PasteboardClass::Color;
    if (type == "text/uri-list" || type == "text/x-moz-url" || type == "_NETSCAPE_URL")
        return PasteboardClass::Url;
    // "text/plain" and its parameterised forms ("text/plain;charset=utf-8"), not "text/plainx".
    if (type == "text/plain" || type.starts_with("text/plain;") || type == "UTF8_STRING" ||
        type == "STRING" || type == "TEXT")
        return PasteboardClass::String;
    return std::nullopt;
}

bool canReadAny(const std::vector<std::string>& types,
                std::initializer_list<PasteboardClass> classes) {
    return std::any_of(types.begin(), types.end(), [&](const std::string& type) {
        const auto kind = classOfDragType(type);
        return kind && std::find(classes.begin(), classes.end(), *kind) != classes.end();
    });
}

const std::vector<std::string>& probeTypes() {
    static const std::vector<std::string> types = {
        "text/uri-list", "UTF8_STRING", "application/x-color", "text/plain", "image/png"};
    return types;
}

} // namespace backend::x11
