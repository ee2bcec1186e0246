#include "fake_global_event_monitor.h"

namespace testing_support {

int FakeGlobalEventMonitor::receiverCount() const {
    return receivers(SIGNAL(leftButtonDragged())) + receivers(SIGNAL(leftButtonReleased())) +
           receivers(SIGNAL(escapePressed()));
}

} // namespace testing_support
