#pragma once

#include "backend/drag_offer.h"
#include "backend/drag_session.h"

#include <QObject>
#include <Qt>

#include <functional>
#include <memory>

class QMimeData;

namespace backend {

class DropHold;
class GlobalEventMonitor;

// Whether a drag's destination has been handed any of its data. GUI thread.
struct HandOver {
    bool isDone = false;
    // Run once, at the first hand-over.
    std::function<void()> onDone;
    void markDone();
};

// A DragSession on QDrag. The drag runs in a nested event loop; meanwhile the global event
// monitor is told that the drag is Holdfin's own, and Escape pressed anywhere cancels it.
class QtDragSession final : public QObject, public DragSession {
    Q_OBJECT
public:
    explicit QtDragSession(GlobalEventMonitor& eventMonitor, QObject* parent = nullptr);

    void startDrag(QObject& view, QPointF position, QList<DragItem> items,
                   std::shared_ptr<DragSource> source) override;

    // The platform handed data of the latest drag to a peer itself.
    void noteHandedOver();
    // Whether the destination under the pointer reads before the drop; asked at the release
    // that ends a drag. While it reads, the drop waits (see DropHold).
    void setReadingEarlyCheck(std::function<bool()> isReadingEarly);
    // The destination of the running drag asked for its data.
    void noteDataRequested();

signals:
    // A drag of `offer` is about to run.
    void dragStarting(const backend::DragOffer& offer);
    // The drag has ended; its source has not heard of it yet.
    void dragEnded();

private:
    // Tells `source` whether the accepted drop was handed any data, once it is or once the
    // destination had time enough to ask.
    void awaitHandOver(const std::shared_ptr<HandOver>& handOver,
                       std::shared_ptr<DragSource> source);

    GlobalEventMonitor& m_eventMonitor;
    bool m_isDragging = false;
    std::weak_ptr<HandOver> m_handOver;
    std::function<bool()> m_isReadingEarly;
    DropHold* m_dropHold = nullptr; // the running drag's
};

// The data of a drag or a copy, as makeDragOffer() has it.
std::unique_ptr<QMimeData> makeDragMimeData(const QList<DragItem>& items);

// Copy unless Shift asks for a move that `actions` allows.
Qt::DropAction proposedDropAction(Qt::DropActions actions, Qt::KeyboardModifiers modifiers);
// What the destination did, as a drag's end reports it: a move the target carried out itself
// is a move; anything that is not a copy, move or link is a refusal (Qt::IgnoreAction).
Qt::DropAction performedAction(Qt::DropAction result);

} // namespace backend
