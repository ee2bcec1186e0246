#include "core/diagnostic_log.h"

namespace core {

void StdoutDiagnosticLog::writeLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    // No writer thread of our own: a drop of 100,000 files logs 200,000 lines from its drop
    // thread, and a locked write each costs it under a microsecond a line into a pipe
    // (bench/drop_intake_bench.cpp). The GUI thread logs a few lines at a time.
    flockfile(m_stream);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_stream);
    std::fflush(m_stream);
    funlockfile(m_stream);
}

} // namespace core
