#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <ostream>

// Readable GoogleTest failure messages for Qt values.
inline void PrintTo(const QString& value, std::ostream* os) {
    *os << '"' << value.toStdString() << '"';
}
inline void PrintTo(const QStringList& value, std::ostream* os) {
    *os << '[';
    for (qsizetype i = 0; i < value.size(); ++i)
        *os << (i ? ", " : "") << '"' << value[i].toStdString() << '"';
    *os << ']';
}
inline void PrintTo(const QByteArray& value, std::ostream* os) {
    *os << '"' << value.toPercentEncoding(" /:;=,.-_~+").toStdString() << '"';
}
inline void PrintTo(const QUrl& value, std::ostream* os) {
    *os << value.toEncoded().toStdString();
}
