#pragma once

#include "core/main_queue.h"

#include <QObject>

namespace core {

// Queued calls on the event loop of the thread that created it (the GUI thread). Tasks still
// queued when it is destroyed are dropped.
class QtMainQueue final : public MainQueue {
public:
    void async(Task task) override;
    void asyncAfter(std::chrono::milliseconds delay, Task task) override;

private:
    QObject m_context; // the tasks' receiver: they run in its thread, and die with it
};

} // namespace core
