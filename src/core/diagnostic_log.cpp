#include "core/diagnostic_log.h"

#include <cstdio>

namespace core {

StdoutDiagnosticLog::StdoutDiagnosticLog() : m_writer([this] { writeUntilStopped(); }) {}

StdoutDiagnosticLog::~StdoutDiagnosticLog() {
    {
        std::lock_guard lock(m_mutex);
        m_isStopping = true;
    }
    m_linesArrived.notify_one();
    m_writer.join();
}

void StdoutDiagnosticLog::writeLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    bool wasEmpty;
    {
        std::lock_guard lock(m_mutex);
        wasEmpty = m_pending.isEmpty();
        // Copied, never shared: the writer frees this buffer, and a buffer shared with the
        // caller's would be freed against the caller's reference count, unordered.
        m_pending.append(bytes.constData(), bytes.size());
    }
    // The writer looks for more before it sleeps, so only the first line of a burst wakes it.
    if (wasEmpty)
        m_linesArrived.notify_one();
}

void StdoutDiagnosticLog::writeUntilStopped() {
    QByteArray lines;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_linesArrived.wait(lock, [this] { return m_isStopping || !m_pending.isEmpty(); });
        if (m_pending.isEmpty())
            return;
        lines.swap(m_pending);
        lock.unlock();
        std::fwrite(lines.constData(), 1, static_cast<std::size_t>(lines.size()), stdout);
        std::fflush(stdout);
        lines.clear();
        lock.lock();
    }
}

} // namespace core
