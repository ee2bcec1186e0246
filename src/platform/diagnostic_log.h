#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Diagnostic lines on standard output. Thread safe: each line arrives whole and at once.
class DiagnosticLog {
public:
    virtual ~DiagnosticLog() = default;
    virtual void writeLine(const QString& line) = 0;
};

// Writes the values as one line, separated by one space, to standard output.
class StdoutDiagnosticLog final : public DiagnosticLog {
public:
    void writeLine(const QString& line) override;
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

} // namespace platform
