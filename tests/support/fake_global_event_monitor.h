#pragma once

#include "backend/global_event_monitor.h"

#include <Qt>

namespace testing_support {

// Reports the input a test makes up, by the rules every back-end follows.
class FakeGlobalEventMonitor final : public backend::GlobalEventMonitor {
public:
    void leftMouseDragged() { reportLeftButtonDragged(); }
    void leftMouseUp() { reportLeftButtonReleased(); }
    // Only Escape means anything to Holdfin.
    void keyDown(Qt::Key key) {
        if (key == Qt::Key_Escape)
            reportEscapePressed();
    }

    // How many receivers follow the monitor's signals.
    int receiverCount() const;
};

} // namespace testing_support
