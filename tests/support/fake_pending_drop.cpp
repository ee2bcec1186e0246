#include "fake_pending_drop.h"

#include <QCoreApplication>

namespace testing_support {

QStringList FakePendingDrop::formats() const {
    QStringList names;
    for (const auto& entry : m_formats)
        names << entry.first;
    return names;
}

void FakePendingDrop::read(const QString& format, ReadHandler done) {
    m_reads << format;
    // Not kept: it holds the reading, which holds this drop.
    if (m_stalling.contains(format))
        return;
    QByteArray bytes;
    for (const auto& [name, data] : m_formats) {
        if (name == format)
            bytes = data;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [done = std::move(done), bytes] { done(bytes); },
        Qt::QueuedConnection);
}

} // namespace testing_support
