#pragma once

#include "backend/drag_session.h"
#include "shelf/bucket_item.h"

#include <functional>
#include <memory>

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace views {

using Action = std::function<void()>;

// What a drag out of the shelf reports back.
struct DragActions {
    // Run 0.3 s after a drop the destination accepted and took data of, for an unlocked entry.
    Action onSuccessfulDrop;
    // Run when a drag is about to begin.
    Action onDragStart;
    // Run when the drag has ended, whatever its outcome.
    Action onDragEnd;
};

// The source of a drag out of the shelf: holds the latest copy of the entry and the actions,
// which the tile replaces on every update, and answers the session from them. A pending
// success action keeps the coordinator alive until it has run.
class Coordinator final : public backend::DragSource,
                          public std::enable_shared_from_this<Coordinator> {
public:
    // `log`, when given, hears of accepted drops that took nothing.
    Coordinator(shelf::BucketItem item, DragActions actions, core::MainQueue& mainQueue,
                core::DiagnosticLog* log = nullptr);

    const shelf::BucketItem& item() const { return m_item; }
    void setItem(shelf::BucketItem item) { m_item = std::move(item); }
    const DragActions& actions() const { return m_actions; }
    void setActions(DragActions actions) { m_actions = std::move(actions); }

    void runOnDragStart() const;

    // Copy only for a locked entry, copy and move otherwise; the same in every context.
    Qt::DropActions supportedDropActions(backend::DragContext context) override;
    // Runs onDragEnd.
    void dragFinished(QPoint endPoint, Qt::DropAction action) override;
    // For a drop that took data, of an unlocked entry, schedules onSuccessfulDrop (as it is
    // when it runs) 0.3 s later on the main queue; otherwise the entry stays.
    void dropHandedOver(bool isHandedOver) override;

private:
    shelf::BucketItem m_item;
    DragActions m_actions;
    core::MainQueue& m_mainQueue;
    core::DiagnosticLog* m_log;
};

} // namespace views
