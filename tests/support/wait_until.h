#pragma once

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

namespace testing_support {

// Delivers the GUI thread's events, then runs `eachTurn` (if any; a fake queue's drain, say),
// until `condition` holds; false when `timeout` passes first.
inline bool waitUntil(const std::function<bool()>& condition,
                      const std::function<void()>& eachTurn = {},
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (eachTurn)
            eachTurn();
        // Lets pool threads the condition waits for have the cores.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace testing_support
