#pragma once

#include "core/diagnostic_log.h"

#include <mutex>

namespace testing_support {

// Keeps every diagnostic line, in order; thread safe.
class RecordingLog final : public core::DiagnosticLog {
public:
    void writeLine(const QString& line) override {
        std::lock_guard lock(m_mutex);
        m_lines << line;
    }
    QStringList lines() const {
        std::lock_guard lock(m_mutex);
        // A list of its own: a shared one would let a writer on another thread move the
        // strings out from under the reader once the reader let go of it, with nothing
        // ordering the two (implicit sharing checks its count without a barrier).
        return QStringList(m_lines.cbegin(), m_lines.cend());
    }
    void clear() {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }

private:
    mutable std::mutex m_mutex;
    QStringList m_lines;
};

} // namespace testing_support
