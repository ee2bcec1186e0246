#include "fake_drag_selection.h"

#include <utility>

namespace testing_support {

bool FakeDragSelection::hasContent(std::initializer_list<backend::DragContent> kinds) const {
    ++m_queries;
    for (auto c : kinds) {
        if (m_readable.count(c))
            return true;
    }
    return false;
}

void FakeDragSelection::startDrag(std::set<backend::DragContent> readable) {
    ++m_serial;
    m_readable = std::move(readable);
    m_onDrop = {};
}

bool FakeDragSelection::takeOverDrop(QWindow*, DropHandler onDrop) {
    m_onDrop = m_takesOverDrops ? std::move(onDrop) : DropHandler();
    return m_onDrop != nullptr;
}

bool FakeDragSelection::dropTakenOver(std::shared_ptr<backend::PendingDrop> drop) {
    if (!m_onDrop)
        return false;
    std::exchange(m_onDrop, {})(std::move(drop));
    return true;
}

} // namespace testing_support
