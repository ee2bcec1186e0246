#include "core/hand_over.h"

#include <memory>

namespace core {

void startOnPool(QThreadPool& pool, std::function<void()> task) {
    // The pool gets a pointer alone: what it copies into its own runnable, Qt writes, and the
    // task itself was written before the mark.
    auto* handed = new std::function<void()>(std::move(task));
    handOver(handed);
    pool.start([handed] {
        const std::unique_ptr<std::function<void()>> owned(handed);
        takeOver(handed);
        (*owned)();
    });
}

} // namespace core
