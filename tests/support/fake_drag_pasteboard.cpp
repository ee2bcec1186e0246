#include "fake_drag_pasteboard.h"

#include <utility>

namespace testing_support {

bool FakeDragPasteboard::canReadObjectForClasses(
    std::initializer_list<backend::PasteboardClass> classes) const {
    ++m_queries;
    for (auto c : classes) {
        if (m_readable.count(c))
            return true;
    }
    return false;
}

void FakeDragPasteboard::startDrag(std::set<backend::PasteboardClass> readable) {
    ++m_changeCount;
    m_readable = std::move(readable);
    m_onDrop = {};
}

bool FakeDragPasteboard::takeOverDrop(QWindow*, DropHandler onDrop) {
    m_onDrop = m_takesOverDrops ? std::move(onDrop) : DropHandler();
    return m_onDrop != nullptr;
}

bool FakeDragPasteboard::dropTakenOver(std::shared_ptr<backend::PendingDrop> drop) {
    if (!m_onDrop)
        return false;
    std::exchange(m_onDrop, {})(std::move(drop));
    return true;
}

} // namespace testing_support
