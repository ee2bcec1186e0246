#pragma once

#include "backend/drag_session.h"

#include "shelf/bucket_item.h"

#include <QPointF>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace views {

class Coordinator;

// Hosts the tile's content and turns a press that moves 3 points or more into one drag
// session that carries the payloads of the coordinator's entry that the payload filter keeps
// (all of them unless told otherwise).
class DragSourceWidget final : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of `hostedContent`, which fills the widget and never sees the mouse.
    DragSourceWidget(QWidget* hostedContent, std::shared_ptr<Coordinator> coordinator,
                     backend::DragSession& dragSession, core::MainQueue& mainQueue,
                     core::DiagnosticLog& log, QWidget* parent = nullptr);

    QWidget* hostedContent() const { return m_hostedContent; }
    // Replaces (and deletes) the hosted content.
    void setHostedContent(QWidget* content);
    const std::shared_ptr<Coordinator>& coordinator() const { return m_coordinator; }

    // Picks the payloads a drag offers; called on the GUI thread or, for large entries, on a
    // pool thread. An entry with payloads of which it keeps none is not dragged.
    using PayloadFilter =
        std::function<QList<shelf::BucketItemData>(const QList<shelf::BucketItemData>&)>;
    void setPayloadFilter(PayloadFilter filter) { m_payloadFilter = std::move(filter); }

    bool isDragStarted() const { return m_isDragStarted; }
    std::optional<QPointF> initialPoint() const { return m_initialPoint; }

signals:
    // A drag was wanted, but the filter kept none of the entry's payloads: none began.
    void filesFoundMissing();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Runs the session with `items`, each showing the tile.
    void beginDrag(QPointF position, QList<backend::DragItem> items);

    QWidget* m_hostedContent = nullptr;
    std::shared_ptr<Coordinator> m_coordinator;
    backend::DragSession& m_dragSession;
    core::MainQueue& m_mainQueue;
    core::DiagnosticLog& m_log;
    PayloadFilter m_payloadFilter;
    bool m_isDragStarted = false;
    std::optional<QPointF> m_initialPoint;
    quint64 m_pressCount = 0; // tells a drag prepared for an earlier press from this one's
};

} // namespace views
