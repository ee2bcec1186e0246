#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace core {

// Diagnostic lines on standard output. Thread safe: each line arrives whole and at once.
class DiagnosticLog {
public:
    virtual ~DiagnosticLog() = default;
    virtual void writeLine(const QString& line) = 0;
    // Whether lines may carry text the user parked. Where they end up in a session log or the
    // journal, a password parked for a minute would be kept there.
    virtual bool showsUserText() const { return true; }
};

// Lines on standard output (or `stream`), each written and flushed under the stream's lock
// on the thread that logs it: whole, in order, and at once to a pipe. User text is shown
// only on a terminal, or where HOLDFIN_LOG_CONTENT=1 asks for it.
class StdoutDiagnosticLog final : public DiagnosticLog {
public:
    explicit StdoutDiagnosticLog(std::FILE* stream = stdout);

    void writeLine(const QString& line) override;
    bool showsUserText() const override { return m_showsUserText; }

private:
    std::FILE* m_stream;
    bool m_showsUserText;
};

// `text` as `log` may show it: whole, or as its length ("<312 characters>").
QString userText(const DiagnosticLog& log, const QString& text);

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
