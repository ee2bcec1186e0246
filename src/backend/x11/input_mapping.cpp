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

} // namespace backend::x11
