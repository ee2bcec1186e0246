#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest print QString (and so QStringList) values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
