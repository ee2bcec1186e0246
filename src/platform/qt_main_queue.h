#pragma once

#include "main_queue.h"

#include <QObject>

namespace platform {

// Posts to the Qt event loop of the thread that created it (the GUI thread).
class QtMainQueue final : public MainQueue {
public:
    QtMainQueue();
    ~QtMainQueue() override;

    void async(Task task) override;
    void asyncAfter(std::chrono::milliseconds delay, Task task) override;

private:
    QObject m_context; // lives on the GUI thread; queued calls run in its thread
};

} // namespace platform
