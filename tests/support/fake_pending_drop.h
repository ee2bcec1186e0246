#pragma once

#include "backend/pending_drop.h"

#include <QList>
#include <QSet>

#include <utility>
#include <vector>

namespace testing_support {

// A taken-over drop whose formats and data a test sets. A read is answered a turn of the event
// loop later, as the real one's; a stalling format is never answered.
class FakePendingDrop final : public backend::PendingDrop {
public:
    using Formats = std::vector<std::pair<QString, QByteArray>>;

    explicit FakePendingDrop(Formats formats, QSet<QString> stalling = {})
        : m_formats(std::move(formats)), m_stalling(std::move(stalling)) {}

    QStringList formats() const override;
    void read(const QString& format, ReadHandler done) override;
    void finish(bool isTaken) override { m_finishes.append(isTaken); }

    // The formats read, in the order asked; what finish() was told, each time.
    const QStringList& reads() const { return m_reads; }
    const QList<bool>& finishes() const { return m_finishes; }

private:
    Formats m_formats;
    QSet<QString> m_stalling;
    QStringList m_reads;
    QList<bool> m_finishes;
};

} // namespace testing_support
