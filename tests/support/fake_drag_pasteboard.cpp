#include "fake_drag_pasteboard.h"

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
}

} // namespace testing_support
