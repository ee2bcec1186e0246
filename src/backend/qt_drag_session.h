#pragma once

#include "backend/drag_session.h"

#include <QObject>
#include <Qt>

#include <memory>

class QMimeData;

namespace backend {

class GlobalEventMonitor;

// A DragSession on QDrag. The drag runs in a nested event loop; meanwhile the global event
// monitor is told that the drag is Holdfin's own, and Escape pressed anywhere cancels it.
class QtDragSession final : public QObject, public DragSession {
    Q_OBJECT
public:
    explicit QtDragSession(GlobalEventMonitor& eventMonitor, QObject* parent = nullptr);

    void beginDraggingSession(QObject& view, QPointF position, QList<DraggingItem> items,
                              std::shared_ptr<DraggingSource> source) override;

signals:
    // A drag of `data` is about to run; `data` lives until the drag has ended.
    void dragStarting(const QMimeData& data);
    // The drag has ended; its source has not heard of it yet.
    void dragEnded();

private:
    GlobalEventMonitor& m_eventMonitor;
    bool m_isDragging = false;
};

// The data of a drag: the URLs as text/uri-list (payload order, each line ended by CRLF), the
// strings as UTF-8 text/plain, one per line. A URL never appears as text/plain.
std::unique_ptr<QMimeData> makeDragMimeData(const QList<DraggingItem>& items);

// Copy unless Shift asks for a move that `actions` allows.
Qt::DropAction proposedDropAction(Qt::DropActions actions, Qt::KeyboardModifiers modifiers);
// What the destination did, as a drag's end reports it: a move the target carried out itself
// is a move; anything that is not a copy, move or link is a refusal (Qt::IgnoreAction).
Qt::DropAction performedAction(Qt::DropAction result);

} // namespace backend
