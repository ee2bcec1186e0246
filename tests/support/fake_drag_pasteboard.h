#pragma once

#include "backend/drag_pasteboard.h"

#include <memory>
#include <set>

namespace testing_support {

// A drag pasteboard whose contents a test sets: startDrag() stands for a new drag.
class FakeDragPasteboard final : public backend::DragPasteboard {
public:
    std::int64_t changeCount() const override { return m_changeCount; }
    bool
    canReadObjectForClasses(std::initializer_list<backend::PasteboardClass> classes) const override;
    bool hasSourceAnswered() const override { return m_hasSourceAnswered; }
    void setSourceAnswered(bool value) { m_hasSourceAnswered = value; }

    // Drops are taken over only once a test asks for it.
    void setTakesOverDrops(bool value) { m_takesOverDrops = value; }
    bool takeOverDrop(QWindow* window, DropHandler onDrop) override;
    // Drops the drag whose drop a target took over; false when none is.
    bool dropTakenOver(std::shared_ptr<backend::PendingDrop> drop);

    // A new drag that offers `readable` (empty: nothing the shelf can read).
    void startDrag(std::set<backend::PasteboardClass> readable);
    int readabilityQueries() const { return m_queries; }

private:
    std::int64_t m_changeCount = 0;
    std::set<backend::PasteboardClass> m_readable;
    mutable int m_queries = 0;
    bool m_hasSourceAnswered = true;
    bool m_takesOverDrops = false;
    DropHandler m_onDrop;
};

} // namespace testing_support
