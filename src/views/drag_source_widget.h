#pragma once

#include "backend/drag_session.h"

#include <QPointF>
#include <QWidget>

#include <memory>
#include <optional>

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace views {

class Coordinator;

// Hosts the tile's content and turns a press that moves 3 points or more into one drag
// session that carries every payload of the coordinator's entry.
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

    bool isDragStarted() const { return m_isDragStarted; }
    std::optional<QPointF> initialPoint() const { return m_initialPoint; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Runs the session with `items`, each showing the tile.
    void beginDrag(QPointF position, QList<backend::DraggingItem> items);

    QWidget* m_hostedContent = nullptr;
    std::shared_ptr<Coordinator> m_coordinator;
    backend::DragSession& m_dragSession;
    core::MainQueue& m_mainQueue;
    core::DiagnosticLog& m_log;
    bool m_isDragStarted = false;
    std::optional<QPointF> m_initialPoint;
    quint64 m_pressCount = 0; // tells a drag prepared for an earlier press from this one's
};

} // namespace views
