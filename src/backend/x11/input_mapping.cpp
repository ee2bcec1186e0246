#include "backend/x11/input_mapping.h"

namespace backend::x11 {

std::uint8_t logicalButton(const std::vector<std::uint8_t>& mapping, std::uint32_t physical) {
    if (physical == 0 || physical > mapping.size())
        return std::uint8_t(physical > 255 ? 0 : physical);
    return mapping[physical - 1];
}

std::vector<std::uint8_t> keycodesWithKeysym(std::uint8_t firstKeycode, int keysymsPerKeycode,
                                             const std::vector<std::uint32_t>& keysyms,
                                             std::uint32_t keysym) {
    std::vector<std::uint8_t> keycodes;
    if (keysymsPerKeycode <= 0)
        return keycodes;
    const std::size_t step = std::size_t(keysymsPerKeycode);
    for (std::size_t at = 0; at < keysyms.size(); at += step) {
        const std::size_t keycode = firstKeycode + at / step;
        if (keycode > 255)
            break;
        if (keysyms[at] == keysym)
            keycodes.push_back(std::uint8_t(keycode));
    }
    return keycodes;
}

std::optional<std::uint32_t> keysymForKey(Qt::Key key) {
    const int code = static_cast<int>(key);
    if (code >= Qt::Key_A && code <= Qt::Key_Z)
        return std::uint32_t(code - Qt::Key_A + 'a');
    // Qt's codes of the other printable Latin-1 keys are their keysyms.
    if ((code >= Qt::Key_Space && code <= Qt::Key_AsciiTilde) ||
        (code >= Qt::Key_nobreakspace && code <= Qt::Key_ydiaeresis))
        return std::uint32_t(code);
    if (code >= Qt::Key_F1 && code <= Qt::Key_F35)
        return std::uint32_t(0xffbe + (code - Qt::Key_F1));
    static const std::pair<Qt::Key, std::uint32_t> table[] = {
        {Qt::Key_Escape, 0xff1b}, {Qt::Key_Tab, 0xff09},      {Qt::Key_Backspace, 0xff08},
        {Qt::Key_Return, 0xff0d}, {Qt::Key_Enter, 0xff8d},    {Qt::Key_Insert, 0xff63},
        {Qt::Key_Delete, 0xffff}, {Qt::Key_Pause, 0xff13},    {Qt::Key_Print, 0xff61},
        {Qt::Key_Home, 0xff50},   {Qt::Key_End, 0xff57},      {Qt::Key_Left, 0xff51},
        {Qt::Key_Up, 0xff52},     {Qt::Key_Right, 0xff53},    {Qt::Key_Down, 0xff54},
        {Qt::Key_PageUp, 0xff55}, {Qt::Key_PageDown, 0xff56}, {Qt::Key_Menu, 0xff67},
    };
    for (const auto& [candidate, keysym] : table) {
        if (candidate == key)
            return keysym;
    }
    return std::nullopt;
}

std::uint16_t modifierMask(Qt::KeyboardModifiers modifiers) {
    std::uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= 1u << 0;
    if (modifiers & Qt::ControlModifier)
        mask |= 1u << 2;
    if (modifiers & Qt::AltModifier)
        mask |= 1u << 3;
    if (modifiers & Qt::MetaModifier)
        mask |= 1u << 6;
    return mask;
}

} // namespace backend::x11
