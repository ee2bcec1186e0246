#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace core {

// Diagnostic lines on standard output. Thread safe: each line arrives whole and at once.
class DiagnosticLog {
public:
    virtual ~DiagnosticLog() = default;
    virtual void writeLine(const QString& line) = 0;
};

// Lines on standard output, written by a thread of its own: a drop of 100,000 files logs
// as many lines, and a write each would hold the thread that logs them for most of a second.
// A burst goes out in few writes; a lone line goes out at once.
class StdoutDiagnosticLog final : public DiagnosticLog {
public:
    StdoutDiagnosticLog();
    // Writes out every line logged before.
    ~StdoutDiagnosticLog() override;

    void writeLine(const QString& line) override;

private:
    void writeUntilStopped();

    std::mutex m_mutex;
    std::condition_variable m_linesArrived;
    QByteArray m_pending;
    bool m_isStopping = false;
    std::thread m_writer;
};

namespace detail {
inline QString toText(const QString& value) {
    return value;
}
inline QString toText(const char* value) {
    return QString::fromUtf8(value);
}
inline QString toText(qsizetype value) {
    return QString::number(value);
}
inline QString toText(int value) {
    return QString::number(value);
}
} // namespace detail

// Prints its values converted to text, separated by one space, as one line.
template <typename... Values> void print(DiagnosticLog& log, const Values&... values) {
    log.writeLine(QStringList{detail::toText(values)...}.join(QLatin1Char(' ')));
}

} // namespace core
