#pragma once

#include "backend/drag_session.h"
#include "shelf/bucket_item.h"

#include <QList>

#include <memory>

class QMimeData;

namespace core {
class DiagnosticLog;
}

namespace views {

// One item per payload, in order, without images: file-like payloads as their URL, everything
// else as its text. With a log, says what each provides. Any thread.
QList<backend::DragItem> makeDragItems(const QList<shelf::BucketItemData>& payloads,
                                       core::DiagnosticLog* log);

// The data a drag out of an entry with these payloads offers, for the clipboard.
std::unique_ptr<QMimeData> makeEntryMimeData(const QList<shelf::BucketItemData>& payloads);

} // namespace views
