#pragma once

#include <QFlags>
#include <Qt>

#include <cstdint>
#include <optional>
#include <vector>

namespace backend::x11 {

// The logical button a physical button produces under the server's pointer mapping
// (`mapping[i]` is the logical button of physical button i + 1); a physical button outside
// the mapping keeps its number. Left-handed users map physical button 3 to logical 1.
std::uint8_t logicalButton(const std::vector<std::uint8_t>& mapping, std::uint32_t physical);

// The key codes whose first keysym is `keysym`, from a keyboard mapping that lists
// `keysymsPerKeycode` keysyms for each key code from `firstKeycode` on.
std::vector<std::uint8_t> keycodesWithKeysym(std::uint8_t firstKeycode, int keysymsPerKeycode,
                                             const std::vector<std::uint32_t>& keysyms,
                                             std::uint32_t keysym);

// The keysym of a Qt key as the keymap lists it first (letters in lower case); nothing for keys
// a global shortcut cannot be made of (modifiers alone, keys outside the table).
std::optional<std::uint32_t> keysymForKey(Qt::Key key);

// The X modifier mask of Shift, Ctrl, Alt (Mod1) and Meta (Mod4); others are dropped.
std::uint16_t modifierMask(Qt::KeyboardModifiers modifiers);

} // namespace backend::x11
