#pragma once

#include "shelf/bucket_item.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <variant>

namespace shelf {

// The saved shelf's format: one JSON object, {"format": 1, "entries": [{"id", "locked",
// "items": [{"id", "content", "type"}]}]}, entries newest first. Unknown members are ignored,
// so a later version may add some; any other departure makes the whole file unreadable.
class ShelfFile final {
public:
    static constexpr int kFormat = 1;
    // Larger files are not read at all: a shelf of 10,000 entries takes a few megabytes.
    static constexpr qint64 kMaximumSize = 64 * 1024 * 1024;

    static QByteArray encode(const QList<BucketItem>& items);
    // The entries `bytes` holds, or why they cannot be read. Any input, any thread.
    static std::variant<QList<BucketItem>, QString> decode(const QByteArray& bytes);
    // The entries that can still be read from a damaged shelf, in order: each whole, readable
    // entry of the list, up to where the file breaks off. Any input, any thread.
    static QList<BucketItem> salvage(const QByteArray& bytes);
};

} // namespace shelf
