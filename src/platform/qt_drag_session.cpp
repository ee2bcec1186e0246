#include "qt_drag_session.h"

#include "platform/global_event_monitor.h"

#include <QCursor>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kPlainText = QStringLiteral("text/plain");

// Qt answers a text/plain request that has no text of its own with the URLs of the data, and
// its X11 backend offers text/plain with every URL list. Receivers that prefer text would
// then take a file URL as a bare path; answering nothing keeps URLs out of text/plain.
class DragMimeData final : public QMimeData {
protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        if (mimeType == kPlainText && !hasFormat(kPlainText))
            return QByteArray();
        return QMimeData::retrieveData(mimeType, type);
    }
};

} // namespace

QtDragSession::QtDragSession(GlobalEventMonitor& eventMonitor, QObject* parent)
    : QObject(parent), m_eventMonitor(eventMonitor) {}

void QtDragSession::beginDraggingSession(QObject& view, QPointF position, QList<DraggingItem> items,
                                         std::shared_ptr<DraggingSource> source) {
    Q_UNUSED(view);
    if (m_isDragging || items.isEmpty()) {
        source->draggingSessionEnded(QCursor::pos(), DragOperation::None);
        return;
    }
    // The drag object belongs to this long-lived session rather than to the view, so a view
    // taken down while its drag runs does not take the drag with it.
    auto* drag = new QDrag(this);
    drag->setMimeData(makeDragMimeData(items).release());
    const DraggingItem& first = items.constFirst();
    if (!first.image.isNull()) {
        drag->setPixmap(first.image);
        drag->setHotSpot((position - QPointF(first.frame.topLeft())).toPoint());
    }
    const DragOperationMask mask = source->sourceOperationMask(DraggingContext::OutsideApplication);

    m_isDragging = true;
    m_eventMonitor.setOwnDragInProgress(true);
    // Qt deletes the drag object once exec() has returned.
    const Qt::DropAction result = drag->exec(
        toDropActions(mask), proposedDropAction(mask, QGuiApplication::queryKeyboardModifiers()));
    m_eventMonitor.setOwnDragInProgress(false);
    m_isDragging = false;
    source->draggingSessionEnded(QCursor::pos(), toDragOperation(result));
}

std::unique_ptr<QMimeData> makeDragMimeData(const QList<DraggingItem>& items) {
    QByteArray uriList;
    QStringList strings;
    for (const DraggingItem& item : items) {
        if (const auto* url = std::get_if<QUrl>(&item.writer))
            uriList += url->toEncoded() + "\r\n";
        else
            strings << std::get<QString>(item.writer);
    }
    auto data = std::make_unique<DragMimeData>();
    if (!uriList.isEmpty())
        data->setData(kUriList, uriList);
    if (!strings.isEmpty())
        data->setData(kPlainText, strings.join(QLatin1Char('\n')).toUtf8());
    return data;
}

Qt::DropActions toDropActions(DragOperationMask mask) {
    Qt::DropActions actions;
    if (mask & static_cast<DragOperationMask>(DragOperation::Copy))
        actions |= Qt::CopyAction;
    if (mask & static_cast<DragOperationMask>(DragOperation::Move))
        actions |= Qt::MoveAction;
    if (mask & static_cast<DragOperationMask>(DragOperation::Link))
        actions |= Qt::LinkAction;
    return actions;
}

Qt::DropAction proposedDropAction(DragOperationMask mask, Qt::KeyboardModifiers modifiers) {
    const bool canMove = mask & static_cast<DragOperationMask>(DragOperation::Move);
    if (canMove && (modifiers & Qt::ShiftModifier) && !(modifiers & Qt::ControlModifier))
        return Qt::MoveAction;
    return Qt::CopyAction;
}

DragOperation toDragOperation(Qt::DropAction action) {
    switch (action) {
    case Qt::CopyAction:
        return DragOperation::Copy;
    case Qt::MoveAction:
    case Qt::TargetMoveAction:
        return DragOperation::Move;
    case Qt::LinkAction:
        return DragOperation::Link;
    default:
        return DragOperation::None;
    }
}

} // namespace platform
