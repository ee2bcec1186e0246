#pragma once

#include "backend/global_shortcuts.h"

#include <QList>
#include <QMap>

namespace testing_support {

// Global shortcuts that tests press by hand; combinations can be made to be held elsewhere.
class FakeGlobalShortcuts final : public backend::GlobalShortcuts {
    Q_OBJECT
public:
    bool grab(QKeyCombination keys) override {
        if (m_heldElsewhere.contains(keys))
            return false;
        ++m_grabs[keys.toCombined()];
        return true;
    }
    void release(QKeyCombination keys) override {
        auto found = m_grabs.find(keys.toCombined());
        if (found != m_grabs.end() && --*found == 0)
            m_grabs.erase(found);
    }

    bool isGrabbed(QKeyCombination keys) const { return m_grabs.contains(keys.toCombined()); }
    int grabCount() const { return static_cast<int>(m_grabs.size()); }
    void holdElsewhere(QKeyCombination keys) { m_heldElsewhere << keys; }
    // The user presses `keys`: reported only while they are grabbed, as a real grab would.
    void press(QKeyCombination keys) {
        if (isGrabbed(keys))
            emit activated(keys);
    }

private:
    QMap<int, int> m_grabs;
    QList<QKeyCombination> m_heldElsewhere;
};

} // namespace testing_support
