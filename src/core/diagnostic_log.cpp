#include "core/diagnostic_log.h"

#include <unistd.h>

namespace core {

StdoutDiagnosticLog::StdoutDiagnosticLog(std::FILE* stream)
    : m_stream(stream),
      m_showsUserText(isatty(fileno(stream)) == 1 ||
                      qEnvironmentVariable("HOLDFIN_LOG_CONTENT") == QLatin1String("1")) {}

QString userText(const DiagnosticLog& log, const QString& text) {
    if (log.showsUserText())
        return text;
    // Characters as a reader counts them, not UTF-16 units.
    const qsizetype count = static_cast<qsizetype>(text.toUcs4().size());
    return QStringLiteral("<%1 characters>").arg(count);
}

void StdoutDiagnosticLog::writeLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    // No writer thread of our own: a drop of 100,000 files logs 200,000 lines from its drop
    // thread, and a write each costs it one to three microseconds a line into a pipe that
    // another process drains (BM_DropFilesLoggingToPipe); the GUI thread logs at most a
    // thousand lines at once, for a drag it prepares in place.
    flockfile(m_stream);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_stream);
    std::fflush(m_stream);
    funlockfile(m_stream);
}

} // namespace core
