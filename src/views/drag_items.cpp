#include "drag_items.h"

#include "backend/qt_drag_session.h"
#include "core/diagnostic_log.h"
#include "payload_files.h"
#include "payload_url.h"

#include <QMimeData>

namespace views {

QList<backend::DragItem> makeDragItems(const QList<shelf::BucketItemData>& payloads,
                                       core::DiagnosticLog* log) {
    QList<backend::DragItem> items;
    items.reserve(payloads.size());
    for (const shelf::BucketItemData& payload : payloads) {
        backend::DragItem item;
        const std::optional<QUrl> url =
            isFileLike(payload.type) ? urlFromString(payload.content) : std::nullopt;
        if (url) {
            if (log)
                core::print(*log, "providing file url", QString::fromLatin1(url->toEncoded()));
            item.writer = *url;
        } else {
            if (log)
                core::print(*log, "providing string", core::userText(*log, payload.content));
            item.writer = payload.content;
        }
        items << std::move(item);
    }
    return items;
}

std::unique_ptr<QMimeData> makeEntryMimeData(const QList<shelf::BucketItemData>& payloads) {
    return backend::makeDragMimeData(makeDragItems(payloads, nullptr));
}

} // namespace views
