#pragma once

#include "backend/drag_selection.h"

#include <memory>
#include <set>

namespace testing_support {

// A drag selection whose contents a test sets: startDrag() stands for a new drag.
class FakeDragSelection final : public backend::DragSelection {
public:
    std::int64_t serial() const override { return m_serial; }
    bool hasContent(std::initializer_list<backend::DragContent> kinds) const override;
    bool hasSourceAnswered() const override { return m_hasSourceAnswered; }
    void setSourceAnswered(bool value) { m_hasSourceAnswered = value; }

    // Drops are taken over only once a test asks for it.
    void setTakesOverDrops(bool value) { m_takesOverDrops = value; }
    bool takeOverDrop(QWindow* window, DropHandler onDrop) override;
    // Drops the drag whose drop a target took over; false when none is.
    bool dropTakenOver(std::shared_ptr<backend::PendingDrop> drop);

    // A new drag that offers `readable` (empty: nothing the shelf can read).
    void startDrag(std::set<backend::DragContent> readable);
    int readabilityQueries() const { return m_queries; }

private:
    std::int64_t m_serial = 0;
    std::set<backend::DragContent> m_readable;
    mutable int m_queries = 0;
    bool m_hasSourceAnswered = true;
    bool m_takesOverDrops = false;
    DropHandler m_onDrop;
};

} // namespace testing_support
