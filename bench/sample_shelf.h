#pragma once

#include "shelf/bucket_item.h"

#include <QList>

namespace bench {

// A shelf shaped like a real one, newest entry first: a file in each entry, a note beside it in
// every third.
inline QList<shelf::BucketItem> sampleShelf(int count) {
    QList<shelf::BucketItem> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        QList<shelf::BucketItemData> payloads{shelf::BucketItemData(
            QStringLiteral("file:///home/user/Documents/report-%1.pdf").arg(i),
            shelf::UTType::fileURL)};
        if (i % 3 == 0)
            payloads << shelf::BucketItemData(QStringLiteral("note %1").arg(i),
                                              shelf::UTType::plainText);
        items << shelf::BucketItem(payloads, false);
    }
    return items;
}

} // namespace bench
