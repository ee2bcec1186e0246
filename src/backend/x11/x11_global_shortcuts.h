#pragma once

#include "backend/global_shortcuts.h"

#include <cstdint>
#include <map>
#include <vector>

namespace backend::x11 {

class X11Connection;

// Passive key grabs on the root window, on Holdfin's second connection: the server sends the
// grabbed key presses to it alone. Each combination is grabbed with and without Caps Lock and
// Num Lock, which would otherwise make it miss.
class X11GlobalShortcuts final : public GlobalShortcuts {
    Q_OBJECT
public:
    // `connection` must outlive the shortcuts.
    explicit X11GlobalShortcuts(X11Connection& connection, QObject* parent = nullptr);
    ~X11GlobalShortcuts() override;

    bool grab(QKeyCombination keys) override;
    void release(QKeyCombination keys) override;

private:
    struct Grab {
        std::vector<std::uint8_t> keycodes;
        std::uint16_t modifiers;
        int count;
    };
    void handleEvent(const void* event);
    std::vector<std::uint8_t> keycodesFor(std::uint32_t keysym);
    void ungrab(const std::vector<std::uint8_t>& keycodes, std::uint16_t modifiers);

    X11Connection& m_connection;
    int m_listener = 0;
    std::map<int, Grab> m_grabs; // by QKeyCombination::toCombined()
    // The last release, to tell key repeat (a release and a press at the same time) apart.
    std::uint8_t m_releasedKeycode = 0;
    std::uint32_t m_releaseTime = 0;
};

} // namespace backend::x11
