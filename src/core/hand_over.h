#pragma once

#include <QThreadPool>

#include <functional>

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define HOLDFIN_THREAD_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define HOLDFIN_THREAD_SANITIZER 1
#endif

#ifdef HOLDFIN_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace core {

// Qt hands posted events and pool tasks from thread to thread under locks of its own, which
// ThreadSanitizer cannot see: Qt comes uninstrumented. These two mark such a hand-over for it:
// whatever a thread did before handOver(key) happens before whatever the thread that calls
// takeOver(key) does after. Nothing in other builds.
#ifdef HOLDFIN_THREAD_SANITIZER
inline void handOver(const void* key) {
    __tsan_release(const_cast<void*>(key));
}
inline void takeOver(const void* key) {
    __tsan_acquire(const_cast<void*>(key));
}
#else
inline void handOver(const void*) {}
inline void takeOver(const void*) {}
#endif

// QThreadPool::start with the hand-over marked. `pool` must run the task (not clear it).
void startOnPool(QThreadPool& pool, std::function<void()> task);

} // namespace core
