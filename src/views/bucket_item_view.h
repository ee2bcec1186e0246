#pragma once

#include "desktop/color_scheme.h"
#include "shelf/bucket_item.h"
#include "views/coordinator.h"

#include <QPersistentModelIndex>
#include <QWidget>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace backend {
class DragSession;
}

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace desktop {
class SymbolImage;
class Thumbnails;
class Workspace;
} // namespace desktop

namespace panel {
class DragMonitor;
}

namespace views {

class ContentFace;
class DraggableView;
class SymbolButton;

// What a tile asks of the shelf around it. Each may outlive the tile (a successful drag-out
// runs onRemove 0.3 s after the drop), so none may capture the tile.
struct TileActions {
    // Removes this entry from the shelf; run by the remove control and after a successful
    // drag-out of an unlocked entry.
    Action onRemove;
    // A drag out of this tile is about to begin.
    Action onDragStart;
    // The drag out of this tile has ended, whatever its outcome.
    Action onDragEnd;
};

// One shelf entry as a 150 by 90 tile that can be dragged out. The entry is bound to its row
// of the drag monitor's shelf model: the tile shows it anew whenever the model reports that
// row changed, and writes lock changes back through the drag monitor. While the pointer is
// over the tile a column of controls fades in: lock toggle, split (several payloads only) and
// remove.
class BucketItemView final : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kSize{150, 90};

    // `entry` is the entry's row in dragMonitor.shelfModel(). The main queue, drag session and
    // log serve drags out of the tile; the workspace, thumbnails and symbols its pictures. The
    // monitor and every service must outlive the tile.
    BucketItemView(const QPersistentModelIndex& entry, panel::DragMonitor& dragMonitor,
                   TileActions actions, core::MainQueue& mainQueue,
                   backend::DragSession& dragSession, core::DiagnosticLog& log,
                   const desktop::Workspace& workspace, desktop::Thumbnails& thumbnails,
                   const desktop::SymbolImage& symbols, desktop::ColorScheme colorScheme,
                   QWidget* parent = nullptr);

    // The entry as the shelf holds it now (the last value seen once it has left the shelf).
    const shelf::BucketItem& item() const { return m_item; }
    desktop::ColorScheme colorScheme() const { return m_colorScheme; }
    void setColorScheme(desktop::ColorScheme colorScheme);
    bool isHovering() const { return m_isHovering; }

    DraggableView* draggableView() const { return m_draggableView; }
    QWidget* controlsColumn() const { return m_controls; }
    QWidget* contentFace() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void build();
    void buildControls(const desktop::SymbolImage& symbols);
    void placeControls();
    void setHovering(bool isHovering);
    void readFromShelf();
    void onRowsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    void toggleLock();
    void split();
    void remove();

    QPersistentModelIndex m_entry;
    shelf::BucketItem m_item;
    panel::DragMonitor& m_dragMonitor;
    TileActions m_actions;
    desktop::ColorScheme m_colorScheme;
    bool m_isHovering = false;

    ContentFace* m_face = nullptr; // owned by the drag source inside m_draggableView
    DraggableView* m_draggableView = nullptr;
    QWidget* m_controls = nullptr;
    SymbolButton* m_lockButton = nullptr;
    SymbolButton* m_splitButton = nullptr;
    SymbolButton* m_removeButton = nullptr;
    QGraphicsOpacityEffect* m_controlsOpacity = nullptr;
    QPropertyAnimation* m_controlsAnimation = nullptr;
};

} // namespace views
